#include "fixture.h"

#include "data/db.h"
#include "data/dm_einaus.h"

#include <QCryptographicHash>
#include <QFile>

namespace {

using DataModule = VelmoraFixture;

QByteArray hashOf(const QString& path) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

TEST_F(DataModule, FirstStartAsksForClientAndYearWithPresets) {
    ui.answerInput(std::nullopt); // Cancel asks again
    ui.answerInput(QString());    // empty: message, asks again
    ui.answerInput(QStringLiteral("Tischlerei Huber"));
    ui.answerInput(std::nullopt); // Cancel asks again
    ui.answerInput(QStringLiteral("zwanzig"));
    ui.answerInput(QStringLiteral("2026"));
    dm->DataModuleCreate();

    const QStringList inputs = ui.texts("input");
    ASSERT_EQ(inputs.size(), 6);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(inputs[i], "Neuer Mandant|Bezeichnung des Mandanten|Mandant 1");
    EXPECT_EQ(inputs[3], "Neues Wirtschaftsjahr|Jahreszahl (zb: 2008)|2026");
    EXPECT_EQ(inputs[4], "Neues Wirtschaftsjahr|Jahreszahl (zb: 2008)|2026");
    EXPECT_EQ(inputs[5], "Neues Wirtschaftsjahr|Jahreszahl (zb: 2008)|zwanzig")
        << "typed text offered again";
    EXPECT_EQ(ui.texts("message"), QStringList({"Geben sie bitte eine Mandantenbezeichnung an.",
                                                "Geben sie das Jahr bitte 4-stellig an!"}));

    const int mandant = dm->gibMandant();
    EXPECT_EQ(mandant, TDM_EinAus::mandantIDAusUhr(clock.now()));
    EXPECT_EQ(dm->gibMandantName(mandant), "Tischlerei Huber");
    EXPECT_EQ(dm->gibZeitraum(), 1);
    EXPECT_EQ(dm->gibJahr(), 2026);
    EXPECT_EQ(
        anzahl("T_Stammdaten", QStringLiteral("mandant = %1 and GanzerName is null").arg(mandant)),
        1);
    EXPECT_EQ(dm->stammdatenFilter(), mandant);
    EXPECT_EQ(ui.pending(), 0u);
}

TEST_F(DataModule, AnyIntegerIsAYear) {
    for (const auto& [answer, year] :
         std::vector<std::pair<QString, int>>{{"99", 99}, {"20245", 20245}, {"-5", -5}}) {
        neueDatenbank();
        ui.clearShown();
        ui.answerInput(QStringLiteral("M"));
        ui.answerInput(QStringLiteral("20 24")); // not an integer
        ui.answerInput(answer);
        dm->DataModuleCreate();
        EXPECT_EQ(dm->gibJahr(), year) << answer.toStdString();
        EXPECT_EQ(ui.texts("message"), QStringList{"Geben sie das Jahr bitte 4-stellig an!"});
    }
}

TEST_F(DataModule, ClientWithoutSettingsRowIsOnlyAskedForTheYear) {
    const int id = dm->mandantAnlegen(QStringLiteral("Vorhanden"), true);
    dm->stammdatenAnlegen(id);
    ui.answerInput(QStringLiteral("2025"));
    dm->DataModuleCreate();
    EXPECT_EQ(ui.texts("input"), QStringList{"Neues Wirtschaftsjahr|Jahreszahl (zb: 2008)|2026"});
    EXPECT_EQ(dm->gibMandant(), id);
    EXPECT_EQ(dm->gibJahr(), 2025);
}

TEST_F(DataModule, NamesOfAnyCharactersAreStoredExactly) {
    const QString name = QStringLiteral("O'Brien; \"Bau\" -- 😀 Ä") + QString(500, QChar(u'ß'));
    ersterMandant(name);
    EXPECT_EQ(dm->gibMandantName(dm->gibMandant()), name);
}

TEST_F(DataModule, GettersFallBackWithoutRows) {
    EXPECT_EQ(dm->gibMandant(), -1);
    EXPECT_EQ(dm->gibZeitraum(), -1);
    EXPECT_EQ(dm->gibJahr(), 2026) << "today's year";
    EXPECT_EQ(dm->gibMandantName(42), "");
    EXPECT_FALSE(dm->gibSteuerDE());
    EXPECT_EQ(dm->gibNeueID("T_Buchungen"), 1);
    EXPECT_EQ(dm->gibNeueID("keine_tabelle; drop table T_Mandant"), 1);
    EXPECT_EQ(dm->gibNeueBelegnummer(), 1);
    EXPECT_EQ(anzahl("T_Mandant"), 0);
}

TEST_F(DataModule, GibJahrFallsBackWhenTheSettingsRowNamesADeletedYear) {
    ersterMandant("A", 2024);
    dm->db().execute("delete from T_Zeitraum");
    EXPECT_EQ(dm->gibZeitraum(), 1);
    EXPECT_EQ(dm->gibJahr(), 2026);
}

TEST_F(DataModule, NewIdentifiersSpanAllClientsAndVoucherNumbersOneYear) {
    ersterMandant("A", 2025);
    const int a = dm->gibMandant();
    const int b = dm->mandantAnlegen("B", false);
    const int zb = dm->zeitraumAnlegen(b, 2025);
    const int za2 = dm->zeitraumAnlegen(a, 2026);
    EXPECT_EQ(zb, 2);
    EXPECT_EQ(za2, 3);
    EXPECT_EQ(dm->gibNeueID("t_zeitraum"), 4);

    kreis(b, "x", "x");
    buchung(b, zb, "2025-01-01", "1", 0, 1, true, 2, 2, /*beleg*/ 40);
    dm->db().execute("update T_Buchungen set ID = 41");
    EXPECT_EQ(dm->gibNeueID("T_Buchungen"), 42) << "whatever client the row belongs to";
    EXPECT_EQ(dm->gibNeueBelegnummer(), 1) << "other clients do not count";

    buchung(a, 1, "2025-02-01", "1", 0, 1, true, 2, 2, 7);
    buchung(a, za2, "2026-02-01", "1", 0, 1, true, 2, 2, 12);
    EXPECT_EQ(dm->gibNeueBelegnummer(), 8) << "only the current fiscal year";
    dm->db().execute(QStringLiteral("update T_Einstellungen set ZeitraumNummer = %1").arg(za2));
    EXPECT_EQ(dm->gibNeueBelegnummer(), 13);
}

TEST_F(DataModule, AReusedStatementIsNeverSharedAndSurvivesReopening) {
    ersterMandant("A", 2025);
    Datenbank& db = dm->db();
    const QString text = QStringLiteral("select ID from T_Zeitraum where ID >= :ab order by ID");
    const auto erste = [&](Sql& q, int ab) {
        q.bind("ab", ab).exec();
        return q.next() ? q.value(0).toInt() : -1;
    };
    {
        Sql q = db.wiederverwendet(text);
        EXPECT_EQ(erste(q, 1), 1);
        // the same text while the first is still open: a statement of its own
        Sql r = db.wiederverwendet(text);
        EXPECT_EQ(erste(r, 2), -1);
        EXPECT_FALSE(q.next()) << "the first result is untouched";
    }
    dm->zeitraumAnlegen(dm->gibMandant(), 2026);
    {
        Sql q = db.wiederverwendet(text);
        EXPECT_EQ(erste(q, 2), 2) << "the write is seen";
        Sql ungebunden = db.wiederverwendet(text);
        EXPECT_THROW(ungebunden.exec(), DatenbankFehler) << "a value bound before does not count";
    }
    db.close();
    dm->ADO_VelmoraConnect();
    Sql q = db.wiederverwendet(text);
    EXPECT_EQ(erste(q, 1), 1);
}

TEST_F(DataModule, TwoActiveClientsAnswerTheFirstRow) {
    dm->db().execute("insert into T_Mandant (id, Bezeichnung, Aktiv) values (5, 'fünf', 1)");
    dm->db().execute("insert into T_Mandant (id, Bezeichnung, Aktiv) values (3, 'drei', 1)");
    const int first = wert("select id from T_Mandant where Aktiv = 1").toInt();
    EXPECT_EQ(dm->gibMandant(), first);
    dm->MandantAktivieren(3);
    EXPECT_EQ(dm->gibMandant(), 3);
    EXPECT_EQ(anzahl("T_Mandant", "Aktiv = 1"), 1);
}

TEST_F(DataModule, ClientIdentifierFollowsTheClockAndSkipsUsedOnes) {
    // 10.12.2026 10:00: day 739595 since 1 Jan of year 1 (that day counting 1)
    const qint64 m = qint64(QDate(1, 1, 1).daysTo(QDate(2026, 12, 10)) + 1) * 86400000 + 36000000;
    EXPECT_EQ(TDM_EinAus::mandantIDAusUhr(clock.now()), int(m % 1000000000));
    const int id = TDM_EinAus::mandantIDAusUhr(clock.now());
    EXPECT_EQ(dm->gibNeueMandantID(), id);
    // a deleted client's bookings keep its identifier taken
    dm->db().execute(
        QStringLiteral("insert into T_Buchungen (ID, mandant) values (1, %1)").arg(id));
    dm->db().execute(QStringLiteral("insert into T_Mandant (id) values (%1)").arg(id + 1));
    EXPECT_EQ(dm->gibNeueMandantID(), id + 2);
    const int a = dm->mandantAnlegen("A", false);
    const int b = dm->mandantAnlegen("B", false);
    EXPECT_NE(a, b) << "two clients in the same millisecond";
}

TEST_F(DataModule, DeletingAClientTakesItsCirclesYearsAndSettingsOnly) {
    ersterMandant("A", 2025);
    const int a = dm->gibMandant();
    const int b = dm->mandantAnlegen("B", false);
    dm->stammdatenAnlegen(b);
    const int zb = dm->ersterZeitraumAnlegen(b, 2025);
    const int bk = kreis(b, "Miete", "MI");
    const int buchungB = buchung(b, zb, "2025-03-01", "120", 20, bk, true);
    bewegung(b, buchungB, 1020, "20");
    kreis(a, "Eigen", "EI");

    dm->MandantLoeschen(b);
    EXPECT_EQ(anzahl("T_Mandant", QStringLiteral("id = %1").arg(b)), 0);
    EXPECT_EQ(anzahl("T_BKreis", QStringLiteral("mandant = %1").arg(b)), 0);
    EXPECT_EQ(anzahl("T_Zeitraum", QStringLiteral("mandant = %1").arg(b)), 0);
    EXPECT_EQ(anzahl("T_Einstellungen", QStringLiteral("mandant = %1").arg(b)), 0);
    EXPECT_EQ(anzahl("T_Buchungen", QStringLiteral("mandant = %1").arg(b)), 1);
    EXPECT_EQ(anzahl("t_kontenbewegungen", QStringLiteral("mandant = %1").arg(b)), 1);
    EXPECT_EQ(anzahl("T_Stammdaten", QStringLiteral("mandant = %1").arg(b)), 1);
    EXPECT_EQ(anzahl("T_BKreis", QStringLiteral("mandant = %1").arg(a)), 1);
    EXPECT_EQ(anzahl("T_Zeitraum", QStringLiteral("mandant = %1").arg(a)), 1);
}

TEST_F(DataModule, DeletingAYearTakesItsBookingsAndTheirPostings) {
    ersterMandant("A", 2025);
    const int a = dm->gibMandant();
    const int z2 = dm->zeitraumAnlegen(a, 2026);
    const int bk = kreis(a, "Miete", "MI");
    const int b1 = buchung(a, z2, "2026-03-01", "100", 20, bk, false, 1);
    bewegung(a, b1, 1021, "20");
    bewegung(a, b1, 2021, "20");
    const int b2 = buchung(a, 1, "2025-03-01", "120", 20, bk, true);
    bewegung(a, b2, 1020, "20");

    dm->ZeitraumLoeschen(z2);
    EXPECT_EQ(anzahl("T_Zeitraum"), 1);
    EXPECT_EQ(anzahl("T_Buchungen"), 1);
    EXPECT_EQ(anzahl("t_kontenbewegungen"), 1);
    EXPECT_EQ(wert("select Buchungen_id from t_kontenbewegungen").toInt(), b2);
}

TEST_F(DataModule, FailedDeletionsLeaveEverythingAsItWas) {
    NUR_DATEI();
    ersterMandant("A", 2025);
    const int a = dm->gibMandant();
    const int z2 = dm->zeitraumAnlegen(a, 2026);
    const int b = dm->mandantAnlegen("B", false);
    dm->zeitraumAnlegen(b, 2025);
    const int bk = kreis(a, "Miete", "MI");
    kreis(b, "Miete", "MI");
    const int b1 = buchung(a, z2, "2026-03-01", "120", 20, bk, true);
    bewegung(a, b1, 1020, "20");
    // the last statement of each deletion fails
    dm->db().execute("create trigger stopp before delete on T_Zeitraum begin select raise(abort, "
                     "'gesperrt'); end");
    dm->db().execute("create trigger stopp2 before delete on T_Einstellungen begin select "
                     "raise(abort, 'gesperrt'); end");
    const QByteArray before = hashOf(dbPath());

    EXPECT_THROW(dm->ZeitraumLoeschen(z2), DatenbankFehler);
    EXPECT_THROW(dm->MandantLoeschen(b), DatenbankFehler);
    EXPECT_EQ(anzahl("t_kontenbewegungen"), 1);
    EXPECT_EQ(anzahl("T_Buchungen"), 1);
    EXPECT_EQ(anzahl("T_Mandant"), 2);
    EXPECT_EQ(anzahl("T_BKreis"), 2);
    EXPECT_EQ(hashOf(dbPath()), before);
    // and the connection is usable afterwards
    EXPECT_EQ(dm->zeitraumAnlegen(a, 2027), 4);
}

TEST_F(DataModule, TransactionsNestAndRollBackUnlessCommitted) {
    {
        Transaktion aussen(dm->db());
        dm->db().execute("insert into T_Mandant (id) values (1)");
        {
            Transaktion innen(dm->db());
            dm->db().execute("insert into T_Mandant (id) values (2)");
        } // not committed: only the inner insert goes
        EXPECT_EQ(anzahl("T_Mandant"), 1);
        aussen.commit();
    }
    EXPECT_EQ(anzahl("T_Mandant"), 1);
    {
        Transaktion t(dm->db());
        dm->db().execute("insert into T_Mandant (id) values (3)");
    }
    EXPECT_EQ(anzahl("T_Mandant"), 1);
}

TEST_F(DataModule, PlaceholdersAreMatchedWithoutCaseAndNeverLeftEmpty) {
    Sql ok = dm->db().sql("select :Zeitraum + 1");
    ok.bind("zeitraum", 41).exec();
    ASSERT_TRUE(ok.next());
    EXPECT_EQ(ok.value(0).toInt(), 42);

    Sql misspelt = dm->db().sql("select * from T_Zeitraum where id = :zeitraum");
    EXPECT_THROW(misspelt.bind("zeitaum", 1), DatenbankFehler);
    Sql unbound =
        dm->db().sql("select * from T_Zeitraum where id = :zeitraum and mandant = :mandant");
    unbound.bind("zeitraum", 1);
    EXPECT_THROW(unbound.exec(), DatenbankFehler);
    EXPECT_EQ(Sql::placeholders("select ':nein', :ja from x where a = :ja or b = :b_2"),
              QStringList({"ja", "b_2"}));
    // the driver binds names with their case: one of the two would stay NULL
    EXPECT_THROW(dm->db().sql("select * from T_Zeitraum where id = :Zeitraum or id = :zeitraum"),
                 DatenbankFehler);
}

class DataModuleFiles : public VelmoraFixture {
protected:
    void SetUp() override {
        NUR_DATEI();
        VelmoraFixture::SetUp();
    }
};

TEST_F(DataModuleFiles, MissingDatabaseIsNamedAndNotCreated) {
    dm.reset();
    QFile::remove(dbPath());
    TDM_EinAus leer(dir(), ui, clock);
    try {
        leer.DataModuleCreate();
        FAIL() << "opened a missing database";
    } catch (const DatenbankFehler& e) {
        EXPECT_EQ(
            e.text(),
            QStringLiteral("Die Datenbank velmora_tab.mdb wurde im Verzeichnis %1 nicht gefunden.")
                .arg(QDir::toNativeSeparators(QDir(dir()).absolutePath())));
    }
    EXPECT_TRUE(QDir(dir()).entryList(QDir::Files).filter("mdb", Qt::CaseInsensitive).isEmpty());
    EXPECT_TRUE(ui.shown().empty()) << "no questions before the database is open";
}

TEST_F(DataModuleFiles, FileNameIsMatchedWithoutRegardToCase) {
    dm.reset();
    ASSERT_TRUE(QFile::rename(dbPath(), dir() + "VELMORA_TAB.MDB"));
    TDM_EinAus upper(dir(), ui, clock);
    EXPECT_NO_THROW(upper.ADO_VelmoraConnect());
}

TEST_F(DataModuleFiles, ForeignFilesAreRefusedAndLeftUntouched) {
    dm.reset();
    const QString keine = QStringLiteral("Die Datei %1 ist keine Velmora-Datenbank.")
                              .arg(QDir::toNativeSeparators(dbPath()));
    const QString beschaedigt =
        QStringLiteral("Die Datenbank %1 ist beschädigt oder nicht lesbar: ")
            .arg(QDir::toNativeSeparators(dbPath()));
    const auto check = [&](const QByteArray& content, bool viaSqlite, const QString& meldung) {
        QFile::remove(dbPath());
        if (viaSqlite) {
            Datenbank other(QStringLiteral("other"));
            QFile f(dbPath());
            f.open(QIODevice::WriteOnly);
            f.close();
            other.open(dbPath());
            other.execute("create table Fremd (a integer)");
            other.execute("insert into Fremd values (1)");
        } else {
            QFile f(dbPath());
            f.open(QIODevice::WriteOnly);
            f.write(content);
        }
        const QByteArray before = hashOf(dbPath());
        TDM_EinAus fremd(dir(), ui, clock);
        try {
            fremd.DataModuleCreate();
            ADD_FAILURE() << "accepted a foreign file";
        } catch (const DatenbankFehler& e) {
            EXPECT_TRUE(e.text().startsWith(meldung)) << e.text().toStdString();
        }
        EXPECT_EQ(hashOf(dbPath()), before);
        EXPECT_FALSE(QFile::exists(dbPath() + "-journal"));
    };
    check(QByteArray("\x01\x02 random bytes, not a database at all", 38), false, keine);
    // SQLite's own header with nothing valid behind it
    check(QByteArray("SQLite format 3\0garbage garbage garbage garbage", 48), false, beschaedigt);
    check(QByteArray(), false, keine);
    check(QByteArray(), true, keine);
    EXPECT_TRUE(ui.shown().empty());
}

TEST_F(DataModuleFiles, OpenSetsDurableJournalling) {
    EXPECT_EQ(wert("pragma journal_mode").toString(), "delete");
    EXPECT_GE(wert("pragma synchronous").toInt(), 2);
    EXPECT_GT(wert("pragma busy_timeout").toInt(), 0);
}

} // namespace
