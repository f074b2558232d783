#pragma once

#include "bookings/buchungspruefung.h"
#include "data/aenderungsprotokoll.h"

#include <QDate>
#include <QHash>
#include <optional>
#include <utility>

struct Buchung;
class TDM_EinAus;

// Many new bookings inside the caller's one transaction (a bank statement):
// each gets the checks, the next voucher number, the postings and the
// change-log row that Buchungsschreiber::neueBuchungSpeichern with
// Belegnummernwahl::Naechste gives it, with the same results. What cannot
// change within the transaction is read once (the next identifiers and
// voucher numbers, the lock, the circles and rates, the log's last row) and
// the statements stay prepared. Nothing else writes bookings or the change
// log of the transaction while a batch is in use.
class Buchungsstapel {
public:
    // Throws DatenbankFehler outside a write transaction.
    explicit Buchungsstapel(TDM_EinAus& dm);

    // Answers the new booking's identifier. A refused booking throws
    // BuchungAbgewiesen before anything of it is written and takes no
    // identifier or number; any other failure throws DatenbankFehler and
    // leaves the transaction to be rolled back.
    int neueBuchung(const Buchung& b);

private:
    struct Jahr {
        int kalenderjahr = 0;
        std::optional<QDate> gesperrtBis;
        std::optional<int> naechsteBelegnummer; // read when first needed
    };
    Jahr& jahr(int mandant, int zeitraum);
    bool kleinunternehmer(int mandant);

    TDM_EinAus& m_dm;
    buchungspruefung::Nachschlag m_nachschlag;
    aenderungsprotokoll::Schreiber m_protokoll;
    std::optional<int> m_naechsteID;
    std::optional<int> m_naechsteBewegung;
    QHash<std::pair<int, int>, Jahr> m_jahre;
    QHash<int, bool> m_kleinunternehmer;
};
