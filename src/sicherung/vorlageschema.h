#pragma once

#include <QString>

// The template's schema (tables, indexes, chart of accounts) as the program
// carries it.
namespace vorlageschema {

const char* text();

// Writes a template file from it at pfad (which must not exist); throws
// DatenbankFehler when that fails.
void vorlageSchreiben(const QString& pfad);

} // namespace vorlageschema
