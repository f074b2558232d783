#pragma once

#include <QString>

namespace startup {

QString templateFileName(); // "Velmora_neu.mdb"
QString databaseFileName(); // "Velmora_tab.mdb"
QString updaterFileName();  // "check_update", with ".exe" on Windows
QString backupFileName();   // "datensicherung", with ".exe" on Windows

// The directory of the running program with its trailing separator.
QString ProgrammPfad(const QString& executablePath);

// Starts datei with the quoted file, one blank and parameter as its command
// line, in datei's directory, and waits for its end without time limit.
// anzeige is the window-show mode (1: normal), which only Windows knows.
// False when it could not be started.
bool ProgrammStartenUndWarten(const QString& datei, const QString& parameter, int anzeige);

// What happened to the database files before the data module opens them.
struct Vorbereitung {
    bool renamed = false;    // the template became the working database
    bool updaterRan = false; // the updater was started and has ended
    QString fehler;          // a template that is not a Velmora database, left in place
};

// The first two start-up steps in the program's directory: rename the
// template on a first start; run the updater and wait while a template lies
// beside an existing working database.
Vorbereitung DatenbankDateienVorbereiten(const QString& programmPfad);

} // namespace startup
