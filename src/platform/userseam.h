#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class QDialog;

// Everything the program shows or asks goes through this interface: the Qt
// implementation shows real boxes, the scripted one answers from a queue.
// Texts are the program's own; "\r" in them breaks the line.
class UserSeam {
public:
    enum class Kind { Plain, Information, Confirmation, Warning, Error };
    // DefaultNo is no button: with it, "&Nein" and not the first button is
    // the default, for questions whose answer Enter must not give lightly.
    enum Button { Ok = 0x1, Cancel = 0x2, Yes = 0x4, No = 0x8, DefaultNo = 0x10 };
    using Buttons = int;

    virtual ~UserSeam() = default;

    // A plain message box with "OK".
    virtual void message(const QString& text) = 0;
    // A box of the given kind; answers the button pressed (Cancel when closed).
    virtual Button question(Kind kind, const QString& text, Buttons buttons) = 0;
    // An input box; nullopt on Cancel.
    virtual std::optional<QString> inputBox(const QString& caption, const QString& prompt,
                                            const QString& preset) = 0;
    // An input box whose text is not shown, for a password; nullopt on Cancel.
    virtual std::optional<QString> kennwortBox(const QString& caption, const QString& prompt) {
        return inputBox(caption, prompt, QString());
    }
    // The toolkit's standard error box for failures a command does not handle.
    virtual void error(const QString& text) = 0;
    // Shows a dialog modally and answers its result code.
    virtual int runModal(QDialog& dialog) = 0;
};
