#pragma once

#include "platform/userseam.h"

class QWidget;

// The real boxes, with German buttons and captions.
class QtUserSeam final : public UserSeam {
public:
    // Boxes are centred on the window returned by parent(); none yet at start-up.
    void setParent(QWidget* parent) { m_parent = parent; }

    void message(const QString& text) override;
    Button question(Kind kind, const QString& text, Buttons buttons) override;
    std::optional<QString> kennwortBox(const QString& caption, const QString& prompt) override;
    std::optional<QString> inputBox(const QString& caption, const QString& prompt,
                                    const QString& preset) override;
    void error(const QString& text) override;
    int runModal(QDialog& dialog) override;

private:
    QWidget* m_parent = nullptr;
};

// "\r" breaks the line in the program's texts; "\n\r" is one break too.
QString displayText(const QString& text);
