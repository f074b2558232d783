#pragma once

#include <QDate>
#include <QString>
#include <optional>

class Datenbank;
class TDM_EinAus;
struct Buchung;

// Locks of a fiscal year up to a day (T_Festschreibung): once a filed
// period is locked, no booking dated on or before that day is created,
// changed or deleted, and no lock is ever lifted.
namespace festschreibung {

// The day the client's fiscal year is locked to; nullopt when it is open.
// A database without the table is refused with a clear message.
std::optional<QDate> bis(Datenbank& db, int mandant, int zeitraum);

// The refusal for a write from alt to neu (either may be absent: a new or
// a deleted booking); empty when the lock allows it.
QString pruefen(Datenbank& db, const Buchung* alt, const Buchung* neu);
// The same for one booking against a lock already read with bis().
QString pruefen(const std::optional<QDate>& gesperrtBis, const Buchung& b);
QString meldungGesperrt(const QDate& bis);
// What the read-only view of a locked booking says above its fields.
QString grundNurLesen(const QDate& bis);

// What the question before locking says.
QString frage(const QDate& bis);
// Locks the fiscal year up to bis and logs it, in one transaction. Throws
// DatenbankFehler when it is already locked to that day or later, or when
// bis lies outside the fiscal year's calendar year.
void festschreiben(TDM_EinAus& dm, int mandant, int zeitraum, const QDate& bis);

} // namespace festschreibung
