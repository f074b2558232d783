#include "sicherung/verbindung.h"

#include "data/db.h"

#include <QAtomicInt>
#include <QSqlDriver>
#include <sqlite3.h>

namespace sicherung {

QString verbindungsname() {
    static QAtomicInt zaehler;
    return QStringLiteral("sicherung_%1").arg(zaehler.fetchAndAddRelaxed(1));
}

sqlite3* handle(Datenbank& db) {
    return *static_cast<sqlite3* const*>(db.connection().driver()->handle().constData());
}

} // namespace sicherung
