#pragma once

struct Buchung;
class TDM_EinAus;

// Stores bookings with their tax postings. Each operation is one
// transaction: on failure it throws DatenbankFehler and leaves the database
// as it was, so no booking is ever left without all of its postings.
class Buchungsschreiber {
public:
    explicit Buchungsschreiber(TDM_EinAus& dm) : m_dm(dm) {}

    // A new booking: allocates its identifier, inserts it and its postings.
    // Answers the identifier.
    int neueBuchungSpeichern(const Buchung& b);
    // A changed booking (same ID and client): the row, then its old postings
    // out and the new ones in. False, with nothing changed, when the row is gone.
    bool buchungAendern(const Buchung& b);
    // The booking row and its postings.
    void buchungLoeschen(int id, int mandant);

    // Inserts the postings derived from b, each with the next identifier.
    void SteuerBuchen(const Buchung& b);
    // buchungLoeschen no: the booking's postings; yes: the booking row only.
    void LoeschenKontenbewegungen(int id, bool buchungLoeschen, int mandant);

private:
    TDM_EinAus& m_dm;
};
