#pragma once

#include "data/currency.h"
#include "data/feldlaengen.h"

#include <QDate>
#include <QHash>
#include <QString>
#include <optional>
#include <utility>

class Datenbank;
enum class Buchungsart;
struct Buchung;

// The checks of a booking's entries, shared by the booking dialog and the
// command-line tool. Each answers the German message to show, or a value.

// A typed value: wert when it could be read, otherwise fehler says why.
template <class T> struct Eingelesen {
    std::optional<T> wert;
    QString fehler;
    bool ok() const { return fehler.isEmpty(); }
};

namespace buchungspruefung {

// What the checks ask the database, each answer read once: a batch of
// bookings in one transaction keeps one for all of them.
class Nachschlag {
public:
    explicit Nachschlag(Datenbank& db) : m_db(db) {}

    bool buchungskreisVorhanden(int bk, int mandant);
    // whether the client also books the German rates
    bool steuerDE(int mandant);
    // whether the chart has the account for the rate in tenths of a percent
    bool steuerkontoVorhanden(int konto, int zehntel);

private:
    Datenbank& m_db;
    QHash<std::pair<int, int>, bool> m_kreise;
    QHash<int, bool> m_steuerDE;
    QHash<std::pair<int, int>, bool> m_konten;
};

inline constexpr int TextLaenge = feldlaenge::Buchungstext;
// The largest amount in size: every total of a fiscal year stays exact.
inline constexpr Currency HoechstBetrag = Currency::fromUnits(99'999'999'99LL * 100);

QString betragFehlt();
QString buchungskreisFehlt();
QString belegnummerVergeben(int nummer);
QString frageBelegnummerVergeben(int nummer);

// What a German user types ("1.234,56", "-80", "1234.56"); empty is missing.
// At most 99.999.999,99 in size and at most two decimals.
Eingelesen<Currency> betrag(const QString& text);
QString betragsgrenzen(Currency betrag);
// A 32-bit integer; empty text is allowed and leaves the number empty.
Eingelesen<int> belegnummer(const QString& text);
// A percentage with at most one decimal ("20", "4,9", "4.9"); empty is refused.
Eingelesen<double> steuersatz(const QString& text);

// The rates the booking dialog offers: 0, 4,9, 5, 10, 12, 13, 20, and with
// the German rates also 7 and 19.
bool steuersatzErlaubt(double satz, bool steuerDE);
// Every booking, whatever its kind and flags, has one of the client's rates,
// and an income or ordinary expense finds its rate account in the chart.
QString steuersatzPruefen(Datenbank& db, Buchungsart art, double satz, int mandant);
QString steuersatzPruefen(Nachschlag& n, Buchungsart art, double satz, int mandant);

// The kind of tax liability and the per-booking Kennzahl fit the booking:
// reverse charge and construction only on an expense posted like an
// intra-community acquisition, a Kennzahl only on an income at 0 %.
QString steuerschuld(const Buchung& b);

// Whether another booking of the client's fiscal year has this number.
bool belegnummerVorhanden(Datenbank& db, int mandant, int zeitraum, int nummer, int ausserID);

// The circle must be given and belong to the client.
QString buchungskreis(Datenbank& db, std::optional<int> bk, int mandant);
bool buchungskreisVorhanden(Datenbank& db, int bk, int mandant);

// The voucher date must lie in the fiscal year's calendar year.
QString belegdatum(const QDate& datum, int jahr);

QString text(const QString& text);

// A complete record before it is stored: circle of the client, amount
// limits, rate, date inside the calendar year jahr, text length.
// Answers the first message, empty when the booking may be stored.
QString buchung(Datenbank& db, const Buchung& b, int jahr);
QString buchung(Nachschlag& n, const Buchung& b, int jahr);

} // namespace buchungspruefung
