#pragma once

#include "data/currency.h"

#include <QDate>
#include <QString>
#include <optional>

// Depreciation of the asset register for a business year equal to the
// calendar year. Widget-free and without the database: the register's
// commands read an asset, this computes its year.
namespace anlagen {

enum class Art { Sonstig, Gebaeude, Firmenwert, Pkw, PkwEmissionsfrei };

struct Anlage {
    QDate anschaffung;
    Currency kosten; // net where input tax was deductible, else gross
    int nutzungsdauer = 1;
    int degressivSatz = 0;       // percent of the book value; 0: linear
    std::optional<int> linearAb; // first year linear after degressive
    Art art = Art::Sonstig;
    bool gebraucht = false;
    std::optional<QDate> abgang;
};

struct Jahr {
    Currency buchwertBeginn;
    Currency abgang; // the book value that leaves with a disposal
    Currency afa;
    Currency buchwertEnde;
    bool vorhanden = false; // acquired by the year's end, not gone before it
};

// The highest cost written off at once in a year: 1.000,00 from 2023, 800,00 before.
Currency gwgGrenze(int jahr);
bool istGwg(const Anlage& a);

// Why degressive depreciation at this rate is not allowed for the asset;
// nullopt when it is.
std::optional<QString> degressivVerboten(const Anlage& a);
// Why the asset cannot be registered as it is (life, cost, dates, rate).
std::optional<QString> pruefen(const Anlage& a);

// The asset's figures in calendar year jahr.
Jahr rechnen(const Anlage& a, int jahr);

// units × zaehler ÷ nenner rounded once to the cent, halves up.
Currency aufCentRunden(Currency betrag, std::int64_t zaehler, std::int64_t nenner);

} // namespace anlagen
