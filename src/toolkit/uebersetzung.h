#pragma once

#include <QLocale>
#include <QString>
#include <QTranslator>

// Qt's own texts (file dialogs, print dialog, the buttons of its boxes) in
// the user's language, and in German when Qt has no translation for it: the
// program speaks German throughout. Installed for as long as it lives.
class QtUebersetzung {
public:
    explicit QtUebersetzung(const QLocale& locale = QLocale(),
                            const QString& verzeichnis = standardVerzeichnis());
    ~QtUebersetzung();
    QtUebersetzung(const QtUebersetzung&) = delete;
    QtUebersetzung& operator=(const QtUebersetzung&) = delete;

    // Where the Qt installation keeps its translations.
    static QString standardVerzeichnis();

    bool geladen() const { return m_geladen; }
    // The language of the translation installed ("de"); empty when none.
    QString sprache() const { return m_geladen ? m_translator.language() : QString(); }

private:
    QTranslator m_translator;
    bool m_geladen = false;
};
