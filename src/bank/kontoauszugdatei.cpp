#include "bank/kontoauszugdatei.h"

#include "bank/camt053.h"

#include <QFile>
#include <QFileInfo>

namespace kontoauszugdatei {

bool istCsv(const QString& pfad) {
    return QFileInfo(pfad).suffix().compare(QLatin1String("csv"), Qt::CaseInsensitive) == 0;
}

Auszug lesen(const QString& pfad, const std::optional<CsvProfil>& profil) {
    QFile f(pfad);
    if (!f.open(QIODevice::ReadOnly))
        throw KontoauszugFehler(QStringLiteral("Die Datei „%1“ kann nicht gelesen werden: %2")
                                    .arg(pfad, f.errorString()));
    const QByteArray daten = f.readAll();
    if (f.error() != QFileDevice::NoError)
        throw KontoauszugFehler(QStringLiteral("Die Datei „%1“ kann nicht gelesen werden: %2")
                                    .arg(pfad, f.errorString()));
    if (!istCsv(pfad))
        return camt053::lesen(daten);
    if (!profil)
        throw KontoauszugFehler(
            QStringLiteral("Für eine CSV-Datei ist ein Profil anzugeben (--profil NAME)."));
    return csv::lesen(daten, *profil);
}

} // namespace kontoauszugdatei
