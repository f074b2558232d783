#include "toolkit/qtuserseam.h"

#include <QApplication>
#include <QDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

QString displayText(const QString& text) {
    QString t = text;
    t.replace(QLatin1String("\n\r"), QLatin1String("\n"));
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return t;
}

namespace {

QString caption(UserSeam::Kind kind) {
    switch (kind) {
    case UserSeam::Kind::Confirmation:
        return QStringLiteral("Bestätigen");
    case UserSeam::Kind::Warning:
        return QStringLiteral("Warnung");
    case UserSeam::Kind::Error:
        // the toolkit's error box carries the application's title
        break;
    case UserSeam::Kind::Information:
        return QStringLiteral("Information");
    case UserSeam::Kind::Plain:
        break;
    }
    return QStringLiteral("Velmora");
}

QMessageBox::Icon icon(UserSeam::Kind kind) {
    switch (kind) {
    case UserSeam::Kind::Confirmation:
        return QMessageBox::Question;
    case UserSeam::Kind::Warning:
        return QMessageBox::Warning;
    case UserSeam::Kind::Error:
        return QMessageBox::Critical;
    case UserSeam::Kind::Information:
        return QMessageBox::Information;
    case UserSeam::Kind::Plain:
        break;
    }
    return QMessageBox::NoIcon;
}

// Gives the keyboard back to the window that had it once a box or dialog
// closes: without a window manager to do so, Enter would reach no window.
class FokusZurueck {
public:
    explicit FokusZurueck(QWidget* parent) {
        if (QWidget* modal = QApplication::activeModalWidget())
            m_fenster = modal;
        else if (QWidget* aktiv = QApplication::activeWindow())
            m_fenster = aktiv;
        else if (parent)
            m_fenster = parent->window();
    }
    ~FokusZurueck() {
        if (m_fenster && m_fenster->isVisible())
            m_fenster->activateWindow();
    }
    FokusZurueck(const FokusZurueck&) = delete;
    FokusZurueck& operator=(const FokusZurueck&) = delete;

private:
    QPointer<QWidget> m_fenster;
};

} // namespace

void QtUserSeam::message(const QString& text) {
    question(Kind::Plain, text, Ok);
}

UserSeam::Button QtUserSeam::question(Kind kind, const QString& text, Buttons buttons) {
    const FokusZurueck zurueck(m_parent);
    QMessageBox box(icon(kind), caption(kind), displayText(text), QMessageBox::NoButton, m_parent);
    // names the user typed stand in these texts: never read them as markup
    box.setTextFormat(Qt::PlainText);
    struct Entry {
        Button button;
        const char* label;
        QMessageBox::ButtonRole role;
    };
    const Entry entries[] = {{Yes, "&Ja", QMessageBox::YesRole},
                             {No, "&Nein", QMessageBox::NoRole},
                             {Ok, "OK", QMessageBox::AcceptRole},
                             {Cancel, "Abbrechen", QMessageBox::RejectRole}};
    std::vector<std::pair<QAbstractButton*, Button>> added;
    for (const Entry& e : entries) {
        if (buttons & e.button)
            added.emplace_back(box.addButton(QString::fromUtf8(e.label), e.role), e.button);
    }
    for (const auto& [widget, button] : added) {
        if (button == No && (buttons & DefaultNo))
            box.setDefaultButton(static_cast<QPushButton*>(widget));
    }
    if (!added.empty() && !box.defaultButton())
        box.setDefaultButton(static_cast<QPushButton*>(added.front().first));
    box.exec();
    for (const auto& [widget, button] : added) {
        if (box.clickedButton() == widget)
            return button;
    }
    return Cancel;
}

std::optional<QString> QtUserSeam::inputBox(const QString& caption, const QString& prompt,
                                            const QString& preset) {
    const FokusZurueck zurueck(m_parent);
    QInputDialog dlg(m_parent);
    dlg.setWindowTitle(caption);
    dlg.setLabelText(prompt);
    dlg.setTextValue(preset);
    dlg.setOkButtonText(QStringLiteral("OK"));
    dlg.setCancelButtonText(QStringLiteral("Abbrechen"));
    if (dlg.exec() != QDialog::Accepted)
        return std::nullopt;
    return dlg.textValue();
}

std::optional<QString> QtUserSeam::kennwortBox(const QString& caption, const QString& prompt) {
    const FokusZurueck zurueck(m_parent);
    QInputDialog dlg(m_parent);
    dlg.setWindowTitle(caption);
    dlg.setLabelText(prompt);
    dlg.setTextEchoMode(QLineEdit::Password);
    dlg.setOkButtonText(QStringLiteral("OK"));
    dlg.setCancelButtonText(QStringLiteral("Abbrechen"));
    if (dlg.exec() != QDialog::Accepted)
        return std::nullopt;
    return dlg.textValue();
}

void QtUserSeam::error(const QString& text) {
    question(Kind::Error, text, Ok);
}

int QtUserSeam::runModal(QDialog& dialog) {
    const FokusZurueck zurueck(m_parent);
    return dialog.exec();
}
