#include "data/dm_einaus.h"

#include "data/aenderungsprotokoll.h"
#include "data/datenbankpruefung.h"
#include "data/dates.h"
#include "data/festschreibung.h"
#include "data/texte.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/userseam.h"

#include <QAtomicInt>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlRecord>
#include <array>

namespace {

const std::array<const char*, 8> kTabellen = {
    "T_Mandant", "T_Stammdaten", "T_Einstellungen",    "T_Zeitraum",
    "T_BKreis",  "T_Buchungen",  "t_kontenbewegungen", "T_Kontenplan"};

// The SQLite header, looked at before SQLite opens the file: it must not
// touch a foreign one. Empty when the header is SQLite's, else the message.
QString kopfPruefen(const QString& path, const QString& keine) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QStringLiteral("Die Datenbank %1 kann nicht geöffnet werden: %2")
            .arg(QDir::toNativeSeparators(path), f.errorString());
    if (f.read(16) != QByteArray("SQLite format 3\0", 16))
        return keine;
    return QString();
}

bool alleTabellen(Datenbank& db) {
    const QStringList vorhanden = db.tabellen();
    for (const char* t : kTabellen) {
        if (!vorhanden.contains(QLatin1String(t), Qt::CaseInsensitive))
            return false;
    }
    return true;
}

QString naechsterVerbindungsname() {
    static QAtomicInt counter;
    return QStringLiteral("velmora_%1").arg(counter.fetchAndAddRelaxed(1));
}

QVariant textOderNull(const QString& s) {
    return s.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(texte::einzeilig(s));
}

} // namespace

TDM_EinAus::TDM_EinAus(QString dir, UserSeam& ui, const Clock& clock)
    : m_dir(std::move(dir)), m_ui(ui), m_clock(clock), m_db(naechsterVerbindungsname()),
      m_tableMandant(std::make_unique<QSqlQueryModel>()),
      m_queryZeitraum(std::make_unique<QSqlQueryModel>()),
      m_adoBK(std::make_unique<QSqlQueryModel>()),
      m_queryExport(std::make_unique<ExportAbfrage>()) {}

TDM_EinAus::~TDM_EinAus() {
    // the models hold statements of the connection: release them first
    m_tableMandant->clear();
    m_queryZeitraum->clear();
    m_adoBK->clear();
    m_queryExport->clear();
}

QString TDM_EinAus::ADO_VelmoraBeforeConnect() const {
    const QString path = files::findCaseInsensitive(m_dir, connectionFileName());
    if (path.isEmpty()) {
        throw DatenbankFehler(
            QStringLiteral("Die Datenbank %1 wurde im Verzeichnis %2 nicht gefunden.")
                .arg(connectionFileName(), QDir::toNativeSeparators(QDir(m_dir).absolutePath())));
    }
    return path;
}

void TDM_EinAus::ADO_VelmoraConnect() {
    if (m_server) {
        serverVerbinden();
        return;
    }
    pruefeDatenbank(ADO_VelmoraBeforeConnect());
}

void TDM_EinAus::setServer(std::optional<serverziel::Ziel> ziel, QString passwort) {
    m_server = std::move(ziel);
    m_passwort = std::move(passwort);
}

void TDM_EinAus::serverVerbinden() {
    try {
        m_db.openServer(*m_server, m_passwort);
        const QStringList vorhanden = m_db.tabellen();
        if (vorhanden.isEmpty())
            throw DatenbankFehler(
                QStringLiteral("Die Datenbank %1 ist leer. Legen Sie die Tabellen mit "
                               "„velmora-cli --db %1 init --mandant NAME --jahr JAHR“ an.")
                    .arg(m_db.path()));
        if (!alleTabellen(m_db))
            throw DatenbankFehler(
                QStringLiteral("Die Datenbank %1 ist keine Velmora-Datenbank.").arg(m_db.path()));
    } catch (const DatenbankFehler&) {
        m_db.close();
        throw;
    }
}

QString TDM_EinAus::keineVelmoraDatenbank(const QString& path) {
    const QString keine = QStringLiteral("Die Datei %1 ist keine Velmora-Datenbank.")
                              .arg(QDir::toNativeSeparators(path));
    if (const QString fehler = kopfPruefen(path, keine); !fehler.isEmpty())
        return fehler;
    try {
        Datenbank db(naechsterVerbindungsname());
        db.open(path, true);
        return alleTabellen(db) ? QString() : keine;
    } catch (const DatenbankFehler& e) {
        return e.text();
    }
}

void TDM_EinAus::pruefeDatenbank(const QString& path) {
    const QString keine = QStringLiteral("Die Datei %1 ist keine Velmora-Datenbank.")
                              .arg(QDir::toNativeSeparators(path));
    if (const QString fehler = kopfPruefen(path, keine); !fehler.isEmpty())
        throw DatenbankFehler(fehler);
    // SQLite would quietly open a write-protected file read-only, and every
    // booking would then fail; say so at once instead.
    if (!QFileInfo(path).isWritable())
        throw DatenbankFehler(datenbankmeldung::schreibgeschuetzt(path));
    // the rollback journal lives beside the file
    const QString verzeichnis = QFileInfo(path).absolutePath();
    if (!QFileInfo(verzeichnis).isWritable())
        throw DatenbankFehler(datenbankmeldung::verzeichnisSchreibgeschuetzt(verzeichnis));
    try {
        m_db.open(path);
        if (!alleTabellen(m_db))
            throw DatenbankFehler(keine);
    } catch (const DatenbankFehler&) {
        // a lock, a damaged page or a foreign file: each has its own message
        m_db.close();
        throw;
    }
    // Durability: a rollback journal and a full sync on every commit.
    Sql journal = m_db.sql(QStringLiteral("PRAGMA journal_mode=DELETE"));
    journal.exec();
    if (!journal.next() || journal.value(0).toString().compare("delete", Qt::CaseInsensitive) != 0)
        throw DatenbankFehler(
            QStringLiteral("Die Datenbank kann nicht im Journal-Modus DELETE betrieben werden."));
    m_db.execute(QStringLiteral("PRAGMA synchronous=FULL"));
    Sql sync = m_db.sql(QStringLiteral("PRAGMA synchronous"));
    sync.exec();
    if (!sync.next() || sync.value(0).toInt() < 2)
        throw DatenbankFehler(
            QStringLiteral("Die Datenbank kann nicht sicher geschrieben werden."));
    Sql busy = m_db.sql(QStringLiteral("PRAGMA busy_timeout"));
    busy.exec();
    if (!busy.next() || busy.value(0).toInt() <= 0)
        m_db.execute(QStringLiteral("PRAGMA busy_timeout=%1").arg(m_db.busyTimeout()));
}

void TDM_EinAus::DataModuleCreate() {
    ADO_VelmoraConnect();
    // the questions come only when the reads worked and found nothing
    if (!mandantLesen()) {
        aufSchaedenPruefen();
        ersterStart();
    }
    if (!zeitraumLesen()) {
        aufSchaedenPruefen();
        ersterZeitraumAnlegen(gibMandant(), erstesJahrErfragen(true));
    }
    StammdatenFiltern(gibMandant());
    // the lists are refreshed again by every window that shows them
    try {
        setQueryZeitraumMandant(gibMandant());
        Table_MandantRequery();
    } catch (const DatenbankFehler&) {
    }
}

std::optional<int> TDM_EinAus::jahrAusText(const QString& text) {
    bool ok = false;
    const int jahr = text.trimmed().toInt(&ok, 10);
    if (!ok)
        return std::nullopt;
    return jahr;
}

QString TDM_EinAus::meldungJahrVierstellig() {
    return QStringLiteral("Geben sie das Jahr bitte 4-stellig an!");
}

int TDM_EinAus::erstesJahrErfragen(bool eingabeVorgeben) {
    const QString heute = QString::number(m_clock.today().year());
    QString vorgabe = heute;
    for (;;) {
        const auto antwort = m_ui.inputBox(QStringLiteral("Neues Wirtschaftsjahr"),
                                           QStringLiteral("Jahreszahl (zb: 2008)"), vorgabe);
        if (!antwort)
            continue;
        if (const auto jahr = jahrAusText(*antwort))
            return *jahr;
        m_ui.message(meldungJahrVierstellig());
        vorgabe = eingabeVorgeben ? *antwort : heute;
    }
}

QString TDM_EinAus::buchenAbschnitt(int mandant) {
    return QStringLiteral("Buchen Mandant ") + QString::number(mandant);
}

void TDM_EinAus::ersterStart() {
    QString name;
    for (;;) {
        const auto antwort =
            m_ui.inputBox(QStringLiteral("Neuer Mandant"),
                          QStringLiteral("Bezeichnung des Mandanten"), QStringLiteral("Mandant 1"));
        if (!antwort)
            continue;
        if (antwort->isEmpty()) {
            m_ui.message(QStringLiteral("Geben sie bitte eine Mandantenbezeichnung an."));
            continue;
        }
        name = *antwort;
        break;
    }
    Transaktion t(m_db);
    const int id = mandantAnlegen(name, true);
    stammdatenAnlegen(id);
    t.commit();
}

std::optional<int> TDM_EinAus::mandantLesen() {
    Sql q = m_db.sql(QStringLiteral("select id from t_mandant where aktiv = 1;"));
    q.exec();
    if (q.next())
        return q.value(0).toInt();
    return std::nullopt;
}

std::optional<int> TDM_EinAus::zeitraumLesen() {
    const auto mandant = mandantLesen();
    if (!mandant)
        return std::nullopt;
    Sql q = m_db.sql(
        QStringLiteral("select ZeitraumNummer from t_einstellungen where mandant = :mandant"));
    q.bind("mandant", *mandant).exec();
    if (q.next() && !q.value(0).isNull())
        return q.value(0).toInt();
    return std::nullopt;
}

void TDM_EinAus::aufSchaedenPruefen() {
    aufSchaedenPruefen(m_db);
}

void TDM_EinAus::aufSchaedenPruefen(Datenbank& db) {
    // a server finds damage on the read that meets it
    if (db.istServer())
        return;
    const QString path = db.path();
    // Header and size are compared under a read lock, so that no commit of
    // another program changes the file in between.
    const bool eigeneLesesperre = !db.inTransaction();
    if (eigeneLesesperre)
        db.execute(QStringLiteral("BEGIN"));
    struct Ende {
        Datenbank& db;
        bool aktiv;
        ~Ende() {
            if (aktiv)
                QSqlQuery(db.connection()).exec(QStringLiteral("COMMIT"));
        }
    } ende{db, eigeneLesesperre};

    QStringList befunde;
    Sql quick = db.sql(QStringLiteral("PRAGMA quick_check"));
    quick.exec();
    while (quick.next()) {
        befunde << datenbankmeldung::befunde(quick.value(0).toString());
    }
    // through SQLite's own handle: closing a second descriptor of the file
    // would drop the read lock taken above
    befunde << datenbankpruefung::kopfBefunde(db);
    if (!befunde.isEmpty())
        throw DatenbankFehler(datenbankmeldung::beschaedigt(path, befunde.join(QLatin1Char('\r'))));
}

QStringList TDM_EinAus::DatenbankPruefen(const std::function<void(int)>& fortschritt) {
    QStringList probleme = m_db.integritaetPruefen(fortschritt);
    if (m_db.istServer())
        return probleme;
    if (probleme.isEmpty())
        probleme << datenbankpruefung::typBefunde(m_db, true);
    // a check without findings lifts the backup's block on writing
    if (probleme.isEmpty())
        datenbankpruefung::markerEntfernen(m_db.path());
    return probleme;
}

int TDM_EinAus::gibMandant() {
    try {
        if (const auto m = mandantLesen())
            return *m;
    } catch (const DatenbankFehler&) {
    }
    return -1;
}

int TDM_EinAus::gibZeitraum() {
    try {
        if (const auto z = zeitraumLesen())
            return *z;
    } catch (const DatenbankFehler&) {
    }
    return -1;
}

int TDM_EinAus::gibJahr() {
    const int zeitraum = gibZeitraum();
    const int mandant = gibMandant();
    try {
        Sql q = m_db.sql(QStringLiteral(
            "select jahr from t_Zeitraum where id = :zeitraum and mandant = :mandant"));
        q.bind("zeitraum", zeitraum).bind("mandant", mandant).exec();
        if (q.next() && !q.value(0).isNull())
            return q.value(0).toInt();
    } catch (const DatenbankFehler&) {
    }
    return m_clock.today().year();
}

QString TDM_EinAus::gibMandantName(int mandant) {
    try {
        Sql q = m_db.sql(QStringLiteral("select Bezeichnung from t_Mandant where id = :mandant"));
        q.bind("mandant", mandant).exec();
        if (q.next())
            return q.value(0).toString();
    } catch (const DatenbankFehler&) {
    }
    return QString();
}

bool TDM_EinAus::gibSteuerDE() {
    const int mandant = gibMandant();
    try {
        Sql q =
            m_db.sql(QStringLiteral("select SteuerDE from t_stammdaten where mandant = :mandant"));
        q.bind("mandant", mandant).exec();
        if (q.next() && !q.value(0).isNull())
            return q.value(0).toInt() != 0;
    } catch (const DatenbankFehler&) {
    }
    return false;
}

int TDM_EinAus::gibNeueID(const QString& tabelle) {
    // The name is spliced into the statement: only the program's own tables.
    const char* bekannt = nullptr;
    for (const char* t : kTabellen) {
        if (tabelle.compare(QLatin1String(t), Qt::CaseInsensitive) == 0)
            bekannt = t;
    }
    if (!bekannt)
        return 1;
    try {
        Sql q = m_db.wiederverwendet(QStringLiteral("select max(ID) as maxID from ") +
                                     QLatin1String(bekannt));
        q.exec();
        if (q.next() && !q.value(0).isNull())
            return q.value(0).toInt() + 1;
    } catch (const DatenbankFehler&) {
    }
    return 1;
}

int TDM_EinAus::gibNeueBelegnummer() {
    const int zeitraum = gibZeitraum();
    const int mandant = gibMandant();
    try {
        Sql q = m_db.wiederverwendet(
            QStringLiteral("select max(Belegnummer) as maxNr from t_Buchungen "
                           "where Wirtschaftsjahr = :zeitraum and mandant = :mandant ;"));
        q.bind("zeitraum", zeitraum).bind("mandant", mandant).exec();
        if (q.next() && !q.value(0).isNull())
            return q.value(0).toInt() + 1;
    } catch (const DatenbankFehler&) {
    }
    return 1;
}

int TDM_EinAus::neueID(const QString& tabelle) {
    const char* bekannt = nullptr;
    for (const char* t : kTabellen) {
        if (tabelle.compare(QLatin1String(t), Qt::CaseInsensitive) == 0)
            bekannt = t;
    }
    if (!bekannt)
        throw DatenbankFehler(QStringLiteral("Die Tabelle %1 gibt es nicht.").arg(tabelle));
    Sql q = m_db.sql(QStringLiteral("select max(ID) as maxID from ") + QLatin1String(bekannt));
    q.exec();
    if (q.next() && !q.value(0).isNull())
        return q.value(0).toInt() + 1;
    aufSchaedenPruefen();
    return 1;
}

int TDM_EinAus::neueBelegnummer(int mandant, int zeitraum) {
    Sql q = m_db.sql(QStringLiteral("select max(Belegnummer) as maxNr from t_Buchungen "
                                    "where Wirtschaftsjahr = :zeitraum and mandant = :mandant ;"));
    q.bind("zeitraum", zeitraum).bind("mandant", mandant).exec();
    if (q.next() && !q.value(0).isNull())
        return q.value(0).toInt() + 1;
    aufSchaedenPruefen();
    return 1;
}

int TDM_EinAus::mandantIDAusUhr(const QDateTime& now) {
    const qint64 tag = QDate(1, 1, 1).daysTo(now.date()) + 1;
    const qint64 ms = now.time().msecsSinceStartOfDay();
    const qint64 m = tag * 86'400'000LL + ms;
    return static_cast<int>(m % 1'000'000'000LL);
}

bool TDM_EinAus::mandantIDBelegt(int id) {
    // A deleted client's bookings, postings and master data stay behind:
    // their identifier must not be handed out again.
    static const char* const statements[] = {
        "select 1 from T_Mandant where id = :id",
        "select 1 from T_Stammdaten where mandant = :id",
        "select 1 from T_Einstellungen where mandant = :id",
        "select 1 from T_Zeitraum where mandant = :id",
        "select 1 from T_BKreis where mandant = :id",
        "select 1 from T_Buchungen where mandant = :id",
        "select 1 from t_kontenbewegungen where mandant = :id"};
    for (const char* s : statements) {
        Sql q = m_db.sql(QLatin1String(s));
        q.bind("id", id).exec();
        if (q.next())
            return true;
    }
    return false;
}

int TDM_EinAus::gibNeueMandantID() {
    int id = mandantIDAusUhr(m_clock.now());
    try {
        while (mandantIDBelegt(id))
            ++id;
    } catch (const DatenbankFehler&) {
    }
    return id;
}

void TDM_EinAus::MandantAktivieren(int mandant) {
    Transaktion t(m_db);
    m_db.execute(QStringLiteral("update t_mandant set aktiv = 0"));
    m_db.sql(QStringLiteral("update t_mandant set aktiv = 1 where id = :mandant"))
        .bind("mandant", mandant)
        .exec();
    t.commit();
}

void TDM_EinAus::StammdatenFiltern(int mandant) {
    m_stammdatenFilter = mandant;
}

void TDM_EinAus::BuchungskreiseFiltern(int mandant) {
    m_bkFilter = mandant;
    ADO_BKRequery();
}

void TDM_EinAus::MandantLoeschen(int mandant) {
    Transaktion t(m_db);
    // the log keeps who the client was; its bookings stay in the file
    Sql name = m_db.sql(QStringLiteral("select Bezeichnung from T_Mandant where id = :mandant"));
    name.bind("mandant", mandant).exec();
    const QJsonObject vorher{
        {QStringLiteral("mandant"), mandant},
        {QStringLiteral("Bezeichnung"), name.next() ? name.value(0).toString() : QString()}};
    aenderungsprotokoll::eintragen(
        *this, mandant, -1, aenderungsprotokoll::mandantGeloescht(),
        QString::fromUtf8(QJsonDocument(vorher).toJson(QJsonDocument::Compact)), QString());
    for (const char* s : {"delete from T_Mandant where id = :mandant",
                          "delete from T_BKreis where mandant = :mandant",
                          "delete from T_Zeitraum where mandant = :mandant",
                          "delete from T_Einstellungen where mandant = :mandant",
                          "delete from T_Festschreibung where mandant = :mandant"})
        m_db.sql(QLatin1String(s)).bind("mandant", mandant).exec();
    t.commit();
}

void TDM_EinAus::ZeitraumLoeschen(int zeitraum) {
    Transaktion t(m_db);
    Sql jahr =
        m_db.sql(QStringLiteral("select mandant, Jahr from T_Zeitraum where id = :zeitraum"));
    jahr.bind("zeitraum", zeitraum).exec();
    if (jahr.next()) {
        const int mandant = jahr.value(0).toInt();
        QJsonObject vorher{{QStringLiteral("Jahr"), jahr.value(1).toInt()}};
        // identifiers of years are reused, so a lock must not outlive its year
        if (const auto bis = festschreibung::bis(m_db, mandant, zeitraum))
            vorher.insert(QStringLiteral("Bis"), dates::toSql(*bis));
        aenderungsprotokoll::jahrGeloescht(
            *this, zeitraum, mandant,
            QString::fromUtf8(QJsonDocument(vorher).toJson(QJsonDocument::Compact)));
    }
    // the postings of every booking of the year, matched by booking and client
    for (const char* s :
         {"delete from t_Kontenbewegungen where exists (select 1 from T_Buchungen "
          "where T_Buchungen.Wirtschaftsjahr = :zeitraum and T_Buchungen.ID = "
          "t_Kontenbewegungen.buchungen_id and T_Buchungen.mandant = t_Kontenbewegungen.mandant)",
          "delete from T_Buchungen where Wirtschaftsjahr = :zeitraum",
          "delete from T_Festschreibung where Wirtschaftsjahr = :zeitraum",
          "delete from T_Zeitraum where id = :zeitraum"})
        m_db.sql(QLatin1String(s)).bind("zeitraum", zeitraum).exec();
    t.commit();
}

std::optional<Stammdaten> TDM_EinAus::Table_Stammdaten() {
    // a database from before the exempt Kennzahl reads as "not chosen"
    const bool mitKZ = hatSteuerfreiKZ();
    Sql q = m_db.sql(
        QStringLiteral("select mandant, GanzerName, Adresse, PlzOrt, Telefon, Referat, "
                       "Steuernummer, SteuerDE, %1 from T_Stammdaten where mandant = :mandant")
            .arg(mitKZ ? QStringLiteral("SteuerfreiKZ") : QStringLiteral("NULL")));
    q.bind("mandant", m_stammdatenFilter).exec();
    if (!q.next())
        return std::nullopt;
    Stammdaten s;
    s.mandant = q.value(0).toInt();
    s.GanzerName = q.value(1).toString();
    s.Adresse = q.value(2).toString();
    s.PlzOrt = q.value(3).toString();
    s.Telefon = q.value(4).toString();
    s.Referat = q.value(5).toString();
    s.Steuernummer = q.value(6).toString();
    s.SteuerDE = !q.value(7).isNull() && q.value(7).toInt() != 0;
    s.SteuerfreiKZ = q.value(8).toString();
    return s;
}

bool TDM_EinAus::hatSteuerfreiKZ() {
    return m_db.hatSpalte(QStringLiteral("T_Stammdaten"), QStringLiteral("SteuerfreiKZ"));
}

void TDM_EinAus::stammdatenSpeichern(const Stammdaten& d) {
    const bool mitKZ = hatSteuerfreiKZ();
    if (!mitKZ && !d.SteuerfreiKZ.isEmpty())
        throw DatenbankFehler(QStringLiteral(
            "Die Datenbank hat noch kein Feld für die Kennzahl steuerfreier Umsätze.\rBitte das "
            "Programm neu starten, damit die Datenbank aktualisiert wird; die Stammdaten wurden "
            "nicht gespeichert."));
    Transaktion t(m_db);
    Sql q = m_db.sql(
        QStringLiteral(
            "update T_Stammdaten set GanzerName = :name, Adresse = :adresse, PlzOrt = :plzort, "
            "Telefon = :telefon, Referat = :referat, Steuernummer = :steuernummer, "
            "SteuerDE = :steuerde%1 where mandant = :mandant")
            .arg(mitKZ ? QStringLiteral(", SteuerfreiKZ = :steuerfreikz") : QString()));
    if (mitKZ)
        q.bind("steuerfreikz", textOderNull(d.SteuerfreiKZ));
    q.bind("name", textOderNull(d.GanzerName))
        .bind("adresse", textOderNull(d.Adresse))
        .bind("plzort", textOderNull(d.PlzOrt))
        .bind("telefon", textOderNull(d.Telefon))
        .bind("referat", textOderNull(d.Referat))
        .bind("steuernummer", textOderNull(d.Steuernummer))
        .bind("steuerde", d.SteuerDE ? 1 : 0)
        .bind("mandant", d.mandant)
        .exec();
    t.commit();
}

int TDM_EinAus::mandantAnlegen(const QString& bezeichnung, bool aktiv) {
    Transaktion t(m_db);
    const int id = gibNeueMandantID();
    m_db
        .sql(QStringLiteral(
            "insert into T_Mandant (id, Bezeichnung, Aktiv) values (:id, :bezeichnung, :aktiv)"))
        .bind("id", id)
        .bind("bezeichnung", texte::einzeilig(bezeichnung))
        .bind("aktiv", aktiv ? 1 : 0)
        .exec();
    t.commit();
    return id;
}

void TDM_EinAus::stammdatenAnlegen(int mandant) {
    m_db.sql(QStringLiteral("insert into T_Stammdaten (mandant) values (:mandant)"))
        .bind("mandant", mandant)
        .exec();
}

int TDM_EinAus::zeitraumAnlegen(int mandant, int jahr) {
    Transaktion t(m_db);
    const int id = neueID(QStringLiteral("t_zeitraum"));
    m_db.sql(QStringLiteral(
                 "insert into T_Zeitraum (id, mandant, Jahr) values (:id, :mandant, :jahr)"))
        .bind("id", id)
        .bind("mandant", mandant)
        .bind("jahr", jahr)
        .exec();
    t.commit();
    return id;
}

void TDM_EinAus::einstellungAnlegen(int mandant, int zeitraum) {
    m_db
        .sql(QStringLiteral(
            "insert into T_Einstellungen (mandant, ZeitraumNummer) values (:mandant, :zeitraum)"))
        .bind("mandant", mandant)
        .bind("zeitraum", zeitraum)
        .exec();
}

int TDM_EinAus::ersterZeitraumAnlegen(int mandant, int jahr) {
    Transaktion t(m_db);
    const int id = zeitraumAnlegen(mandant, jahr);
    einstellungAnlegen(mandant, id);
    t.commit();
    return id;
}

int TDM_EinAus::Table_EinstellungenAnzahl() {
    Sql q = m_db.sql(QStringLiteral("select count(*) from T_Einstellungen"));
    q.exec();
    return q.next() ? q.value(0).toInt() : 0;
}

int TDM_EinAus::Table_ZeitraumAnzahl() {
    Sql q = m_db.sql(QStringLiteral("select count(*) from T_Zeitraum"));
    q.exec();
    return q.next() ? q.value(0).toInt() : 0;
}

void TDM_EinAus::Table_MandantRequery() {
    Sql q = m_db.sql(QStringLiteral("select id, Bezeichnung, Aktiv from T_Mandant"));
    q.exec();
    m_tableMandant->setQuery(q.take());
}

void TDM_EinAus::setQueryZeitraumMandant(int mandant) {
    m_queryZeitraumMandant = mandant;
    QueryZeitraumRequery();
}

void TDM_EinAus::QueryZeitraumRequery() {
    Sql q = m_db.sql(
        QStringLiteral("select * from t_zeitraum where mandant = :mandant order by jahr desc;"));
    q.bind("mandant", m_queryZeitraumMandant).exec();
    m_queryZeitraum->setQuery(q.take());
}

void TDM_EinAus::ADO_BKRequery() {
    Sql q = m_db.sql(QStringLiteral(
        "Select * from T_BKreis where mandant = :mandant order by BKName COLLATE DEUTSCH"));
    q.bind("mandant", m_bkFilter).exec();
    m_adoBK->setQuery(q.take());
}
