#include "jahrgenerator.h"

#include "bookings/steuerbuchungen.h"
#include "data/buchung.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <iterator>
#include <random>
#include <sqlite3.h>
#include <stdexcept>
#include <string>

namespace jahrgenerator {

namespace {

class Verbindung {
public:
    explicit Verbindung(const QString& pfad) {
        if (sqlite3_open(QFile::encodeName(pfad).constData(), &m_db) != SQLITE_OK)
            throw std::runtime_error("cannot open " + pfad.toStdString());
    }
    ~Verbindung() { sqlite3_close(m_db); }
    void exec(const char* sql) {
        char* fehler = nullptr;
        if (sqlite3_exec(m_db, sql, nullptr, nullptr, &fehler) != SQLITE_OK) {
            const std::string text = fehler ? fehler : "?";
            sqlite3_free(fehler);
            throw std::runtime_error(text);
        }
    }
    sqlite3* get() { return m_db; }

private:
    sqlite3* m_db = nullptr;
};

class Anweisung {
public:
    Anweisung(sqlite3* db, const char* sql) : m_db(db) {
        if (sqlite3_prepare_v2(db, sql, -1, &m_st, nullptr) != SQLITE_OK)
            throw std::runtime_error(sqlite3_errmsg(db));
    }
    ~Anweisung() { sqlite3_finalize(m_st); }
    Anweisung& i(int n, sqlite3_int64 v) {
        sqlite3_bind_int64(m_st, n, v);
        return *this;
    }
    Anweisung& t(int n, const QByteArray& v) {
        sqlite3_bind_text(m_st, n, v.constData(), int(v.size()), SQLITE_TRANSIENT);
        return *this;
    }
    void los() {
        if (sqlite3_step(m_st) != SQLITE_DONE)
            throw std::runtime_error(sqlite3_errmsg(m_db));
        sqlite3_reset(m_st);
    }

private:
    sqlite3* m_db;
    sqlite3_stmt* m_st = nullptr;
};

const char* const kTexte[] = {
    "Honorar",     "Büromaterial",  "Miete Büro",     "Telefon",   "Treibstoff",   "Wareneinkauf",
    "Reparatur",   "Beratung",      "Software",       "Werbung",   "Versicherung", "Strom",
    "Reinigung",   "Fachliteratur", "Porto",          "Bewirtung", "Reisekosten",  "Schulung",
    "Leasing",     "Verkauf Ware",  "Dienstleistung", "Provision", "Lizenz",       "Wartung",
    "Übersetzung", "Gärtnerei",     "Kfz-Service",    "Maut",      "Parkgebühr",   "Internet"};
const char* const kMonate[] = {"Jänner", "Februar", "März",      "April",   "Mai",      "Juni",
                               "Juli",   "August",  "September", "Oktober", "November", "Dezember"};

struct Zaehler {
    int buchung = 0;
    int bewegung = 0;
};

// One year of bookings of a client: every kind at every rate it may use.
void jahrFuellen(Anweisung& buchungen, Anweisung& bewegungen, Zaehler& z, std::mt19937& zufall,
                 int mandant, int zeitraum, int jahr, int ersterKreis, int anzahl) {
    using buchungscode::Ja;
    using buchungscode::Nein;
    const int saetze[] = {0, 5, 7, 10, 13, 19, 20};
    const QDate erster(jahr, 1, 1);
    const int tage = erster.daysInYear();
    for (int n = 1; n <= anzahl; ++n) {
        Buchung b;
        b.ID = ++z.buchung;
        b.mandant = mandant;
        b.Wirtschaftsjahr = zeitraum;
        b.Buchungsdatum = erster.addDays(zufall() % tage);
        b.Belegnummer = n;
        b.Steuersatz = saetze[zufall() % 7];
        b.Betrag = Currency::fromUnits((100 + std::int64_t(zufall() % 500000)) * 100);
        b.BK = ersterKreis + int(zufall() % kKreise);
        const int art = int(zufall() % 100);
        b.IstEinnahme = art < 50 ? Ja : Nein;
        if (art >= 50 && art < 60)
            b.IstEU = Ja;
        else if (art >= 60 && art < 65)
            b.IstDrittland = Ja;
        else if (art >= 65 && art < 75)
            b.IstKFZ = Ja;
        else if (art >= 75 && art < 80)
            b.IstGebaeude = Ja;
        if (b.IstEU == Ja || b.IstDrittland == Ja)
            b.Steuersatz = 20;
        // texts repeat as in real books: a few hundred in a year
        const QByteArray text = QByteArray(kTexte[zufall() % std::size(kTexte)]) + ' ' +
                                QByteArray(kMonate[b.Buchungsdatum.month() - 1]);
        buchungen.i(1, b.ID)
            .i(2, mandant)
            .i(3, zeitraum)
            .t(4, b.Buchungsdatum.toString(Qt::ISODate).toLatin1())
            .i(5, n)
            .t(6, text)
            .i(7, b.Steuersatz)
            .i(8, b.Betrag.units())
            .i(9, *b.BK)
            .i(10, b.IstEinnahme)
            .i(11, b.IstEU)
            .i(12, b.IstDrittland)
            .i(13, b.IstKFZ)
            .i(14, b.IstGebaeude)
            .los();
        for (const Steuerbuchung& s : SteuerbuchungenAbleiten(b)) {
            const auto betrag = Currency::fromDouble(s.St_Betrag);
            bewegungen.i(1, mandant)
                .i(2, ++z.bewegung)
                .i(3, b.ID)
                .i(4, s.Konten_Nr)
                .i(5, betrag ? betrag->units() : 0)
                .los();
        }
    }
}

} // namespace

void erzeugen(const QString& vorlage, const QString& ziel, int anzahl, unsigned seed) {
    QFile::remove(ziel);
    if (!QFile::copy(vorlage, ziel))
        throw std::runtime_error("cannot copy the template to " + ziel.toStdString());
    QFile::setPermissions(ziel, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    Verbindung v(ziel);
    v.exec("PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; PRAGMA cache_size=-65536; BEGIN");
    sqlite3* db = v.get();
    std::mt19937 zufall(seed);
    Anweisung mandanten(db, "insert into T_Mandant (id, Bezeichnung, Aktiv) values (?1, ?2, ?3)");
    Anweisung stammdaten(db, "insert into T_Stammdaten (mandant, GanzerName, Adresse, PlzOrt, "
                             "Telefon, Referat, Steuernummer, SteuerDE) values "
                             "(?1, ?2, 'Hauptstraße 1', '1010 Wien', '01 234', 'Referat 1', "
                             "'12-345/6789', ?3)");
    Anweisung einstellungen(
        db, "insert into T_Einstellungen (mandant, ZeitraumNummer) values (?1, ?2)");
    Anweisung zeitraeume(db, "insert into T_Zeitraum (id, mandant, Jahr) values (?1, ?2, ?3)");
    Anweisung kreise(db,
                     "insert into T_BKreis (id, mandant, BKName, BKKurz) values (?1, ?2, ?3, ?4)");
    Anweisung buchungen(db, "insert into T_Buchungen (ID, mandant, Wirtschaftsjahr, Buchungsdatum, "
                            "Belegnummer, Text, Steuersatz, Betrag, BK, IstEinnahme, IstEU, "
                            "IstDrittland, IstKFZ, IstGebaeude) values "
                            "(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14)");
    Anweisung bewegungen(db, "insert into t_kontenbewegungen (mandant, id, Buchungen_id, "
                             "Konten_Nr, St_Betrag) values (?1, ?2, ?3, ?4, ?5)");
    Zaehler z;
    int zeitraum = 0;
    int kreis = 0;
    for (int m = 1; m <= kMandanten; ++m) {
        const bool aktuell = m == kAktuellerMandant;
        mandanten.i(1, m).t(2, "Mandant " + QByteArray::number(m)).i(3, aktuell ? 1 : 0).los();
        stammdaten.i(1, m).t(2, "Firma " + QByteArray::number(m) + " GmbH").i(3, 1).los();
        const int ersterKreis = kreis + 1;
        for (int k = 1; k <= kKreise; ++k) {
            ++kreis;
            kreise.i(1, kreis)
                .i(2, m)
                .t(3, "Kreis " + QByteArray::number(k))
                .t(4, "K" + QByteArray::number(k))
                .los();
        }
        for (int jahr = kJahr - 2; jahr <= kJahr; ++jahr) {
            zeitraeume.i(1, ++zeitraum).i(2, m).i(3, jahr).los();
            const bool gross = aktuell && jahr == kJahr;
            jahrFuellen(buchungen, bewegungen, z, zufall, m, zeitraum, jahr, ersterKreis,
                        gross ? anzahl : 300);
        }
        einstellungen.i(1, m).i(2, zeitraum).los();
    }
    // no ANALYZE: a user's file has no statistics either
    v.exec("COMMIT");
}

QString verzeichnis(const QString& vorlage, const QString& basis, int anzahl) {
    const QString dir = basis + QStringLiteral("/velmora-%1").arg(anzahl);
    const QString datei = dir + QStringLiteral("/Velmora_tab.mdb");
    const QString fertig = dir + QStringLiteral("/fertig");
    const QFileInfo f(fertig);
    if (f.exists() && f.lastModified() >= QFileInfo(vorlage).lastModified())
        return dir;
    QDir().mkpath(dir);
    QFile::remove(fertig);
    erzeugen(vorlage, datei, anzahl);
    QFile marke(fertig);
    if (!marke.open(QIODevice::WriteOnly))
        throw std::runtime_error("cannot write " + fertig.toStdString());
    return dir;
}

} // namespace jahrgenerator
