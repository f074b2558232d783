#pragma once

#include "data/currency.h"

#include <QHash>
#include <QString>
#include <optional>
#include <vector>

class Datenbank;

// The Kennzahlen of the income-tax form E 1a per booking circle, and the
// year's summary from the circle evaluation's selection (net, each booking
// once) and the asset register's depreciation. Writes are one transaction
// each and throw DatenbankFehler with the German message.
namespace e1a {

struct Kennzahl {
    int nummer;
    QString text;
    bool istEinnahme;
};

// The Kennzahlen Velmora knows with their texts.
const std::vector<Kennzahl>& bekannte();
// Where the year's depreciation goes.
constexpr int kAbschreibungen = 9130;

struct Zuordnung {
    enum class Art { Keine, Kennzahl, Anlage } art = Art::Keine;
    int kennzahl = 0;
    bool istEinnahme = false;
};

// Assigns circle bk of the client. A Kennzahl Velmora does not know needs
// its side and, the first time, its text; a known one takes its own side
// unless another is given, and keeps its text.
void zuordnen(Datenbank& db, int mandant, int bk, const Zuordnung& z,
              std::optional<bool> istEinnahme, const std::optional<QString>& text);
Zuordnung zuordnung(Datenbank& db, int mandant, int bk);

// The Kennzahlen the client typed with their texts, by number; their side
// belongs to each circle, so istEinnahme says nothing here.
std::vector<Kennzahl> eigene(Datenbank& db, int mandant);
// What the circle list shows per assigned circle: "9100 Waren, Rohstoffe,
// Hilfsstoffe", the side added where it is not the Kennzahl's own,
// "Anlagenzugang" for asset purchases.
QHash<int, QString> kreisTexte(Datenbank& db, int mandant);
QString anlagenzugang();
// The circle's name; throws when the client has no such circle.
QString kreisName(Datenbank& db, int mandant, int bk);

struct Betrag {
    QString links;
    QString text;
    Currency betrag;
};

struct Zusammenfassung {
    std::vector<Betrag> kennzahlen;   // by number; income and expenses positive
    std::vector<Betrag> ohneKennzahl; // per circle: receipts minus expenses
    std::vector<Betrag> ohneAnlage;   // per purchase of an asset circle no asset names
    Currency abschreibung;
    Currency gewinn;
};

// The fiscal year zeitraum (calendar year jahr) of the client.
Zusammenfassung rechnen(Datenbank& db, int mandant, int zeitraum, int jahr);

} // namespace e1a
