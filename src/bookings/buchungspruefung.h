#pragma once

#include "data/currency.h"

#include <QDate>
#include <QString>
#include <optional>

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

inline constexpr int TextLaenge = 100;

QString betragFehlt();
QString buchungskreisFehlt();

// What a German user types ("1.234,56", "-80", "1234.56"); empty is missing.
Eingelesen<Currency> betrag(const QString& text);
// A 32-bit integer; empty text is allowed and leaves the number empty.
Eingelesen<int> belegnummer(const QString& text);
// A whole percentage that the rate column takes; empty is refused.
Eingelesen<int> steuersatz(const QString& text);

// Refuses a rate whose kind posts to an account the chart has no rate
// account for (1000 + r for income, 2000 + r for an ordinary expense).
// Intra-community acquisitions and imports post to fixed accounts.
QString steuerkonto(Datenbank& db, Buchungsart art, int satz);

// The circle must be given and belong to the client.
QString buchungskreis(Datenbank& db, std::optional<int> bk, int mandant);
bool buchungskreisVorhanden(Datenbank& db, int bk, int mandant);

// The voucher date must lie in the fiscal year's calendar year.
QString belegdatum(const QDate& datum, int jahr);

QString text(const QString& text);

// A complete record before it is stored without the dialog: circle of the
// client, rate account, date inside the calendar year jahr, text length.
// Answers the first message, empty when the booking may be stored.
QString buchung(Datenbank& db, const Buchung& b, int jahr);

} // namespace buchungspruefung
