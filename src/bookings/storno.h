#pragma once

#include <QDate>
#include <QString>
#include <optional>

struct Buchung;
class TDM_EinAus;

// The visible correction of a booking: a new booking with the same fields
// and the negated amount, so that even a locked booking can be undone.
namespace storno {

// The text of the counter-booking: "Storno: " and the original text, the
// whole cut to the length a booking text may have.
QString text(const QString& original);
// b's counter-booking dated datum; its identifier and voucher number are
// left to the writer.
Buchung gegenbuchung(const Buchung& b, const QDate& datum);
// The day a counter-booking of a locked booking is dated on: today when it
// lies in the fiscal year jahr and after the lock, else the first open day
// of the year (the year's last day when today lies after the year); nullopt
// when the whole year is locked.
std::optional<QDate> ersterOffenerTag(const QDate& heute, int jahr, std::optional<QDate> bis);
// Stores the counter-booking of the client's booking id with the next free
// voucher number and answers its identifier; nullopt when the booking is
// gone. Throws DatenbankFehler (BuchungAbgewiesen for a refusal).
std::optional<int> stornieren(TDM_EinAus& dm, int id, int mandant, const QDate& datum);

} // namespace storno
