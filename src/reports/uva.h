#pragma once

#include "data/currency.h"
#include "reports/verprobung.h"

#include <QDate>
#include <QString>
#include <map>
#include <optional>
#include <variant>
#include <vector>

class QDateTime;
class TDM_EinAus;

// The VAT return (form U30) for FinanzOnline, computed from the same
// selection of postings as the VAT verification. Widget-free.
namespace uva {

// The Kennzahl numbers, as the file names them ("022").
using Kz = int;

// A booking of the period as the rate judgements name it.
struct Beleg {
    QDate Datum;
    std::optional<int> Belegnummer;
    Currency Betrag;
    double Steuersatz = 0;
    bool Ausgabe = false;
    bool operator==(const Beleg&) const = default;
};

struct Eingabe {
    QDate Von;
    QDate Bis;
    QString ZeitraumText;
    QString Steuernummer;
    QString SteuerfreiKZ; // empty: not chosen
    bool SteuerDE = false;
    std::vector<verprobung::Posten> Posten;
    std::vector<Beleg> Belege;
};

struct Erklaerung {
    QDate Von;
    QDate Bis;
    QString Fastnr;                  // nine digits
    std::map<Kz, Currency> Betraege; // in cents; only those written to the file
    Currency KFZ;                    // information: no Kennzahl in the schemas
    Currency Gebaeude;
    Currency VerprobungSaldo; // "Zahllast" above zero
    // Rates that may stem from an old invoice paid late: the file is written,
    // the summary warns with the bookings named.
    QStringList Warnungen;

    // KZ 095 as FinanzOnline computes it: base times rate per Kennzahl
    // rounded to cents, plus acquisition tax, minus input taxes. Above zero
    // a "Vorauszahlung", below an "Überschuss".
    Currency kz095() const;
    // By how much FinanzOnline's figure differs from the summed postings.
    Currency differenz() const { return kz095() - VerprobungSaldo; }
    bool hat(Kz kz) const { return Betraege.count(kz) > 0; }
    Currency betrag(Kz kz) const;
};

// Period codes of the return: the months and quarters, not the whole year.
constexpr int letzterUvaCode = 16;

// The period the dialog opens on: the month before today's in the fiscal
// year (January in January), December of an earlier year, January of a
// later one.
int vorgabeCode(const QDate& heute, int jahr);

// The current client's master data and the postings of the period code's
// period in the current fiscal year. Throws DatenbankFehler on a failed read.
Eingabe eingabeLesen(TDM_EinAus& dm, int code);

// The rates no return may hold (7 and 19 % of input tax without the German
// rates, 4,9 % before 07/2026), the bookings named; empty when none.
QString saetzeUrteilen(const Eingabe& e);
// The rates that only an old invoice explains, the bookings named; empty when none.
QStringList altesaetze(const Eingabe& e);

// Builds the return or answers the German message why it cannot be filed.
std::variant<Erklaerung, QString> erstellen(const Eingabe& e);

// The Kennzahlen of the return in the order of the form and the file.
std::vector<Kz> reihenfolge(const Erklaerung& e);

// The Kennzahl's text for the summary.
QString kzText(Kz kz);
// "000", "022".
QString kzName(Kz kz);
// "1234.50": two decimals, a decimal point, no grouping.
QString xmlBetrag(Currency c);
// Nearest cent, halves away from zero.
Currency aufCent(Currency c);

// The BMF schema the period's file follows.
QString schemaDatei(const QDate& von);
// "U30_2026-07_2026-09.xml"
QString dateiname(const Erklaerung& e);

// "Vorauszahlung" above zero, else "Überschuss".
QString kz095Text(Currency kz095);

// The file's bytes: UTF-8 with an XML declaration, created at erstellt.
QByteArray xml(const Erklaerung& e, const QDateTime& erstellt);

// Writes through a temporary file and a rename; the German message on failure.
std::optional<QString> schreiben(const QByteArray& daten, const QString& datei);

// "10.08.2026 Beleg 7 119,00": how the judgements name a booking.
QString belegText(const Beleg& b);

QString meldungVor2022();
QString meldungSteuernummer(const QString& steuernummer);
QString meldungKeineSteuerfreiKZ(Currency basis);
QString meldungKeinZeitraum();

} // namespace uva
