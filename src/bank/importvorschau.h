#pragma once

#include "bank/auszugszeile.h"
#include "bank/vorschlag.h"

#include <optional>
#include <vector>

class Datenbank;

enum class Zeilenstatus { Neu, Doppelt, Ausserhalb, Festgeschrieben, Vorgemerkt, Fremdwaehrung };

// "neu", "doppelt", "außerhalb des Wirtschaftsjahres", ...
QString statusText(Zeilenstatus s);

// One statement line as the preview shows it.
struct Vorschauzeile {
    Auszugszeile zeile;
    Zeilenstatus status = Zeilenstatus::Neu;
    std::optional<Vorschlag> vorschlag;
    bool angekreuzt = false;

    // only new lines with a circle can be booked
    bool buchbar() const { return status == Zeilenstatus::Neu && vorschlag && vorschlag->bk > 0; }
};

namespace importvorschau {

// The status and proposal of every line for the client's fiscal year; the
// bookable lines are ticked.
std::vector<Vorschauzeile> erstellen(Datenbank& db, int mandant, int zeitraum, const Auszug& a);

// The status of each line without its proposal, as the booking checks it again.
std::vector<Zeilenstatus> status(Datenbank& db, int mandant, int zeitraum, const Auszug& a);

} // namespace importvorschau
