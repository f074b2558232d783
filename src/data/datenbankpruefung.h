#pragma once

#include <QString>
#include <QStringList>

// What "Datenbank prüfen" tells the user.
namespace datenbankpruefung {

QString inOrdnung();
// The problems found in the file at path, at most ten of them, and where
// the backups are once there are any (the folder "Datensicherung" in dir).
QString befund(const QString& path, const QStringList& probleme, const QString& dir);

} // namespace datenbankpruefung
