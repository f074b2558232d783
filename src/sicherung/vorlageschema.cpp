#include "sicherung/vorlageschema.h"

#include "data/db.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

namespace vorlageschema {

namespace {

QStringList anweisungen(const QString& script) {
    QString ohneKommentar;
    for (const QString& zeile : script.split(QLatin1Char('\n'))) {
        const qsizetype k = zeile.indexOf(QLatin1String("--"));
        ohneKommentar += (k >= 0 ? zeile.left(k) : zeile) + QLatin1Char('\n');
    }
    QStringList out;
    for (const QString& teil : ohneKommentar.split(QLatin1Char(';'))) {
        if (!teil.trimmed().isEmpty())
            out << teil.trimmed();
    }
    return out;
}

} // namespace

void vorlageSchreiben(const QString& pfad) {
    const QString name = QStringLiteral("vorlageschema_%1").arg(reinterpret_cast<quintptr>(&pfad));
    QString fehler;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(pfad);
        if (!db.open()) {
            fehler = db.lastError().text();
        } else {
            QSqlQuery q(db);
            db.transaction();
            for (const QString& a : anweisungen(QString::fromUtf8(text()))) {
                if (!q.exec(a)) {
                    fehler = q.lastError().text();
                    break;
                }
            }
            q.finish();
            if (fehler.isEmpty() && !db.commit())
                fehler = db.lastError().text();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
    if (!fehler.isEmpty())
        throw DatenbankFehler(
            QStringLiteral("Die Vorlage der Tabellen kann nicht angelegt werden: %1").arg(fehler));
}

} // namespace vorlageschema
