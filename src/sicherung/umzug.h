#pragma once

#include <QString>
#include <QStringList>

class Datenbank;

// Moving the books between the working database file and a PostgreSQL
// server: every row of every table into an empty target, in one
// transaction, then compared with the source. The source is only read.
namespace umzug {

struct Bericht {
    QStringList zeilen; // "T_Buchungen\t1234" per table, as copied and verified
};

// ziel must hold no books yet: a server database without tables, or a file
// just made from the template. Throws DatenbankFehler with the reason; then
// nothing of the target has changed.
Bericht kopieren(Datenbank& quelle, Datenbank& ziel);

} // namespace umzug
