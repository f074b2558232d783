#include "data/aenderungsprotokoll.h"
#include "fixture.h"
#include "sicherung/aktualisierung.h"
#include "sicherung/datensicherung.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlRecord>

namespace {

QByteArray inhalt(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly)
               ? QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256)
               : QByteArray();
}

// A working database of an older release: one account and one index fewer
// than the template, and the user's own rows, among them an account of his own.
class AktualisierungTest : public VelmoraFixture {
protected:
    void SetUp() override {
        VelmoraFixture::SetUp();
        ersterMandant();
        const int m = dm->gibMandant();
        const int z = dm->gibZeitraum();
        const int bk = kreis(m, "Honorare", "HON");
        bewegung(m, buchung(m, z, "2026-03-01", "120,00", 20, bk, true), 1020, "20,00");
        buchung(m, z, "2026-04-01", "55,50", 10, bk, false);
        dm->db().execute("drop index ix_buchungen_bk");
        dm->db().execute("delete from T_Kontenplan where Kontonummer = 1019");
        dm->db().execute(
            "update T_Kontenplan set Kontoname = 'Meine USt 20' where Kontonummer = 1020");
        dm->db().execute("insert into T_Kontenplan values (4711, 'Eigenes Konto', 0)");
        vorher = tabellenInhalt();
        dm.reset();
        umgebung.reset();
        ASSERT_TRUE(QFile::copy(QStringLiteral(VELMORA_TEMPLATE_PATH), vorlage()));
        QFile::setPermissions(vorlage(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }

    QString vorlage() const { return dir() + "Velmora_neu.mdb"; }
    // A later release's template: a statement run on the template.
    void vorlageAendern(const QString& sql) {
        Datenbank db("vorlage_aendern");
        db.open(vorlage());
        db.execute(sql);
    }
    QStringList abfrage(const QString& path, const QString& sql) {
        Datenbank db("aktualisierung_test");
        db.open(path, true);
        Sql q = db.sql(sql);
        q.exec();
        QStringList zeilen;
        while (q.next()) {
            QStringList werte;
            for (int i = 0; i < q.query().record().count(); ++i)
                werte << q.value(i).toString();
            zeilen << werte.join('|');
        }
        return zeilen;
    }
    // Every user row of the working database, by the columns it had.
    std::map<QString, QStringList> tabellenInhalt() {
        std::map<QString, QStringList> alle;
        for (const char* t : {"T_Mandant", "T_Stammdaten", "T_Einstellungen", "T_Zeitraum",
                              "T_BKreis", "T_Buchungen", "t_kontenbewegungen"}) {
            Sql q = dm ? dm->db().sql(QStringLiteral("select * from %1 order by 1").arg(t))
                       : Sql(*eigene, QStringLiteral("select * from %1 order by 1").arg(t));
            q.exec();
            while (q.next()) {
                QStringList werte;
                for (int i = 0; i < q.query().record().count(); ++i)
                    werte << q.value(i).toString();
                alle[t] << werte.join('|');
            }
        }
        return alle;
    }
    int programmLaufen() {
        QProcess p;
        p.setWorkingDirectory(dir());
        p.start(QStringLiteral(VELMORA_BUILD_DIR "/check_update"), {});
        EXPECT_TRUE(p.waitForFinished(30'000));
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    }
    QStringList log() {
        QFile f(Datensicherung(dir()).logDatei());
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts);
    }

    std::map<QString, QStringList> vorher;
    std::unique_ptr<Datenbank> eigene;
};

TEST_F(AktualisierungTest, AddsWhatTheWorkingDatabaseLacksAndKeepsEveryUserRow) {
    // what a later release may bring: a table with its rows and a column
    vorlageAendern("create table T_Waehrung (Kurz TEXT PRIMARY KEY, Name TEXT)");
    vorlageAendern("insert into T_Waehrung values ('EUR', 'Euro')");
    vorlageAendern("alter table T_Mandant add column Farbe TEXT NOT NULL DEFAULT 'blau'");
    vorlageAendern("create index ix_waehrung_name on T_Waehrung (Name)");

    const QDateTime jetzt(QDate(2026, 12, 10), QTime(10, 0));
    const auto e = aktualisierung::aktualisieren(dir(), jetzt);
    EXPECT_TRUE(e.vorlageGefunden);
    EXPECT_EQ(e.ergaenzt,
              QStringList({"Spalte T_Mandant.Farbe", "Tabelle T_Waehrung", "Index ix_buchungen_bk",
                           "Index ix_waehrung_name", "Konto 1019"}));
    EXPECT_FALSE(QFile::exists(vorlage()));

    const QString db = dbPath();
    EXPECT_EQ(
        abfrage(db, "select Kontonummer, Kontoname, Steuersatz from T_Kontenplan where "
                    "Kontonummer in (1019, 1020, 4711) order by 1"),
        QStringList({"1019|Umsatzsteuer 19%|19", "1020|Meine USt 20|20", "4711|Eigenes Konto|0"}));
    EXPECT_EQ(abfrage(db, "select name from sqlite_master where name in ('ix_buchungen_bk', "
                          "'ix_waehrung_name') order by 1"),
              QStringList({"ix_buchungen_bk", "ix_waehrung_name"}));
    EXPECT_EQ(abfrage(db, "select * from T_Waehrung"), QStringList{"EUR|Euro"});
    EXPECT_EQ(abfrage(db, "select Farbe from T_Mandant"), QStringList{"blau"});

    eigene = std::make_unique<Datenbank>("nachher");
    eigene->open(db, true);
    auto nachher = tabellenInhalt();
    eigene.reset();
    // the new column is the last of its row
    for (QString& zeile : nachher["T_Mandant"])
        zeile.chop(QStringLiteral("|blau").size());
    EXPECT_EQ(nachher, vorher);

    // the backup holds the file as it was before
    ASSERT_EQ(Datensicherung(dir()).kopien(), QStringList{"Velmora_tab_2026-12-10_100000.mdb"});
    EXPECT_EQ(abfrage(e.sicherung, "select count(*) from T_Kontenplan where Kontonummer = 1019"),
              QStringList{"0"});

    // the next start finds no template and does nothing
    EXPECT_FALSE(aktualisierung::aktualisieren(dir(), jetzt).vorlageGefunden);
    EXPECT_EQ(Datensicherung(dir()).kopien().size(), 1);
}

// A file of a release before the covering indexes gets every index of the
// template, with the template's definition, and the totals still add up.
TEST_F(AktualisierungTest, AFileWithoutTheTemplatesIndexesGetsThemAll) {
    const QString indizes =
        "select name || ': ' || sql from sqlite_master where type = 'index' and sql is not null "
        "order by name";
    const QStringList soll = abfrage(vorlage(), indizes);
    ASSERT_TRUE(soll.contains(
        "ix_buchungen_summen: CREATE INDEX ix_buchungen_summen ON T_Buchungen (mandant, "
        "Wirtschaftsjahr, IstEinnahme, IstDrittland, Betrag)"));
    {
        Datenbank db("alte_indizes");
        db.open(dbPath());
        for (const char* name : {"ix_buchungen_summen", "ix_buchungen_beleg",
                                 "ix_kontenbewegungen_summen", "ix_buchungen_liste"})
            db.execute(QStringLiteral("drop index %1").arg(name));
        db.execute("create index ix_kontenbewegungen_buchung on t_kontenbewegungen (mandant, "
                   "Buchungen_id)");
    }
    const auto e =
        aktualisierung::aktualisieren(dir(), QDateTime(QDate(2026, 12, 10), QTime(10, 0)));
    EXPECT_TRUE(e.vorlageGefunden);
    QStringList erwartet = soll;
    // an index the template no longer has stays: it only costs room
    erwartet << "ix_kontenbewegungen_buchung: CREATE INDEX ix_kontenbewegungen_buchung on "
                "t_kontenbewegungen (mandant, Buchungen_id)";
    erwartet.sort();
    EXPECT_EQ(abfrage(dbPath(), indizes), erwartet);
    EXPECT_EQ(abfrage(dbPath(), "select count(*) from T_Buchungen indexed by ix_buchungen_summen "
                                "where mandant > 0"),
              QStringList{"2"});
}

TEST_F(AktualisierungTest, ADatabaseFromBeforeTheChangeLogStartsItWithItsBookings) {
    {
        Datenbank db("alt");
        db.open(dbPath());
        for (const char* sql : {"drop table T_Protokoll", "drop table T_Festschreibung"})
            db.execute(QLatin1String(sql));
    }
    const QDateTime jetzt(QDate(2026, 12, 10), QTime(10, 0));
    const auto e = aktualisierung::aktualisieren(dir(), jetzt);
    EXPECT_EQ(e.ergaenzt, QStringList({"Tabelle T_Festschreibung", "Tabelle T_Protokoll",
                                       "Index ix_buchungen_bk", "Index ix_festschreibung_jahr",
                                       "Index ix_protokoll_buchung", "Index ix_protokoll_liste",
                                       "Konto 1019", "Protokoll: 2 Buchungen übernommen"}));
    EXPECT_EQ(abfrage(dbPath(), "select id, Zeitpunkt, Aktion, Buchungsid, Vorher is null from "
                                "T_Protokoll order by id"),
              QStringList({"1|2026-12-10T10:00:00|übernommen|1|1",
                           "2|2026-12-10T10:00:00|übernommen|2|1"}));
    // the booking with its posting, as a later change would log it
    EXPECT_TRUE(abfrage(dbPath(), "select Nachher from T_Protokoll where id = 1")
                    .value(0)
                    .contains(R"("Kontenbewegungen":[[1020,"20.0000"]])"));
    EXPECT_TRUE(abfrage(dbPath(), "select Nachher from T_Protokoll where id = 2")
                    .value(0)
                    .contains(R"("Kontenbewegungen":[])"));

    Datenbank db("nachher");
    db.open(dbPath());
    const aenderungsprotokoll::Pruefung p = aenderungsprotokoll::pruefen(db);
    EXPECT_EQ(p.fehler, QString());
    EXPECT_EQ(p.eintraege, 2);
    // the next update finds the log and adds nothing to it
    db.close();
    ASSERT_TRUE(QFile::copy(QStringLiteral(VELMORA_TEMPLATE_PATH), vorlage()));
    QFile::setPermissions(vorlage(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    EXPECT_TRUE(aktualisierung::aktualisieren(dir(), jetzt.addSecs(1)).ergaenzt.isEmpty());
    EXPECT_EQ(abfrage(dbPath(), "select count(*) from T_Protokoll"), QStringList{"2"});
}

TEST_F(AktualisierungTest, TheProgramMergesRemovesTheTemplateAndLogs) {
    EXPECT_EQ(programmLaufen(), 0);
    EXPECT_FALSE(QFile::exists(vorlage()));
    EXPECT_EQ(abfrage(dbPath(), "select count(*) from T_Kontenplan where Kontonummer = 1019"),
              QStringList{"1"});
    ASSERT_EQ(log().size(), 1);
    EXPECT_TRUE(log()[0].contains("Index ix_buchungen_bk, Konto 1019")) << log()[0].toStdString();
}

TEST_F(AktualisierungTest, AFailureLeavesBothFilesAsTheyWereForTheNextStart) {
    const struct {
        const char* fall;
        std::function<void()> anrichten;
        const char* grund;
    } faelle[] = {
        // fails after a table and a column were added: all of it goes back
        {"unique index",
         [&] {
             vorlageAendern("create table T_Neu (id INTEGER)");
             vorlageAendern("alter table T_BKreis add column Farbe TEXT");
             vorlageAendern("create unique index ix_eindeutig on T_Buchungen (mandant)");
         },
         "UNIQUE"},
        {"foreign template",
         [&] {
             QFile f(vorlage());
             ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
             f.write("kein SQLite");
         },
         "Die Vorlage wurde nicht verwendet"},
    };
    for (const auto& fall : faelle) {
        QFile::remove(vorlage());
        ASSERT_TRUE(QFile::copy(QStringLiteral(VELMORA_TEMPLATE_PATH), vorlage()));
        QFile::setPermissions(vorlage(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        fall.anrichten();
        const QByteArray arbeit = inhalt(dbPath());
        const QByteArray neu = inhalt(vorlage());
        const int zeilen = log().size();
        const int status = programmLaufen();
        EXPECT_EQ(status, 1) << fall.fall;
        EXPECT_EQ(inhalt(dbPath()), arbeit) << fall.fall;
        EXPECT_EQ(inhalt(vorlage()), neu) << fall.fall;
        ASSERT_EQ(log().size(), zeilen + 1) << fall.fall;
        EXPECT_TRUE(log().back().contains(fall.grund)) << log().back().toStdString();
        EXPECT_TRUE(log().back().contains("fehlgeschlagen")) << log().back().toStdString();
    }
}

TEST_F(AktualisierungTest, ADamagedWorkingDatabaseIsLeftAlone) {
    {
        QFile f(dbPath());
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        f.resize(f.size() - 4096);
    }
    const QByteArray arbeit = inhalt(dbPath());
    EXPECT_THROW(aktualisierung::aktualisieren(dir(), QDateTime(QDate(2026, 12, 10), QTime(10, 0))),
                 DatenbankFehler);
    EXPECT_EQ(inhalt(dbPath()), arbeit);
    EXPECT_TRUE(QFile::exists(vorlage()));
    EXPECT_TRUE(Datensicherung(dir()).kopien().isEmpty());
}

} // namespace

// A file from before the rate of 4,9 % and reverse charge: the updater adds
// the two columns of the bookings (NULL: as the booking always was) and the
// two accounts; every booking and posting stays as it was.
TEST_F(AktualisierungTest, AFileFromBeforeTheRateOf4_9GetsItsAccountsAndColumns) {
    {
        Datenbank db("alt");
        db.open(dbPath());
        for (const char* sql : {"alter table T_Buchungen drop column Steuerschuld",
                                "alter table T_Buchungen drop column SteuerfreiKZ",
                                "delete from T_Kontenplan where Kontonummer in (1049, 2049)"})
            db.execute(QLatin1String(sql));
    }
    const QDateTime jetzt(QDate(2026, 12, 10), QTime(10, 0));
    const auto e = aktualisierung::aktualisieren(dir(), jetzt);
    EXPECT_EQ(e.ergaenzt,
              QStringList({"Spalte T_Buchungen.Steuerschuld", "Spalte T_Buchungen.SteuerfreiKZ",
                           "Index ix_buchungen_bk", "Konto 1019", "Konto 1049", "Konto 2049"}));
    EXPECT_EQ(abfrage(dbPath(), "select Kontonummer, Kontoname, Steuersatz, typeof(Steuersatz) "
                                "from T_Kontenplan where Kontonummer in (1049, 2049) order by 1"),
              QStringList({"1049|Umsatzsteuer 4,9%|4.9|real", "2049|Vorsteuer 4,9%|4.9|real"}));
    eigene = std::make_unique<Datenbank>("nachher");
    eigene->open(dbPath(), true);
    auto nachher = tabellenInhalt();
    eigene.reset();
    // the new columns come back empty, as the rows before held them
    EXPECT_EQ(nachher, vorher);
    EXPECT_EQ(abfrage(dbPath(), "select count(*) from T_Buchungen where Steuerschuld is null and "
                                "SteuerfreiKZ is null"),
              QStringList{"2"});
}
