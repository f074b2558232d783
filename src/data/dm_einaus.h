#pragma once

#include "data/db.h"
#include "data/exportabfrage.h"
#include "data/serverziel.h"

#include <QSqlQueryModel>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

class Clock;
class UserSeam;

// The master data of one client (T_Stammdaten). A null GanzerName means the
// user has never entered it.
struct Stammdaten {
    int mandant = -1;
    QString GanzerName;
    QString Adresse;
    QString PlzOrt;
    QString Telefon;
    QString Referat;
    QString Steuernummer;
    bool SteuerDE = false;
    // Where revenues at 0 % go in the VAT return: a Kennzahl ("011") or
    // "nicht steuerbar"; empty (NULL) until chosen.
    QString SteuerfreiKZ;
};

// The data module: the one connection, the shared datasets and the working
// context. The context has no copy in memory: every gib... reads it afresh.
class TDM_EinAus {
public:
    // The working database is looked up in dir (the process's working
    // directory in the program).
    TDM_EinAus(QString dir, UserSeam& ui, const Clock& clock);
    ~TDM_EinAus();
    TDM_EinAus(const TDM_EinAus&) = delete;
    TDM_EinAus& operator=(const TDM_EinAus&) = delete;

    static QString connectionFileName() { return QStringLiteral("velmora_tab.mdb"); }
    // Whether the file at path is a Velmora database, looked at without
    // changing it: empty when it is, else the German message why not.
    static QString keineVelmoraDatenbank(const QString& path);

    // The file the connection opens: dir's "velmora_tab.mdb", matched
    // without regard to case. Throws DatenbankFehler naming file and
    // directory when there is none: a missing database is never created.
    QString ADO_VelmoraBeforeConnect() const;
    // Connects and checks that the file is a writable Velmora database.
    // Throws DatenbankFehler with a German message; a failed open writes nothing.
    void ADO_VelmoraConnect();
    // Connects, then makes sure a current client and fiscal year exist, asking
    // the user for them if the database has none.
    void DataModuleCreate();

    Datenbank& db() { return m_db; }
    // The books on a PostgreSQL server instead of the file in dir; the
    // password only when libpq has none of its own.
    void setServer(std::optional<serverziel::Ziel> ziel, QString passwort = QString());
    const std::optional<serverziel::Ziel>& server() const { return m_server; }
    const QString& passwort() const { return m_passwort; }
    UserSeam& ui() { return m_ui; }
    const Clock& clock() const { return m_clock; }
    const QString& dir() const { return m_dir; }

    // The working context for decisions: nullopt when the read succeeded and
    // found nothing, DatenbankFehler when it failed.
    std::optional<int> mandantLesen();
    std::optional<int> zeitraumLesen();
    // Before an empty answer leads to a question or a write: a damaged file
    // can answer "no row" without an error. Runs a quick check and compares
    // the file's size with its page count; throws DatenbankFehler naming the
    // file on any finding. Takes seconds on a large file, so not at every open.
    void aufSchaedenPruefen();
    // The same for any open Velmora database, e.g. the source of a backup.
    static void aufSchaedenPruefen(Datenbank& db);
    // The full check of "Datenbank prüfen": the problems found, none when sound.
    QStringList DatenbankPruefen(const std::function<void(int)>& fortschritt = {});

    // The working context for display. These never fail: they answer their fallbacks.
    int gibMandant();
    int gibZeitraum();
    int gibJahr();
    QString gibMandantName(int mandant);
    bool gibSteuerDE();
    // Largest ID of the table plus one, 1 for an empty table or on failure.
    int gibNeueID(const QString& tabelle);
    int gibNeueBelegnummer();
    // The same for a write: run inside the insert's transaction; throws
    // DatenbankFehler on failure and checks the file before answering 1.
    int neueID(const QString& tabelle);
    int neueBelegnummer(int mandant, int zeitraum);
    // Clock-derived and, unlike the clock alone, never already in use.
    int gibNeueMandantID();
    // The bare clock rule (milliseconds since 1 Jan of year 1, last nine digits).
    static int mandantIDAusUhr(const QDateTime& now);

    // The one rule for a typed year: any integer (blanks around it allowed,
    // any number of digits that fits 32 bits); nullopt for anything else.
    static std::optional<int> jahrAusText(const QString& text);
    static QString meldungJahrVierstellig();
    // Asks for a client's first fiscal year until an integer is given;
    // Cancel asks again. After a bad answer the next question is preset with
    // what was typed when eingabeVorgeben, else again with today's year.
    int erstesJahrErfragen(bool eingabeVorgeben);
    // The settings-file section of a client's remembered booking entries.
    static QString buchenAbschnitt(int mandant);

    void MandantAktivieren(int mandant);
    void StammdatenFiltern(int mandant);
    void BuchungskreiseFiltern(int mandant);
    // All of a client's statements or none; throws DatenbankFehler on failure.
    void MandantLoeschen(int mandant);
    // The year's postings, bookings and the year itself, or nothing at all.
    void ZeitraumLoeschen(int zeitraum);

    // Table_Stammdaten: the row of the filtered client.
    int stammdatenFilter() const { return m_stammdatenFilter; }
    std::optional<Stammdaten> Table_Stammdaten();
    void stammdatenSpeichern(const Stammdaten& daten);
    // Whether T_Stammdaten has the column SteuerfreiKZ (older databases lack it).
    bool hatSteuerfreiKZ();

    // Inserts that allocate their identifier in the same transaction.
    int mandantAnlegen(const QString& bezeichnung, bool aktiv);
    void stammdatenAnlegen(int mandant);
    int zeitraumAnlegen(int mandant, int jahr);
    void einstellungAnlegen(int mandant, int zeitraum);
    // The first fiscal year of a client together with its settings row.
    int ersterZeitraumAnlegen(int mandant, int jahr);

    int Table_EinstellungenAnzahl();
    int Table_ZeitraumAnzahl();

    // Shared list models. ADO_BK follows BuchungskreiseFiltern, QueryZeitraum
    // its parameter; call the requery after a change.
    QSqlQueryModel& Table_Mandant() { return *m_tableMandant; }
    void Table_MandantRequery();
    QSqlQueryModel& QueryZeitraum() { return *m_queryZeitraum; }
    void setQueryZeitraumMandant(int mandant);
    void QueryZeitraumRequery();
    QSqlQueryModel& ADO_BK() { return *m_adoBK; }
    int bkFilter() const { return m_bkFilter; }
    void ADO_BKRequery();
    ExportAbfrage& Query_Export() { return *m_queryExport; }

private:
    void pruefeDatenbank(const QString& path);
    void ersterStart();
    bool mandantIDBelegt(int id);

    void serverVerbinden();

    QString m_dir;
    std::optional<serverziel::Ziel> m_server;
    QString m_passwort;
    UserSeam& m_ui;
    const Clock& m_clock;
    Datenbank m_db;
    int m_stammdatenFilter = -1;
    int m_bkFilter = -1;
    int m_queryZeitraumMandant = 1;
    std::unique_ptr<QSqlQueryModel> m_tableMandant;
    std::unique_ptr<QSqlQueryModel> m_queryZeitraum;
    std::unique_ptr<QSqlQueryModel> m_adoBK;
    std::unique_ptr<ExportAbfrage> m_queryExport;
};
