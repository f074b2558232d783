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

// Who owes the tax of an expense posted like an intra-community acquisition
// (T_Buchungen.Steuerschuld; NULL for everything else).
namespace steuerschuld {
// services and other supplies whose tax the recipient owes (§ 19 Abs. 1 zweiter Satz, 1c, 1e)
constexpr int ReverseCharge = 1;
// construction services (§ 19 Abs. 1a)
constexpr int Bauleistung = 2;
} // namespace steuerschuld

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
    double Steuersatz = 0; // percent, at most one decimal (see data/steuersatz.h)
    Currency Betrag;
    std::optional<int> BK;
    int IstEinnahme = buchungscode::Ja;
    int IstEU = buchungscode::Nein;
    int IstDrittland = buchungscode::Nein;
    int IstKFZ = buchungscode::Nein;
    int IstGebaeude = buchungscode::Nein;
    // Reverse charge or construction service: stored with IstEU = 1, so that
    // every evaluation counts it once as it does an intra-community acquisition.
    std::optional<int> Steuerschuld;
    // The Kennzahl of an income at 0 %; empty: the client's master-data choice.
    QString SteuerfreiKZ;

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
