#pragma once

#include <QString>
#include <optional>

class TDM_EinAus;
class SettingsFile;
struct Stammdaten;

// Clients and their master data without any window: the checks and changes
// the client list, the master-data dialog and the command-line tool share.
// Each operation either does its change or answers the text to show instead.
namespace mandanten {

QString meldungDoppelt();
QString meldungLeererName();
QString meldungAktiverMandant();
QString meldungUnbekannt();
QString frageLoeschen(const QString& name);
QString frageEndgueltigLoeschen(const QString& name);
QString meldungGeloescht(const QString& name);
// grund: why the file could not be written, when known.
QString meldungEinstellungenNichtGeschrieben(const QString& datei, const QString& grund = {});

// Whether a client has exactly this name; no folding of case or blanks.
bool bezeichnungVergeben(TDM_EinAus& dm, const QString& bezeichnung);
bool vorhanden(TDM_EinAus& dm, int mandant);

// The outcome of creating a client: its identifier, or the text to show.
struct Angelegt {
    std::optional<int> id;
    QString meldung;
};

// A new client that is not current, with its empty master-data row.
// Throws DatenbankFehler; nothing is written then.
Angelegt anlegen(TDM_EinAus& dm, const QString& bezeichnung);
// Refused for a name any client has, its own included. Throws DatenbankFehler.
std::optional<QString> umbenennen(TDM_EinAus& dm, int mandant, const QString& bezeichnung);

// Why the client must not be deleted: it is the current one, or unknown.
std::optional<QString> loeschenVerweigert(TDM_EinAus& dm, int mandant);

// What a deletion did beyond the database.
struct Geloescht {
    bool einstellungenEntfernt = true;
};
// The client's rows (client, circles, years, settings row) in one
// transaction, then its section of the settings file. Its bookings, postings
// and master data stay. Throws DatenbankFehler before touching the file.
Geloescht loeschen(TDM_EinAus& dm, SettingsFile& ini, int mandant);

// Makes the client current and filters the master data to it.
std::optional<QString> wechseln(TDM_EinAus& dm, int mandant);

// Whether the current client still needs its first fiscal year.
bool brauchtErstesJahr(TDM_EinAus& dm);

// The master data of the filtered client: its row, or an empty one.
Stammdaten stammdatenLesen(TDM_EinAus& dm);
// Stores the row, creating it first if the client has none.
void stammdatenSpeichern(TDM_EinAus& dm, const Stammdaten& daten);

} // namespace mandanten
