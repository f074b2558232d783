#pragma once

#include "data/buchung.h"

#include <QDateTime>
#include <QString>
#include <optional>
#include <utility>
#include <vector>

class Datenbank;
class TDM_EinAus;

// A booking with its tax postings, as the change log keeps it.
struct Buchungsstand {
    Buchung buchung;
    std::vector<std::pair<int, Currency>> kontenbewegungen; // account, amount, in posting order
};

// The change log T_Protokoll: one row per new, changed and deleted booking
// and per deletion of a client or fiscal year and per lock. Rows are only
// ever appended; each carries a SHA-256 over the previous row's hash and its
// own content, so a removed or altered row breaks the chain. Every writer
// calls it inside the transaction of the change itself.
namespace aenderungsprotokoll {

QString neu();
QString geaendert();
QString geloescht();
QString uebernommen();
QString festgeschrieben();
QString mandantGeloescht();
QString wirtschaftsjahrGeloescht();

// The booking and its postings as stored; nullopt when there is no such row.
std::optional<Buchungsstand> lesen(Datenbank& db, int id, int mandant);
// The canonical text of a state (compact JSON, keys sorted) that the log
// stores and the check compares with.
QString text(const Buchungsstand& stand);
// The fields of a logged state by name, as shown; empty for an empty text.
std::vector<std::pair<QString, QString>> felder(const QString& text);

struct Eintrag {
    int id = 0;
    QDateTime Zeitpunkt;
    int mandant = -1;
    int Wirtschaftsjahr = -1;
    QString Aktion;
    std::optional<int> Buchungsid;
    QString Vorher;
    QString Nachher;
    QString Hash;
    QString Benutzer; // empty in rows older than the column
};

// The hash of e (all but its Hash) chained to the previous row's hash.
QString hash(const QString& vorherigerHash, const Eintrag& e);

// Appends rows; the caller owns the transaction. The previous hash is read
// once, by the table's largest id, and then kept, so a bulk run stays linear.
class Schreiber {
public:
    explicit Schreiber(Datenbank& db);
    // Appends e (its id and Hash are set here) and answers the new id.
    int schreiben(Eintrag e);

private:
    Datenbank& m_db;
    int m_letzteID = 0;
    QString m_letzterHash;
    bool m_mitBenutzer = false; // a file the updater has not yet completed lacks the column
    QString m_benutzer;
};

// One booking's row: neu (without alt), gelöscht (without neu) or geändert.
// Reads the postings of neu as stored. Throws DatenbankFehler.
void buchung(TDM_EinAus& dm, const std::optional<Buchungsstand>& alt, const std::optional<int>& neu,
             int mandant);
// The same through a writer kept for many bookings of one transaction.
void buchung(TDM_EinAus& dm, Schreiber& schreiber, const std::optional<Buchungsstand>& alt,
             const std::optional<int>& neu, int mandant);

// A row that concerns no single booking (a lock, a deleted client); the
// texts are compact JSON objects.
void eintragen(TDM_EinAus& dm, int mandant, int zeitraum, const QString& aktion,
               const QString& vorher, const QString& nachher);
// Before a fiscal year is deleted: one row "gelöscht" per booking of the
// year with its content, then one row for the year itself.
void jahrGeloescht(TDM_EinAus& dm, int zeitraum, int mandant, const QString& jahrText);

// One row "übernommen" per booking of the file, in the order of their ids;
// for a database that received the log after its bookings. Answers the count.
int bestandUebernehmen(Datenbank& db, const QDateTime& zeitpunkt);

struct Pruefung {
    int eintraege = 0;
    QString fehler; // empty when the log and the bookings agree
};
// Walks the chain in id order, then compares every booking with its last
// row and every logged booking that is gone with a deletion. Names the first
// row that does not match.
Pruefung pruefen(Datenbank& db);

// Who wrote the newest row of a booking; empty when nobody is recorded.
QString letzterBenutzer(Datenbank& db, int buchungsid, int mandant);
QString meldungInOrdnung(int eintraege);

} // namespace aenderungsprotokoll
