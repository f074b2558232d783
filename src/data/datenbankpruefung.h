#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class Datenbank;

// What "Datenbank prüfen" tells the user, and the checks that keep a damaged
// file from being written.
namespace datenbankpruefung {

QString inOrdnung();
// The problems found in the file at path, at most ten of them, and where
// the backups are once there are any (the folder "Datensicherung" in dir).
QString befund(const QString& path, const QStringList& probleme, const QString& dir);

// The header of the open file against its size: page size, and the page
// count while the header's "valid-for" counter says it is current. Reads
// through SQLite's own file handle, so the caller's locks stay; call it
// inside a transaction, after SQLite has rolled back any hot journal.
// Costs one read of 100 bytes, whatever the size of the file.
QStringList kopfBefunde(Datenbank& db);

// Refuses, with befund's message, to write a file whose header does not
// fit its size or for which the last backup found damage (the marker).
void vorDemSchreibenPruefen(Datenbank& db);
// The same under a read lock of its own, for the window's start.
void beimStartPruefen(Datenbank& db);

// Rows whose values are not of their column's type: a text in an amount, a
// number in a date. "Buchung 1: Betrag ist keine Zahl". vollstaendig also
// looks at every date's calendar validity, which reads the whole table;
// without it only the rows a partial index holds are read, at most 10.
QStringList typBefunde(Datenbank& db, bool vollstaendig);
// Refuses, with befund's message, to compute totals, lists or reports over
// rows with values of the wrong type, which SQLite would add as 0.
void typenSicherstellen(Datenbank& db);

// The marker the backup leaves in "Datensicherung" beside the database
// when its check of the copy found problems; a check that passes removes it.
QString markerPfad(const QString& datenbankPfad);
// Writes the marker with the problems found; false when it could not.
bool markerSetzen(const QString& datenbankPfad, const QStringList& probleme);
// The problems recorded in the marker; nothing when there is none.
std::optional<QStringList> markerLesen(const QString& datenbankPfad);
void markerEntfernen(const QString& datenbankPfad);
// The marker's problems as the refusal names them; none without a marker.
QStringList markerProbleme(const QString& datenbankPfad);

} // namespace datenbankpruefung
