#pragma once

#include "bank/auszugszeile.h"
#include "bank/bankregeln.h"
#include "bank/merkmale.h"

#include <QHash>
#include <optional>

class Datenbank;

// What a statement line would be booked as; the user may change it.
struct Vorschlag {
    enum class Herkunft { Regel, Gelernt, Hand };

    int bk = 0;
    double steuersatz = 0; // percent, at most one decimal
    bool einnahme = true;
    Merkmale merkmale;
    QString text;
    Herkunft herkunft = Herkunft::Hand;
    int regel = 0; // the rule's id when it came from one

    bool operator==(const Vorschlag&) const = default;
};

namespace vorschlag {

// The names of the set flags: "EU", "Drittland", "Reverse Charge", "Bauleistung", "KFZ", "Gebäude".
QStringList merkmalNamen(const Merkmale& m);
// "BK 3, 20 %, Ausgabe, EU, Regel 2"; the origin "gelernt" or none for the user's own.
QString beschreibung(const Vorschlag& v);
// The booking text of a line: counterparty and remittance text, or the rule's
// template with "{gegenpartei}" and "{text}" filled in; cut to the booking
// text's length at a character boundary.
QString buchungstext(const Auszugszeile& z, const QString& vorlage = {});

} // namespace vorschlag

// Proposals for the lines of one statement of a client: the first rule in the
// user's order that matches, else the circle, rate and flags of the last
// imported booking with the same counterparty IBAN, else the same name.
class Vorschlaege {
public:
    Vorschlaege(Datenbank& db, int mandant);
    std::optional<Vorschlag> fuer(const Auszugszeile& z);

private:
    std::optional<Vorschlag> gelernt(const Auszugszeile& z);
    std::optional<Vorschlag> gelerntNach(bool iban, const QString& wert);

    Datenbank& m_db;
    int m_mandant;
    std::vector<Bankregel> m_regeln;
    // by "I" + IBAN or "N" + name: the learned proposal, read once per statement
    QHash<QString, std::optional<Vorschlag>> m_gelernt;
};
