#pragma once

#include <QString>
#include <optional>

class TDM_EinAus;

// Booking circles (T_BKreis): the client's own income and expense
// categories. Names and short names are stored exactly as given; the edit
// field, not the database, keeps a short name to two characters.
namespace buchungskreise {

struct Kreis {
    int id = -1;
    int mandant = -1;
    QString BKName;
    QString BKKurz;
};

// The circle of a client; nullopt when there is none.
std::optional<Kreis> lesen(TDM_EinAus& dm, int id, int mandant);

// A new circle with the next identifier of the whole table; answers it.
int anlegen(TDM_EinAus& dm, int mandant, const QString& name, const QString& kurz);

// New name and short name; identifier and client stay, so the bookings keep
// their circle.
void aendern(TDM_EinAus& dm, int id, int mandant, const QString& name, const QString& kurz);

// Whether any booking of the client, in any fiscal year, uses the circle.
bool inGebrauch(TDM_EinAus& dm, int id, int mandant);

// Deletes the circle unless it is in use; false when refused.
bool loeschen(TDM_EinAus& dm, int id, int mandant);

QString meldungInGebrauch();

// The picker's modal result: below Alle cancelled, Alle every circle,
// Alle + id the one circle.
constexpr int Alle = 1000;

struct Auswahl {
    bool abgebrochen = true;
    bool alle = false;
    int id = -1; // the one circle, -1 otherwise
};

Auswahl auswahlDeuten(int ergebnis);

} // namespace buchungskreise
