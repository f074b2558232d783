#pragma once

#include "reportengine/pagemodel.h"

#include <QFont>
#include <QString>
#include <QStringList>
#include <memory>

namespace reportengine {

QFont toQFont(const FontSpec& spec);

// Texts on a page are lines: control characters (line breaks, tabs) become
// blanks; a text wider than its element is either cut at the width or
// wrapped onto further lines.
class TextFit {
public:
    TextFit();
    ~TextFit();
    TextFit(const TextFit&) = delete;
    TextFit& operator=(const TextFit&) = delete;

    QString fit(const QString& text, const FontSpec& font, double widthMm);
    // The text in lines no wider than widthMm, broken at blanks; only a word
    // wider than the width itself is broken within. At least one line.
    QStringList wrap(const QString& text, const FontSpec& font, double widthMm);
    double widthMm(const QString& text, const FontSpec& font);
    // The distance from one line of text to the next.
    double lineHeightMm(const FontSpec& font);

private:
    bool fits(const QString& text, const FontSpec& font, double widthMm);
    // How many characters of text fit into the width.
    qsizetype fittingPrefix(const QString& text, const FontSpec& font, double widthMm);

    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

QString singleLine(const QString& text);

} // namespace reportengine
