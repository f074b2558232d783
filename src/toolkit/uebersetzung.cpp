#include "toolkit/uebersetzung.h"

#include <QCoreApplication>
#include <QLibraryInfo>

QtUebersetzung::QtUebersetzung(const QLocale& locale, const QString& verzeichnis) {
    // qtbase holds the texts of the widgets' standard dialogs
    const QString datei = QStringLiteral("qtbase");
    const QString trenner = QStringLiteral("_");
    // Qt's English catalogue is empty: English, like a language without a
    // catalogue, gets the German texts the rest of the program has
    const auto laden = [&](const QLocale& l) {
        return m_translator.load(l, datei, trenner, verzeichnis) && !m_translator.isEmpty();
    };
    m_geladen = laden(locale) || laden(QLocale(QLocale::German, QLocale::Austria));
    if (m_geladen)
        m_geladen = QCoreApplication::installTranslator(&m_translator);
}

QtUebersetzung::~QtUebersetzung() {
    if (m_geladen)
        QCoreApplication::removeTranslator(&m_translator);
}

QString QtUebersetzung::standardVerzeichnis() {
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
}
