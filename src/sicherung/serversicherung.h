#pragma once

#include "data/serverziel.h"

#include <QDateTime>
#include <QString>

// The backup of books on a PostgreSQL server: pg_dump's custom format into
// the folder "Datensicherung" beside the settings, checked with
// pg_restore --list before older dumps go. Restoring one is the server
// administrator's job (pg_restore into a new database).
namespace serversicherung {

// The dump's path; DatenbankFehler with the German reason when pg_dump is
// missing or fails (then nothing of the dump is left behind).
QString sichern(const serverziel::Ziel& ziel, const QString& dir, const QDateTime& jetzt,
                const QString& kennwort = QString());

// The refusal of a restore on the server.
QString zurueckspielenAbgelehnt(const serverziel::Ziel& ziel);

} // namespace serversicherung
