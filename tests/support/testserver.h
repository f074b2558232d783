#pragma once

#include "data/serverziel.h"

#include <QString>
#include <optional>

// The PostgreSQL server a test run was given in VELMORA_TEST_DB (the
// throwaway cluster that ctest starts), or none: then the tests use files.
namespace testserver {

bool aktiv();
// This process's own database on that server, emptied and given the whole
// schema from the template: a fresh set of books, as a copied template file is.
serverziel::Ziel frischeDatenbank();
// The same database without a single table, as `init` meets it.
serverziel::Ziel leereDatenbank();
// Drops this process's database again; at the end of a test program.
void aufraeumen();
// The URL of frischeDatenbank's database, for programs the test starts.
QString url();

} // namespace testserver

// Inside a test that only makes sense for the working database file (its
// bytes, its folder, SQLite's own checks).
#define NUR_DATEI()                                                                                \
    do {                                                                                           \
        if (testserver::aktiv())                                                                   \
            GTEST_SKIP() << "betrifft nur die Datenbankdatei";                                     \
    } while (false)
