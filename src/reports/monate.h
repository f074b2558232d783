#pragma once

#include "data/currency.h"

#include <QStringList>
#include <array>
#include <optional>

class TDM_EinAus;

// The months of the current fiscal year at a glance: net income and expenses
// per month by voucher date, from the selection of the circle evaluation, so
// that the year's result is its "Ergebnis". Widget-free; reads throw
// DatenbankFehler.
namespace monate {

struct Monat {
    int monat = 0; // 1..12
    Currency einnahmen;
    Currency ausgaben;
    Currency ergebnis;  // einnahmen - ausgaben
    Currency kumuliert; // the results from January up to this month
};

struct Uebersicht {
    int jahr = 0;
    std::array<Monat, 12> monate{};
    Currency einnahmen, ausgaben, ergebnis;
    // the previous fiscal year's cumulative results, when the client has that year
    std::optional<std::array<Currency, 12>> vorjahr;
};

// The statement: net income and expenses per month of a fiscal year.
QStringList monatsZeilen();

Uebersicht lesen(TDM_EinAus& dm);

} // namespace monate
