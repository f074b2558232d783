#pragma once

#include "data/currency.h"
#include "reports/t_repdaten.h"

#include <QString>
#include <QStringList>

class Datenbank;
class Sql;

// The figures of the VAT verification, from the tax postings of a client's
// fiscal year within a period. Widget-free; every read throws
// DatenbankFehler on failure, so a failed step never counts as zero.
namespace verprobung {

// The summary band's values, exact to the ten-thousandth.
struct Summen {
    Currency EUBemessung;  // step 1, gross of the intra-community acquisitions
    Currency EUSteuer;     // step 1, account 1021
    Currency Umsatzsteuer; // step 2, output tax of all rates
    Currency Erloese;      // step 2, gross revenues behind it
    Currency Vorsteuer;    // step 3
    Currency KFZ;          // step 4, part of the input tax
    Currency Gebaeude;     // step 5, part of the input tax
    Currency Einfuhr;      // step 6, account 3000

    Currency USTSumme() const { return EUSteuer + Umsatzsteuer; }
    Currency BemessungSumme() const { return EUBemessung + Erloese - Umsatzsteuer; }
    // Above zero the client owes it ("Zahllast"), otherwise is owed it.
    Currency Saldo() const { return USTSumme() - Vorsteuer - Einfuhr - EUSteuer; }
    bool operator==(const Summen&) const = default;
};

// "Zahllast" when the balance is above zero, otherwise "Gutschrift".
QString saldoText(Currency saldo);
// The balance without its sign.
Currency saldoBetrag(Currency saldo);

// The per-rate statement of Query_Verprobung, line by line.
QStringList queryVerprobungZeilen();
// The lines of summary step 1..6.
QStringList schrittZeilen(int schritt);
// Lines of a statement joined with a line break, never glued together.
QString statement(const QStringList& zeilen);

// Binds von, bis, zeitraum and mandant of r to a statement.
void parameterSetzen(Sql& q, const T_RepDaten& r);

// Runs the six steps in order; a sum that is null because no posting
// matched counts as 0.
Summen SummenLesen(Datenbank& db, const T_RepDaten& r);

// Whether the period has any tax posting of the client's fiscal year: a
// period without one has nothing to verify.
bool hatSteuerbuchungen(Datenbank& db, const T_RepDaten& r);

QString meldungKeineEinnahmen();

} // namespace verprobung
