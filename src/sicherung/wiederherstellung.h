#pragma once

#include <QDateTime>
#include <QString>
#include <optional>
#include <vector>

// The way back from a backup copy in "Datensicherung" to the working
// database of a directory.
namespace wiederherstellung {

struct Kopie {
    QString pfad;
    QDateTime zeit; // when it was made, from its name
    qint64 bytes = 0;
    std::optional<int> buchungen; // nullopt when the copy cannot be read
};

// The copies in dir's backup folder, newest first.
std::vector<Kopie> liste(const QString& dir);

// Restores kopie: its full integrity check, then a backup of the current
// working database (an ordinary copy in the folder), then the copy replaces
// the working database's content in one transaction. Answers the path of the
// backup made first. Throws DatenbankFehler with the reason and changes
// nothing when the copy is damaged or another program holds the database.
QString zurueckspielen(const QString& dir, const QString& kopie, const QDateTime& jetzt);

} // namespace wiederherstellung
