#pragma once

#include "data/currency.h"
#include "reports/t_repdaten.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

class Datenbank;
class Sql;

// The figures of the VAT verification, from the tax postings of a client's
// fiscal year within a period. Widget-free; every read throws
// DatenbankFehler on failure, so a failed step never counts as zero.
namespace verprobung {

// The summary band's values, exact to the ten-thousandth.
struct Summen {
    // step 1, account 1021: intra-community acquisitions, reverse-charge and
    // construction services, their net amounts and the tax owed on them
    Currency EUBemessung;
    Currency EUSteuer;
    Currency Umsatzsteuer; // step 2, output tax of all rates
    Currency Erloese;      // step 2, gross revenues behind it
    Currency Vorsteuer;    // step 3
    Currency KFZ;          // step 4, part of the input tax
    Currency Gebaeude;     // step 5, part of the input tax
    Currency Einfuhr;      // step 6, account 3000
    // account 2021: the deduction of the tax owed on 1021; smaller than
    // EUSteuer only where a small business owes without deducting
    Currency EUVorsteuer;

    Currency USTSumme() const { return EUSteuer + Umsatzsteuer; }
    Currency BemessungSumme() const { return EUBemessung + Erloese - Umsatzsteuer; }
    // Above zero the client owes it ("Zahllast"), otherwise is owed it.
    Currency Saldo() const { return USTSumme() - Vorsteuer - Einfuhr - EUVorsteuer; }
    bool operator==(const Summen&) const = default;
};

// "Zahllast" when the balance is above zero, otherwise "Gutschrift".
QString saldoText(Currency saldo);
// The balance without its sign.
Currency saldoBetrag(Currency saldo);

// One group of the period's tax postings: the postings of one account from
// bookings with the same rate and the same vehicle and building marks.
struct Posten {
    int Konto = 0;                   // t_kontenbewegungen.Konten_Nr
    std::optional<double> Kontosatz; // the account's rate; none for an account outside the chart
    double Buchungssatz = 0;         // T_Buchungen.Steuersatz
    bool KFZ = false;
    bool Gebaeude = false;
    Currency St_Betrag;              // sum of the postings
    Currency Betrag;                 // sum of the bookings' amounts, once per posting
    std::optional<int> Steuerschuld; // T_Buchungen.Steuerschuld
    QString SteuerfreiKZ;            // T_Buchungen.SteuerfreiKZ, empty for NULL
    bool operator==(const Posten&) const = default;
};

// The tax postings of the client's fiscal year within the period: the one
// selection every figure of the VAT verification and of the VAT return is
// computed from. Ordered by account, then rate.
std::vector<Posten> periodenPosten(Datenbank& db, const T_RepDaten& r);
// Its statement, for measurements beside the raw SQLite library.
QString periodenPostenSql();

// A revenue line of the report: output-tax accounts (below 2000 without
// 1021) grouped by the account's rate, in ascending order.
struct Erloeszeile {
    double Steuersatz = 0;
    Currency St_Betrag;
    Currency Betrag; // gross
    Currency netto() const { return Betrag - St_Betrag; }
    bool operator==(const Erloeszeile&) const = default;
};
std::vector<Erloeszeile> erloeseJeSatz(const std::vector<Posten>& posten);

// Account classes of the chart.
bool istErloeskonto(const Posten& p);
bool istEUKonto(const Posten& p);          // 1021, tax on intra-community acquisitions
bool istVorsteuerkonto(const Posten& p);   // 2000 to 2999 without 2021
bool istEinfuhrkonto(const Posten& p);     // 3000
bool istEUVorsteuerkonto(const Posten& p); // 2021
// Input tax as the marks of vehicle and building count it: 2000 to 2999 and 3000.
bool zaehltAlsVorsteuer(const Posten& p);

// A line of the summary band below the revenue lines: its text, the net
// amount where it has one, the tax.
struct Summenzeile {
    enum class Art { Zeile, Summe, Davon };
    QString Text;
    std::optional<Currency> Netto;
    Currency Steuer;
    Art art = Art::Zeile;
    bool operator==(const Summenzeile&) const = default;
};
// Output side up to "Gesamtsumme": the acquisitions one line per rate (with
// none the single "…20%" line with 0,00), then reverse-charge and
// construction services where the period has them.
std::vector<Summenzeile> ustZeilen(const std::vector<Posten>& posten);
// Input side: "Vorsteuer", the vehicle and building parts, import VAT, the
// acquisitions' deduction per rate, reverse charge and construction.
std::vector<Summenzeile> vstZeilen(const std::vector<Posten>& posten);

// The six summary values from the selection.
Summen summen(const std::vector<Posten>& posten);
Summen SummenLesen(Datenbank& db, const T_RepDaten& r);

// Binds von, bis, zeitraum and mandant of r to a statement.
void parameterSetzen(Sql& q, const T_RepDaten& r);

QString meldungKeineEinnahmen();

} // namespace verprobung
