#pragma once

#include "bank/merkmale.h"

#include <QString>
#include <optional>
#include <vector>

class Datenbank;

// A client's rule for proposals: "text or counterparty contains ..." or
// "IBAN is ..." gives a circle, a rate and the kind flags.
struct Bankregel {
    enum class Richtung { Beide = 0, Einnahme = 1, Ausgabe = 2 };

    int id = 0;
    int reihenfolge = 0;
    QString enthaelt; // exactly one of enthaelt and iban is given
    QString iban;
    Richtung richtung = Richtung::Beide;
    int bk = 0;
    double steuersatz = 0; // percent, at most one decimal
    Merkmale merkmale;
    // the booking text; "{gegenpartei}" and "{text}" stand for the line's own
    QString textvorlage;

    bool operator==(const Bankregel&) const = default;
};

namespace bankregeln {

// Why the rule cannot be stored; empty when it can.
QString pruefen(Datenbank& db, const Bankregel& r, int mandant);
// Appends the rule at the end of the client's order; answers its id.
// Throws DatenbankFehler with pruefen's message.
int anlegen(Datenbank& db, int mandant, Bankregel r);
// The client's rules in their order.
std::vector<Bankregel> lesen(Datenbank& db, int mandant);
// False when the client has no rule of that id.
bool loeschen(Datenbank& db, int id, int mandant);

} // namespace bankregeln
