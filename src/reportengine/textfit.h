#pragma once

#include "reportengine/pagemodel.h"

#include <QFont>
#include <QString>
#include <memory>

namespace reportengine {

QFont toQFont(const FontSpec& spec);

// Texts on a page are single lines: control characters (line breaks, tabs)
// become blanks, and a text wider than its element is cut at the width.
class TextFit {
public:
    TextFit();
    ~TextFit();
    TextFit(const TextFit&) = delete;
    TextFit& operator=(const TextFit&) = delete;

    QString fit(const QString& text, const FontSpec& font, double widthMm);
    double widthMm(const QString& text, const FontSpec& font);

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

QString singleLine(const QString& text);

} // namespace reportengine
