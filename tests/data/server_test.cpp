#include "bookings/buchungsschreiber.h"
#include "data/aenderungsprotokoll.h"
#include "data/currency.h"
#include "fixture.h"

#include <QElapsedTimer>
#include <atomic>
#include <thread>

namespace {

// Only on the test server: what a clerk meets there and a user of the file never does.
class ServerTest : public VelmoraFixture {
protected:
    void SetUp() override {
        if (!testserver::aktiv())
            GTEST_SKIP() << "braucht den Testserver";
        VelmoraFixture::SetUp();
    }

    QString fehlerBeimVerbinden(const serverziel::Ziel& ziel, const QString& kennwort = {}) {
        TDM_EinAus modul(dir(), ui, clock);
        modul.setServer(ziel, kennwort);
        try {
            modul.ADO_VelmoraConnect();
        } catch (const DatenbankFehler& e) {
            return e.text();
        }
        return QStringLiteral("verbunden");
    }
};

TEST_F(ServerTest, EveryRefusalIsGermanAndNamesTheServer) {
    serverziel::Ziel ziel = *m_server;
    const QString socket = ziel.host;
    struct Fall {
        QString host, benutzer, datenbank, kennwort, anfang;
    };
    const QString anderes = ziel.datenbank + QStringLiteral("_fremd");
    const QString leer = ziel.datenbank + QStringLiteral("_leer");
    {
        Datenbank verwaltung(QStringLiteral("servertest"));
        serverziel::Ziel v = ziel;
        v.datenbank = QStringLiteral("postgres");
        verwaltung.openServer(v);
        for (const QString& db : {anderes, leer}) {
            verwaltung.execute(QStringLiteral("DROP DATABASE IF EXISTS %1").arg(db));
            verwaltung.execute(QStringLiteral("CREATE DATABASE %1").arg(db));
        }
        serverziel::Ziel f = ziel;
        f.datenbank = anderes;
        Datenbank fremd(QStringLiteral("servertest_fremd"));
        fremd.openServer(f);
        fremd.execute(QStringLiteral("CREATE TABLE kunden (nr integer)"));
    }
    const Fall faelle[] = {
        {QStringLiteral("/tmp/velmora-kein-server"),
         ziel.benutzer,
         ziel.datenbank,
         {},
         QStringLiteral("Der Datenbankserver postgresql://%1@/tmp/velmora-kein-server/%2 ist nicht "
                        "erreichbar.")
             .arg(ziel.benutzer, ziel.datenbank)},
        {socket, QStringLiteral("kennwort"), ziel.datenbank, QStringLiteral("falsch"),
         QStringLiteral("Der Datenbankserver postgresql://kennwort@%1/%2 hat die Anmeldung "
                        "abgelehnt: Benutzer oder Kennwort sind falsch.")
             .arg(socket, ziel.datenbank)},
        {socket,
         ziel.benutzer,
         QStringLiteral("gibt_es_nicht"),
         {},
         QStringLiteral("Die Datenbank auf dem Datenbankserver postgresql://%1@%2/gibt_es_nicht "
                        "gibt es nicht.")
             .arg(ziel.benutzer, socket)},
        {socket,
         ziel.benutzer,
         anderes,
         {},
         QStringLiteral("Die Datenbank postgresql://%1@%2/%3 ist keine Velmora-Datenbank.")
             .arg(ziel.benutzer, socket, anderes)},
        {socket,
         ziel.benutzer,
         leer,
         {},
         QStringLiteral("Die Datenbank postgresql://%1@%2/%3 ist leer.")
             .arg(ziel.benutzer, socket, leer)},
    };
    for (const Fall& f : faelle) {
        serverziel::Ziel z = ziel;
        z.host = f.host;
        z.benutzer = f.benutzer;
        z.datenbank = f.datenbank;
        const QString text = fehlerBeimVerbinden(z, f.kennwort);
        EXPECT_TRUE(text.startsWith(f.anfang)) << text.toStdString();
    }
    // the right password gets in
    serverziel::Ziel richtig = ziel;
    richtig.benutzer = QStringLiteral("kennwort");
    const QString mitKennwort = fehlerBeimVerbinden(richtig, QStringLiteral("richtig"));
    EXPECT_FALSE(mitKennwort.contains(QStringLiteral("Anmeldung abgelehnt")))
        << mitKennwort.toStdString();
}

// Three clerks booking into one client at once: no booking lost, no voucher
// number twice, the change log's chain intact.
TEST_F(ServerTest, ThreeClerksBookingAtOnce) {
    ersterMandant(QStringLiteral("Büro"), 2026);
    const int bk = kreis(dm->gibMandant(), QStringLiteral("Erlöse"), QStringLiteral("ER"));
    const int mandant = dm->gibMandant();
    const int zeitraum = dm->gibZeitraum();
    const int sekunden = qEnvironmentVariableIntValue("VELMORA_SCHREIBER_SEKUNDEN") > 0
                             ? qEnvironmentVariableIntValue("VELMORA_SCHREIBER_SEKUNDEN")
                             : 5;
    std::atomic<int> gebucht{0};
    std::atomic<int> fehler{0};
    const auto schreiber = [&] {
        ScriptedUserSeam stumm;
        const auto modul = weiteresModul(stumm);
        QElapsedTimer uhr;
        uhr.start();
        try {
            while (uhr.elapsed() < sekunden * 1000) {
                Buchung b;
                b.mandant = mandant;
                b.Wirtschaftsjahr = zeitraum;
                b.Buchungsdatum = QDate(2026, 5, 1);
                b.Betrag = *Currency::parse(QStringLiteral("12"));
                b.Steuersatz = 20;
                b.BK = bk;
                Buchungsschreiber(*modul).neueBuchungSpeichern(b, Belegnummernwahl::Naechste);
                ++gebucht;
            }
        } catch (const DatenbankFehler& e) {
            ++fehler;
            ADD_FAILURE() << e.text().toStdString();
        }
    };
    std::thread a(schreiber), b(schreiber), c(schreiber);
    a.join();
    b.join();
    c.join();
    EXPECT_EQ(fehler, 0);
    ASSERT_GT(gebucht, 30);
    EXPECT_EQ(anzahl(QStringLiteral("T_Buchungen")), gebucht.load());
    EXPECT_EQ(wert(QStringLiteral("select count(distinct Belegnummer) from T_Buchungen")).toInt(),
              gebucht.load());
    EXPECT_EQ(wert(QStringLiteral("select max(Belegnummer) from T_Buchungen")).toInt(),
              gebucht.load());
    EXPECT_EQ(anzahl(QStringLiteral("t_kontenbewegungen")), gebucht.load());
    const auto pruefung = aenderungsprotokoll::pruefen(dm->db());
    EXPECT_TRUE(pruefung.fehler.isEmpty()) << pruefung.fehler.toStdString();
    EXPECT_EQ(pruefung.eintraege, gebucht.load());
    // every row names its writer: the clerks' database role
    EXPECT_EQ(anzahl(QStringLiteral("T_Protokoll"),
                     QStringLiteral("Benutzer = '%1'").arg(m_server->benutzer)),
              gebucht.load());
    RecordProperty("gebucht", gebucht.load());
    std::printf(
        "drei Schreiber, %d s: %d Buchungen, %d Belegnummern doppelt, %d Fehler\n", sekunden,
        gebucht.load(),
        gebucht.load() -
            wert(QStringLiteral("select count(distinct Belegnummer) from T_Buchungen")).toInt(),
        fehler.load());
}

} // namespace
