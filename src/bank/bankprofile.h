#pragma once

#include "bank/csvprofil.h"

#include <optional>
#include <vector>

class Datenbank;

// The saved CSV profiles, shared by all clients (a bank's layout does not
// depend on whose account it is), found by their exact name.
namespace bankprofile {

// Stores a new profile; throws DatenbankFehler when it is incomplete or its
// name is taken.
void anlegen(Datenbank& db, const CsvProfil& p);
// Replaces the profile of that name, or stores it as a new one.
void speichern(Datenbank& db, const CsvProfil& p);
std::optional<CsvProfil> lesen(Datenbank& db, const QString& name);
// Every profile, by name.
std::vector<CsvProfil> alle(Datenbank& db);

} // namespace bankprofile
