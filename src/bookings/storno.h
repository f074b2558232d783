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
// Stores the counter-booking of the client's booking id with the next free
// voucher number and answers its identifier; nullopt when the booking is
// gone. Throws DatenbankFehler (BuchungAbgewiesen for a refusal).
std::optional<int> stornieren(TDM_EinAus& dm, int id, int mandant, const QDate& datum);

} // namespace storno
