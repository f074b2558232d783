#pragma once

#include <QString>

class Datenbank;
struct sqlite3;

namespace sicherung {

// A connection name of its own for every file the backup and update open.
QString verbindungsname();
// The SQLite handle behind a connection, for the backup API.
sqlite3* handle(Datenbank& db);

} // namespace sicherung
