#pragma once

#include "bank/auszugszeile.h"
#include "bank/csvprofil.h"

#include <optional>

// A statement file by its name: ".xml" is CAMT.053, ".csv" needs a profile.
namespace kontoauszugdatei {

bool istCsv(const QString& pfad);
// Throws KontoauszugFehler when the file cannot be read or is refused.
Auszug lesen(const QString& pfad, const std::optional<CsvProfil>& profil);

} // namespace kontoauszugdatei
