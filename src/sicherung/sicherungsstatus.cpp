#include "sicherung/sicherungsstatus.h"

#include "platform/atomicfile.h"
#include "sicherung/datensicherung.h"

#include <QDir>
#include <QFile>

namespace sicherungsstatus {

namespace {

QString datei(const QString& dir) {
    return QDir(Datensicherung(dir).ordner()).filePath(dateiName());
}

} // namespace

QString dateiName() {
    return QStringLiteral("letzte_datensicherung.txt");
}

bool merken(const QString& dir, const QDateTime& jetzt, const QString& fehler) {
    if (fehler.isEmpty())
        return !QFile::exists(datei(dir)) || QFile::remove(datei(dir));
    if (!QDir().mkpath(Datensicherung(dir).ordner()))
        return false;
    QString zeile = fehler;
    zeile.replace(QLatin1String("\r\n"), QLatin1String(" "));
    zeile.replace(QLatin1Char('\r'), QLatin1Char(' '));
    zeile.replace(QLatin1Char('\n'), QLatin1Char(' '));
    const QByteArray bytes =
        (jetzt.toString(QStringLiteral("dd.MM.yyyy HH:mm")) + QLatin1Char('\t') + zeile + '\n')
            .toUtf8();
    // the program's own file in the backup folder
    return writeFileAtomically(datei(dir), bytes, nullptr, true);
}

std::optional<QString> letzterFehler(const QString& dir) {
    QFile f(datei(dir));
    if (!f.exists())
        return std::nullopt;
    if (!f.open(QIODevice::ReadOnly))
        return QStringLiteral("Der Stand der letzten Datensicherung kann nicht gelesen werden: %1")
            .arg(f.errorString());
    const QString zeile = QString::fromUtf8(f.readLine()).trimmed();
    const QString wann = zeile.section(QLatin1Char('\t'), 0, 0);
    const QString grund = zeile.section(QLatin1Char('\t'), 1);
    return QStringLiteral("Die Datensicherung vom %1 ist fehlgeschlagen: %2").arg(wann, grund);
}

} // namespace sicherungsstatus
