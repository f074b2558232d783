#pragma once

#include <QDate>
#include <QString>
#include <optional>

class TDM_EinAus;

// Fiscal years of a client without any window: the checks and changes the
// fiscal-year dialog and the command-line tool share. Each operation either
// does its change or answers the text to show instead.
namespace zeitraeume {

QString meldungNurZahlen();
QString meldungJahrVorhanden(const QString& eingabe);
QString meldungAktivesJahr();
QString frageLoeschen();
QString frageEndgueltigLoeschen();
// The third question for a year that is locked up to bis.
QString frageFestgeschriebenLoeschen(const QDate& bis);
QString meldungGeloescht();
QString meldungUnbekannt();

// The outcome of creating a year: its identifier, or the text to show.
struct Angelegt {
    std::optional<int> id;
    QString meldung;
};

// A new fiscal year `eingabe` (as typed) for the client; not made current.
// A non-integer answer and a database failure both answer meldungNurZahlen().
Angelegt anlegen(TDM_EinAus& dm, int mandant, const QString& eingabe);

// The calendar year of a fiscal year of the client; nullopt when there is none.
std::optional<int> jahrVon(TDM_EinAus& dm, int zeitraum, int mandant);
// The fiscal year with that calendar year of the client.
std::optional<int> zeitraumVonJahr(TDM_EinAus& dm, int mandant, int jahr);
// Whether the client has a settings row (a current fiscal year).
bool hatEinstellung(TDM_EinAus& dm, int mandant);

// Makes one of the client's years current, creating its settings row if it
// has none. Refused for a year of another client. Throws DatenbankFehler.
std::optional<QString> setzen(TDM_EinAus& dm, int zeitraum, int mandant);

// Why the fiscal year must not be deleted from the current client's list:
// it is the current one, or not one of the current client's years.
std::optional<QString> loeschenVerweigert(TDM_EinAus& dm, int zeitraum);
// The year with its bookings and their postings, all or nothing; throws
// DatenbankFehler. Does not check: ask loeschenVerweigert first.
void loeschen(TDM_EinAus& dm, int zeitraum);

} // namespace zeitraeume
