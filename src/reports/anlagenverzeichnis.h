#pragma once

#include "reports/anlagen.h"

#include <optional>
#include <vector>

class Datenbank;

// The asset register of a client in T_Anlagen. Every write is one
// transaction with its checks inside; failures throw DatenbankFehler with
// the German message.
namespace anlagenverzeichnis {

struct Eintrag {
    int id = 0;
    QString bezeichnung;
    QString lieferant;
    std::optional<int> buchungsid;
    std::optional<Currency> erloes;
    anlagen::Anlage anlage;
};

// The booking's net amount (each booking once), the cost to propose;
// throws when the booking is not one of the client's.
Currency buchungsNetto(Datenbank& db, int mandant, int buchung);

int anlegen(Datenbank& db, int mandant, const Eintrag& e);
void aendern(Datenbank& db, int mandant, const Eintrag& e);
void loeschen(Datenbank& db, int mandant, int id);
Eintrag lesen(Datenbank& db, int mandant, int id);
// By date of acquisition, then id.
std::vector<Eintrag> alle(Datenbank& db, int mandant);

// One line of the register for a year, and the column totals.
struct Zeile {
    int id = 0; // 0 for the totals
    QString bezeichnung;
    QDate anschaffung;
    Currency kosten;
    anlagen::Jahr jahr;
};
struct Verzeichnis {
    std::vector<Zeile> zeilen;
    Zeile summe;
};
Verzeichnis jahr(Datenbank& db, int mandant, int jahr);

} // namespace anlagenverzeichnis
