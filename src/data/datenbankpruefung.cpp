#include "data/datenbankpruefung.h"

#include "data/db.h"

#include <QDir>

namespace datenbankpruefung {

QString inOrdnung() {
    return QStringLiteral("Die Datenbank ist in Ordnung.");
}

QString befund(const QString& path, const QStringList& probleme, const QString& dir) {
    constexpr int Hoechstens = 10;
    QStringList zeilen = probleme.mid(0, Hoechstens);
    if (probleme.size() > Hoechstens)
        zeilen << QStringLiteral("... und %1 weitere").arg(probleme.size() - Hoechstens);
    QString text = datenbankmeldung::beschaedigt(path, zeilen.join(QLatin1Char('\r')));
    const QDir sicherungen(QDir(dir).filePath(QStringLiteral("Datensicherung")));
    if (sicherungen.exists() && !sicherungen.isEmpty())
        text += QStringLiteral("\rSicherungen der Datenbank liegen im Ordner %1.")
                    .arg(QDir::toNativeSeparators(sicherungen.absolutePath()));
    return text;
}

} // namespace datenbankpruefung
