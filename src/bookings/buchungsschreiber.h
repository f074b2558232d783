#pragma once

#include "data/db.h"

#include <functional>

#include "data/buchung.h"

#include <optional>

class TDM_EinAus;

// A booking that the checks at the moment of writing refuse; the text is the
// message to show. Nothing was written.
class BuchungAbgewiesen : public DatenbankFehler {
public:
    using DatenbankFehler::DatenbankFehler;
};

// A booking that another clerk changed or deleted after this one opened it:
// the text names who; aktuell is the state now (none when it is gone).
// Nothing was written.
class BuchungInzwischenGeaendert : public DatenbankFehler {
public:
    BuchungInzwischenGeaendert(const QString& text, std::optional<Buchung> aktuell);
    const std::optional<Buchung>& aktuell() const { return m_aktuell; }

private:
    std::optional<Buchung> m_aktuell;
};

// Where a booking's voucher number comes from.
enum class Belegnummernwahl {
    // the next free number, taken inside the write
    Naechste,
    // the dialog's own proposal, unchanged: if another program took it
    // meanwhile, the next free number instead
    Vorschlag,
    // typed or given: refused when another booking of the year has it
    WieAngegeben,
    // typed, and the user agreed to a number that is already taken
    AuchDoppelt,
};

// Whether the client is a small business (Kennzahl 016): a reverse charge
// then posts only the tax owed.
bool kleinunternehmer(Datenbank& db, int mandant);
// Inserts the postings derived from b; naechsteID answers each posting's identifier.
void steuerbuchungenEinfuegen(Datenbank& db, const Buchung& b, bool kleinunternehmer,
                              const std::function<int()>& naechsteID);

// Stores bookings with their tax postings. Each operation is one
// transaction in which the booking is checked as it is written, so the
// dialog, velmora-cli and every other writer pass the same checks. On failure
// it throws DatenbankFehler (BuchungAbgewiesen for a refusal) and leaves the
// database as it was, so no booking is ever left without all of its postings
// or without its row in the change log.
class Buchungsschreiber {
public:
    explicit Buchungsschreiber(TDM_EinAus& dm) : m_dm(dm) {}

    // A new booking: allocates its identifier, inserts it and its postings.
    // Answers the identifier.
    int neueBuchungSpeichern(const Buchung& b,
                             Belegnummernwahl wahl = Belegnummernwahl::WieAngegeben);
    // A changed booking (same ID and client): the row, then its old postings
    // out and the new ones in. False, with nothing changed, when the row is gone.
    // geoeffnet: the booking as the user opened it; when it is no longer
    // stored so, BuchungInzwischenGeaendert instead of overwriting.
    bool buchungAendern(const Buchung& b, Belegnummernwahl wahl = Belegnummernwahl::WieAngegeben,
                        const std::optional<Buchung>& geoeffnet = std::nullopt);
    // The booking row and its postings.
    void buchungLoeschen(int id, int mandant);

    // Inserts the postings derived from b, each with the next identifier.
    void SteuerBuchen(const Buchung& b);
    // buchungLoeschen no: the booking's postings; yes: the booking row only.
    void LoeschenKontenbewegungen(int id, bool buchungLoeschen, int mandant);

private:
    // Checks b as it will be stored and settles its voucher number.
    void pruefen(Buchung& b, Belegnummernwahl wahl);
    // Refuses a write that touches the locked part of a fiscal year.
    void sperrePruefen(const Buchung* alt, const Buchung* neu);

    TDM_EinAus& m_dm;
};
