#include "sicherung/serversicherung.h"

#include "data/db.h"
#include "sicherung/datensicherung.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

namespace serversicherung {

namespace {

QString verbindungstext(const serverziel::Ziel& z) {
    const auto wert = [](const QString& v) {
        QString s = v;
        s.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
        s.replace(QLatin1Char('\''), QLatin1String("\\'"));
        return QLatin1Char('\'') + s + QLatin1Char('\'');
    };
    QStringList teile{QStringLiteral("host=") + wert(z.host), QStringLiteral("port=%1").arg(z.port),
                      QStringLiteral("dbname=") + wert(z.datenbank)};
    if (!z.benutzer.isEmpty())
        teile << QStringLiteral("user=") + wert(z.benutzer);
    for (const QString& o : z.optionen)
        teile << o.section(QLatin1Char('='), 0, 0) + QLatin1Char('=') +
                     wert(o.section(QLatin1Char('='), 1));
    return teile.join(QLatin1Char(' '));
}

// Runs a client program; its error output when it failed, else empty.
QString ausfuehren(const QString& programm, const QStringList& argumente, const QString& kennwort) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!kennwort.isEmpty())
        env.insert(QStringLiteral("PGPASSWORD"), kennwort);
    // libpq's messages in English, inside the German sentence's parentheses
    env.insert(QStringLiteral("LC_MESSAGES"), QStringLiteral("C"));
    p.setProcessEnvironment(env);
    p.start(programm, argumente);
    if (!p.waitForStarted(10000))
        return p.errorString();
    p.closeWriteChannel();
    p.waitForFinished(-1);
    if (p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0)
        return QString();
    const QString text = QString::fromLocal8Bit(p.readAllStandardError()).trimmed();
    return text.isEmpty() ? QStringLiteral("Status %1").arg(p.exitCode()) : text;
}

} // namespace

QString sichern(const serverziel::Ziel& ziel, const QString& dir, const QDateTime& jetzt,
                const QString& kennwort) {
    const QString pgDump = QStandardPaths::findExecutable(QStringLiteral("pg_dump"));
    const QString pgRestore = QStandardPaths::findExecutable(QStringLiteral("pg_restore"));
    if (pgDump.isEmpty() || pgRestore.isEmpty())
        throw DatenbankFehler(
            QStringLiteral("Die Datenbank auf dem Server %1 wurde nicht gesichert: pg_dump ist "
                           "nicht installiert (Debian: Paket postgresql-client).")
                .arg(ziel.anzeige()));
    const QString ordner = QDir(dir).filePath(Datensicherung::ordnerName());
    if (!QDir().mkpath(ordner))
        throw DatenbankFehler(
            QStringLiteral("Der Ordner %1 für die Sicherung kann nicht angelegt werden.")
                .arg(QDir::toNativeSeparators(ordner)));
    const QString name =
        QStringLiteral("Velmora_%1_%2.dump")
            .arg(ziel.datenbank, jetzt.toString(QStringLiteral("yyyy-MM-dd_HHmmss")));
    const QString datei = QDir(ordner).filePath(name);
    // written under a temporary name: an interrupted dump never looks like a backup
    const QString teil = datei + QStringLiteral(".teil");
    QFile::remove(teil);
    const auto scheitern = [&](const QString& grund) {
        QFile::remove(teil);
        throw DatenbankFehler(
            QStringLiteral("Die Datenbank auf dem Server %1 wurde nicht gesichert (%2).")
                .arg(ziel.anzeige(), grund));
    };
    if (const QString f =
            ausfuehren(pgDump,
                       {QStringLiteral("--format=custom"), QStringLiteral("--file=") + teil,
                        QStringLiteral("--dbname=") + verbindungstext(ziel)},
                       kennwort);
        !f.isEmpty())
        scheitern(f);
    if (const QString f = ausfuehren(pgRestore, {QStringLiteral("--list"), teil}, QString());
        !f.isEmpty())
        scheitern(QStringLiteral("die Prüfung mit pg_restore --list schlug fehl: ") + f);
    QFile::remove(datei);
    if (!QFile::rename(teil, datei))
        scheitern(QStringLiteral("die Datei kann nicht umbenannt werden"));
    // only a checked dump displaces old ones
    QStringList alle = QDir(ordner).entryList(
        {QStringLiteral("Velmora_%1_*.dump").arg(ziel.datenbank)}, QDir::Files, QDir::Name);
    while (alle.size() > Datensicherung::Behalten)
        QFile::remove(QDir(ordner).filePath(alle.takeFirst()));
    return datei;
}

QString zurueckspielenAbgelehnt(const serverziel::Ziel& ziel) {
    return QStringLiteral("Die Bücher liegen auf dem Datenbankserver %1. Eine Sicherung spielt der "
                          "Betreuer des Servers mit pg_restore in eine neue Datenbank zurück "
                          "(siehe README); Velmora ersetzt die Datenbank des Servers nicht.")
        .arg(ziel.anzeige());
}

} // namespace serversicherung
