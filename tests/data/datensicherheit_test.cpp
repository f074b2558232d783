#include "app/velmoraapp.h"
#include "bookings/buchungsschreiber.h"
#include "data/buchung.h"
#include "data/datenbankpruefung.h"
#include "fixture.h"

#include <QCryptographicHash>
#include <QFile>
#include <QSqlQuery>
#include <thread>

namespace {

QByteArray hashOf(const QString& path) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

// A client with a year and 30 bookings, written by the program itself.
class Datensicherheit : public VelmoraFixture {
protected:
    void SetUp() override {
        VelmoraFixture::SetUp();
        ersterMandant(QStringLiteral("Test"), 2024);
        const int bk = kreis(dm->gibMandant(), QStringLiteral("Allgemein"), QStringLiteral("A"));
        for (int i = 0; i < 30; ++i)
            Buchungsschreiber(*dm).neueBuchungSpeichern(beleg(bk, "120"),
                                                        Belegnummernwahl::Naechste);
        dm.reset();
        umgebung.reset();
    }

    // The fixture's module on the file again, for its query helpers.
    void oeffnen() { dm = weiteresModul(ui); }

    Buchung beleg(int bk, const QString& betrag) {
        Buchung b;
        b.mandant = dm->gibMandant();
        b.Wirtschaftsjahr = dm->gibZeitraum();
        b.Buchungsdatum = QDate(2024, 3, 1);
        b.Betrag = *Currency::parse(betrag);
        b.Steuersatz = 20;
        b.BK = bk;
        return b;
    }

    QString beschaedigt() const {
        return QStringLiteral("Die Datenbank %1 ist beschädigt oder nicht lesbar: ")
            .arg(QDir::toNativeSeparators(dbPath()));
    }

    // The root page of the settings index: its number and the page size.
    std::pair<int, int> indexSeite() {
        int seite = 0;
        int groesse = 0;
        {
            Datenbank db(QStringLiteral("lesen"));
            db.open(dbPath());
            Sql q = db.sql("select rootpage from sqlite_master where name = "
                           "'ix_einstellungen_mandant'");
            q.exec();
            EXPECT_TRUE(q.next());
            seite = q.value(0).toInt();
            Sql g = db.sql("pragma page_size");
            g.exec();
            EXPECT_TRUE(g.next());
            groesse = g.value(0).toInt();
        }
        return {seite, groesse};
    }

    // The root page of an index overwritten: the file keeps its size.
    void indexSeiteUeberschreiben() {
        const auto [seite, groesse] = indexSeite();
        QFile f(dbPath());
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.seek(qint64(seite - 1) * groesse));
        f.write(QByteArray(groesse, '\x5a'));
    }
};

// The two damaged files of a real report: a file cut short, whose broken
// index answers "no year" without any error, and an index page overwritten.
TEST_F(Datensicherheit, ADamagedFileIsReportedAndNeverWrittenAtStartUp) {
    NUR_DATEI();
    for (const bool abgeschnitten : {true, false}) {
        SetUp();
        if (abgeschnitten) {
            // cut within the settings index, wherever later pages lie
            const auto [seite, groesse] = indexSeite();
            QFile(dbPath()).resize(qint64(seite) * groesse - 1000);
        } else
            indexSeiteUeberschreiben();
        const QByteArray vorher = hashOf(dbPath());

        // the data module alone
        ui.clearShown();
        TDM_EinAus modul(dir(), ui, clock);
        try {
            modul.DataModuleCreate();
            ADD_FAILURE() << "a damaged file was opened as if sound";
        } catch (const DatenbankFehler& e) {
            EXPECT_TRUE(e.text().startsWith(beschaedigt())) << e.text().toStdString();
        }
        EXPECT_TRUE(ui.shown().empty()) << "no question on a damaged file";

        // the program's start-up: the message, no question, no window
        ScriptedUserSeam programmUi;
        VelmoraApp app(dir(), dir(), programmUi, clock);
        EXPECT_FALSE(app.starten());
        ASSERT_EQ(programmUi.texts("error").size(), 1);
        EXPECT_TRUE(programmUi.texts("error").front().startsWith(beschaedigt()));
        EXPECT_TRUE(programmUi.texts("input").isEmpty());
        EXPECT_EQ(hashOf(dbPath()), vorher) << (abgeschnitten ? "cut" : "overwritten");

        // the full check names the problems, or the file is refused as damaged
        Datenbank db(QStringLiteral("pruefen"));
        try {
            db.open(dbPath());
            EXPECT_FALSE(db.integritaetPruefen().isEmpty());
        } catch (const DatenbankFehler& e) {
            EXPECT_TRUE(e.text().startsWith(beschaedigt())) << e.text().toStdString();
        }
    }
}

TEST_F(Datensicherheit, TheFullCheckReportsProgressAndASoundFile) {
    NUR_DATEI();
    TDM_EinAus modul(dir(), ui, clock);
    modul.ADO_VelmoraConnect();
    QList<int> schritte;
    EXPECT_TRUE(modul.DatenbankPruefen([&](int p) { schritte << p; }).isEmpty());
    ASSERT_FALSE(schritte.isEmpty());
    EXPECT_EQ(schritte.back(), 100);
    EXPECT_TRUE(std::is_sorted(schritte.begin(), schritte.end()));
    EXPECT_EQ(datenbankpruefung::inOrdnung(), "Die Datenbank ist in Ordnung.");

    // the finding points to the backups once there are any
    const QStringList probleme{"a", "b"};
    EXPECT_EQ(datenbankpruefung::befund(dbPath(), probleme, dir()), beschaedigt() + "a\rb");
    QDir(dir()).mkdir("Datensicherung");
    QFile kopie(dir() + "Datensicherung/Velmora_tab_2026-12-01_100000.mdb");
    kopie.open(QIODevice::WriteOnly);
    kopie.close();
    EXPECT_TRUE(
        datenbankpruefung::befund(dbPath(), probleme, dir())
            .endsWith("\rSicherungen der Datenbank liegen im Ordner " +
                      QDir::toNativeSeparators(QDir(dir() + "Datensicherung").absolutePath()) +
                      "."));
}

// Two programs booking at once: each voucher number is taken inside the
// write, so none is handed out twice.
TEST_F(Datensicherheit, TwoWritersNeverDuplicateAVoucherNumber) {
    int mandant = 0, zeitraum = 0, bk = 0;
    {
        const auto modul = weiteresModul(ui);
        mandant = modul->gibMandant();
        zeitraum = modul->gibZeitraum();
        Sql q = modul->db().sql("select id from T_BKreis");
        q.exec();
        ASSERT_TRUE(q.next());
        bk = q.value(0).toInt();
    }
    std::atomic<int> fehler{0};
    const auto schreiber = [&] {
        ScriptedUserSeam stumm;
        const auto m = weiteresModul(stumm, false);
        TDM_EinAus& modul = *m;
        modul.db().setBusyTimeout(60000);
        try {
            modul.ADO_VelmoraConnect();
            for (int i = 0; i < 200; ++i) {
                Buchung b;
                b.mandant = mandant;
                b.Wirtschaftsjahr = zeitraum;
                b.Buchungsdatum = QDate(2024, 5, 1);
                b.Betrag = *Currency::parse("10");
                b.Steuersatz = 10;
                b.BK = bk;
                Buchungsschreiber(modul).neueBuchungSpeichern(b, Belegnummernwahl::Naechste);
            }
        } catch (const DatenbankFehler& e) {
            ++fehler;
            ADD_FAILURE() << e.text().toStdString();
        }
    };
    std::thread a(schreiber);
    std::thread b(schreiber);
    a.join();
    b.join();
    EXPECT_EQ(fehler, 0);
    oeffnen();
    EXPECT_EQ(wert("select count(*) from T_Buchungen").toInt(), 430);
    EXPECT_EQ(wert("select count(distinct Belegnummer) from T_Buchungen").toInt(), 430);
    EXPECT_EQ(wert("select max(Belegnummer) from T_Buchungen").toInt(), 430);
    EXPECT_EQ(wert("select count(*) from t_kontenbewegungen").toInt(), 430);
}

// Another program holds the file: a clear German message, never "no Velmora
// database" or SQLite's English text.
TEST_F(Datensicherheit, ALockHeldByAnotherProgramIsNamedAsSuch) {
    NUR_DATEI();
    const QString gesperrt =
        QStringLiteral("Die Datenbank %1 wird gerade von einem anderen Programm benutzt. Bitte "
                       "versuchen Sie es in einigen Sekunden noch einmal.")
            .arg(dbPath());
    Datenbank anderes(QStringLiteral("anderes"));
    anderes.open(dbPath());
    {
        // a writer between its first change and its commit
        anderes.execute("BEGIN IMMEDIATE");
        TDM_EinAus modul(dir(), ui, clock);
        modul.db().setBusyTimeout(100);
        modul.ADO_VelmoraConnect();
        Buchung b;
        b.mandant = modul.gibMandant();
        b.Wirtschaftsjahr = modul.gibZeitraum();
        b.Buchungsdatum = QDate(2024, 5, 1);
        b.Betrag = *Currency::parse("10");
        b.BK = 1;
        try {
            Buchungsschreiber(modul).neueBuchungSpeichern(b, Belegnummernwahl::Naechste);
            ADD_FAILURE() << "wrote past another program's lock";
        } catch (const DatenbankFehler& e) {
            EXPECT_EQ(e.text(), gesperrt);
        }
        anderes.execute("ROLLBACK");
    }
    {
        // a writer in the middle of its commit: nobody may read
        anderes.execute("BEGIN EXCLUSIVE");
        TDM_EinAus modul(dir(), ui, clock);
        modul.db().setBusyTimeout(100);
        try {
            modul.DataModuleCreate();
            ADD_FAILURE() << "read past an exclusive lock";
        } catch (const DatenbankFehler& e) {
            EXPECT_EQ(e.text(), gesperrt);
        }
        anderes.execute("ROLLBACK");
        EXPECT_TRUE(ui.shown().empty());
    }
}

// Every family of result codes a user can meet: a German sentence that
// names the file and says what to do, the driver's text only in parentheses.
TEST(Datenbankmeldung, SqliteCodesBecomeGermanMessages) {
    const QString datei = QStringLiteral("/tmp/x/Velmora_tab.mdb");
    const QString beschaedigt =
        QStringLiteral("Die Datenbank /tmp/x/Velmora_tab.mdb ist beschädigt oder nicht lesbar: ");
    const QString zurueck =
        beschaedigt + "Bitte spielen Sie eine Sicherung der Datenbank zurück. (Grund)";
    const QString lesefehler =
        beschaedigt + "Der Datenträger meldet einen Lesefehler. Bitte prüfen Sie den Datenträger "
                      "und spielen Sie gegebenenfalls eine Sicherung zurück. (Grund)";
    const QString voll = "Der Datenträger ist voll: die Datenbank /tmp/x/Velmora_tab.mdb kann "
                         "nicht geschrieben werden. Bitte schaffen Sie Platz auf dem Datenträger; "
                         "die letzte Änderung wurde nicht gespeichert. (Grund)";
    const QString schreibfehler =
        "Schreib- oder Lesefehler des Datenträgers bei der Datenbank /tmp/x/Velmora_tab.mdb; die "
        "letzte Änderung wurde nicht gespeichert. Bitte prüfen Sie den Datenträger und versuchen "
        "Sie es noch einmal. (Grund)";
    const QString gesperrt = "Die Datenbank /tmp/x/Velmora_tab.mdb wird gerade von einem anderen "
                             "Programm benutzt. Bitte versuchen Sie es in einigen Sekunden noch "
                             "einmal.";
    const QString speicher = "Der Arbeitsspeicher reicht für die Datenbank "
                             "/tmp/x/Velmora_tab.mdb nicht aus. Bitte schließen Sie andere "
                             "Programme und versuchen Sie es noch einmal. (Grund)";
    struct Fall {
        int code;
        int systemFehler;
        QString meldung;
    };
    const Fall faelle[] = {
        {11, 0, zurueck},         // CORRUPT
        {779, 0, zurueck},        // CORRUPT_INDEX
        {26, 0, zurueck},         // NOTADB
        {266, 5, lesefehler},     // IOERR_READ
        {522, 0, lesefehler},     // IOERR_SHORT_READ
        {13, 0, voll},            // FULL
        {1034, 28, voll},         // IOERR_FSYNC with ENOSPC
        {778, 122, voll},         // IOERR_WRITE with EDQUOT
        {1034, 5, schreibfehler}, // IOERR_FSYNC with EIO
        {778, 5, schreibfehler},  // IOERR_WRITE
        {10, 0, schreibfehler},   // IOERR
        {778, 27,                 // IOERR_WRITE with EFBIG
         "Die Datenbank /tmp/x/Velmora_tab.mdb überschreitet die zulässige Dateigröße und kann "
         "nicht geschrieben werden; die letzte Änderung wurde nicht gespeichert. (Grund)"},
        {5, 0, gesperrt},    // BUSY
        {517, 0, gesperrt},  // BUSY_SNAPSHOT
        {6, 0, gesperrt},    // LOCKED
        {7, 0, speicher},    // NOMEM
        {3082, 0, speicher}, // IOERR_NOMEM
        {18, 0,              // TOOBIG
         "Ein Wert ist zu groß für die Datenbank /tmp/x/Velmora_tab.mdb und wurde nicht "
         "gespeichert. Bitte kürzen Sie die Eingabe. (Grund)"},
        {2067, 0, // CONSTRAINT_UNIQUE
         "Die Änderung verletzt eine Regel der Datenbank /tmp/x/Velmora_tab.mdb und wurde nicht "
         "gespeichert. Bitte prüfen Sie die Eingaben. (Grund)"},
        {1544, 0, // READONLY_DIRECTORY
         "Im Verzeichnis /tmp/x kann nicht geschrieben werden; die Datenbank darin kann daher "
         "nicht geändert werden."},
        {1, 0, "Die Datenbank /tmp/x/Velmora_tab.mdb meldet einen Fehler. (Grund)"},
    };
    for (const Fall& f : faelle)
        EXPECT_EQ(datenbankmeldung::fuerCode(f.code, datei, "Grund", f.systemFehler), f.meldung)
            << f.code;
}

} // namespace
