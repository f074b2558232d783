#pragma once

#include "data/currency.h"

#include <QDate>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <optional>

class Datenbank;

// The coded yes/no columns of a booking.
namespace buchungscode {
constexpr int Ja = 1;
constexpr int Nein = 2;
} // namespace buchungscode

// Whether the booking on screen is a new row or an existing one being changed.
enum class DatensatzZustand { Einfuegen, Bearbeiten };

// One row of T_Buchungen. Belegnummer and BK may still be empty while the
// booking is being entered; an empty Text is stored as NULL.
struct Buchung {
    int ID = 0;
    int mandant = -1;
    int Wirtschaftsjahr = -1;
    QDate Buchungsdatum;
    std::optional<int> Belegnummer;
    QString Text;
    int Steuersatz = 0;
    Currency Betrag;
    std::optional<int> BK;
    int IstEinnahme = buchungscode::Ja;
    int IstEU = buchungscode::Nein;
    int IstDrittland = buchungscode::Nein;
    int IstKFZ = buchungscode::Nein;
    int IstGebaeude = buchungscode::Nein;

    bool operator==(const Buchung&) const = default;
};

// The bookings table as the booking commands use it. Every function throws
// DatenbankFehler on failure; the caller owns the transaction.
namespace buchungstabelle {

// The columns of a booking row in the order ausZeile reads them.
QString spalten();
Buchung ausZeile(const QSqlQuery& q);
// The row of this identifier and client; nullopt when there is none.
// NULL codes read as 2 (no), a NULL amount or rate as 0.
std::optional<Buchung> lesen(Datenbank& db, int id, int mandant);
void einfuegen(Datenbank& db, const Buchung& b);
// Writes every column of the row of b.ID and b.mandant; false when that row is gone.
bool aendern(Datenbank& db, const Buchung& b);
// Deletes the row of this identifier and client; answers the number of rows deleted.
int loeschen(Datenbank& db, int id, int mandant);

// The booking texts already used by the client in the fiscal year, in the
// order the database delivers them; an empty text appears as " ".
QStringList texte(Datenbank& db, int mandant, int zeitraum);

} // namespace buchungstabelle
