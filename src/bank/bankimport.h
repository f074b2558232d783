#pragma once

#include "bank/importvorschau.h"

#include <functional>
#include <utility>
#include <vector>

class TDM_EinAus;

struct Importergebnis {
    std::vector<std::pair<int, int>> gebucht;   // line, booking id
    std::vector<std::pair<int, QString>> offen; // line, why it was not booked
    int doppelt = 0;
    bool abgebrochen = false; // then nothing was booked

    // "N Buchungen angelegt, M doppelt übersprungen, K offen"
    QString meldung() const;
};

namespace bankimport {

// Books the ticked bookable lines of a preview in one transaction through the
// booking writer (its checks, next voucher numbers, change log and lock) and
// remembers each with its booking. The statuses are checked again inside the
// transaction, so a statement imported meanwhile books nothing twice. A line
// the writer refuses stays open with its message; any other failure rolls
// everything back and throws DatenbankFehler. fortschritt gets (done, total)
// of the lines to book; answering false cancels and books nothing.
Importergebnis buchen(TDM_EinAus& dm, int mandant, int zeitraum,
                      const std::vector<Vorschauzeile>& zeilen,
                      const std::function<bool(int, int)>& fortschritt = {});

} // namespace bankimport
