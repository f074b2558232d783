#pragma once

#include <QDateTime>
#include <QString>
#include <optional>

// What became of the backup at the last closing, kept in the backup folder
// of the working directory, so that the next start can say when it failed
// or could not run: the closing itself asks nothing.
namespace sicherungsstatus {

QString dateiName(); // "letzte_datensicherung.txt"

// Records a failure (fehler not empty) or forgets an earlier one. False
// when the folder cannot be written.
bool merken(const QString& dir, const QDateTime& jetzt, const QString& fehler);

// The text for the status bar when the last backup failed; nullopt after a
// good one or when none has been recorded.
std::optional<QString> letzterFehler(const QString& dir);

} // namespace sicherungsstatus
