#pragma once

#include "data/currency.h"

#include <QString>
#include <QStringList>

class Datenbank;

// The four totals of the main window for a client's fiscal year. Gross
// totals leave out third-country imports. The output tax includes the tax
// owed on intra-community acquisitions (account 1021), the input tax every
// other posting of expenses, so Ust - Vst is the year's VAT balance.
struct Summen {
    Currency Einnahmen;
    Currency Ust;
    Currency Ausgaben;
    Currency Vst;
};

// Reads the totals afresh; a total with nothing to sum is 0. Throws
// DatenbankFehler on a database error.
Summen SummenBerechnen(Datenbank& db, int zeitraum, int mandant);

// The statements behind the totals: the gross total (placeholders einnahme,
// zeitraum, mandant) and both tax totals in one row (zeitraum, mandant).
QStringList SummenStatements();

// The calendar year of a client's fiscal year; throws DatenbankFehler when
// the year does not exist.
int ZeitraumJahr(Datenbank& db, int zeitraum, int mandant);
