#include "app/startup.h"

#include "data/dm_einaus.h"
#include "platform/files.h"
#include "platform/process.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace startup {

QString templateFileName() {
    return QStringLiteral("Velmora_neu.mdb");
}
QString databaseFileName() {
    return QStringLiteral("Velmora_tab.mdb");
}

QString updaterFileName() {
#ifdef Q_OS_WIN
    return QStringLiteral("check_update.exe");
#else
    return QStringLiteral("check_update");
#endif
}

QString backupFileName() {
#ifdef Q_OS_WIN
    return QStringLiteral("datensicherung.exe");
#else
    return QStringLiteral("datensicherung");
#endif
}

QString ProgrammPfad(const QString& executablePath) {
    QString dir = QFileInfo(executablePath).absolutePath();
    if (!dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    return dir;
}

bool ProgrammStartenUndWarten(const QString& datei, const QString& parameter, int anzeige) {
    Q_UNUSED(anzeige);
    return process::startAndWait(datei, parameter);
}

Vorbereitung DatenbankDateienVorbereiten(const QString& programmPfad) {
    // every name in any case: "velmora_TAB.mdb" is the working database, and
    // a template "velmora_neu.mdb" is one
    Vorbereitung v;
    if (files::findCaseInsensitive(programmPfad, databaseFileName()).isEmpty()) {
        const QString vorlage = files::findCaseInsensitive(programmPfad, templateFileName());
        // A foreign file must not become the working database, and must not
        // be lost by the rename either.
        if (!vorlage.isEmpty()) {
            const QString keine = TDM_EinAus::keineVelmoraDatenbank(vorlage);
            if (!keine.isEmpty()) {
                v.fehler = QStringLiteral("Die Vorlage wurde nicht verwendet: ") + keine;
                return v;
            }
        }
        // a failed rename is silent: the open fails later with its own message
        if (!vorlage.isEmpty())
            v.renamed = QFile::rename(vorlage, programmPfad + databaseFileName());
    }
    if (!files::findCaseInsensitive(programmPfad, templateFileName()).isEmpty()) {
        QString updater = files::findCaseInsensitive(programmPfad, updaterFileName());
        if (updater.isEmpty())
            updater = programmPfad + updaterFileName();
        v.updaterRan = ProgrammStartenUndWarten(updater, QString(), 1);
    }
    return v;
}

} // namespace startup
