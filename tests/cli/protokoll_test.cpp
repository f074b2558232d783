#include "clirunner.h"
#include "testserver.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <gtest/gtest.h>

namespace {

const QString kGesperrt = QStringLiteral(
    "Die Buchung liegt im festgeschriebenen Zeitraum bis 31.03.2026. Buchen Sie die Korrektur als "
    "neue Buchung mit einem späteren Datum.\n");

class CliProtokoll : public ::testing::Test {
protected:
    void SetUp() override {
        cli.ok({"init", "--mandant", "Test", "--jahr", "2026"});
        cli.ok({"bk", "neu", "Erlöse", "ER"});
        cli.ok({"buchung", "neu", "--datum", "15.03.2026", "--betrag", "120", "--satz", "20",
                "--bk", "1", "--text", "Miete"});
        cli.ok({"buchung", "neu", "--ausgabe", "--eu", "--datum", "20.04.2026", "--betrag", "50",
                "--satz", "20", "--bk", "1", "--text", "Ware"});
        cli.ok({"buchung", "aendern", "1", "--betrag", "240", "--text", "Miete März"});
    }

    // A statement straight on the file, as another program would run it.
    void roh(const QString& sql) {
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "roh");
            db.setDatabaseName(cli.dir() + "/Velmora_tab.mdb");
            ASSERT_TRUE(db.open());
            QSqlQuery q(db);
            ASSERT_TRUE(q.exec(sql));
        }
        QSqlDatabase::removeDatabase("roh");
    }

    CliRunner cli;
};

TEST_F(CliProtokoll, TheLogListsTheYearNewestFirstWithTheOldValuesOfAChange) {
    EXPECT_EQ(
        cli.ok({"protokoll"}),
        "Nr\tZeitpunkt\tAktion\tBuchung\tBuchungsdatum\tBelegnummer\tBuchungstext\tBetrag\t"
        "Steuersatz\tBK\tEinnahme\tEU\tDrittland\tKFZ\tGebäude\tSteuerbuchungen\tVorher\n"
        "3\t10.12.2026 00:00:00\tgeändert\t1\t15.03.2026\t1\tMiete März\t240,00\t20\t1\tja\t"
        "nein\tnein\tnein\tnein\t1020: 40,00\tBuchungstext: Miete; Betrag: 120,00; "
        "Steuerbuchungen: 1020: 20,00\n"
        "2\t10.12.2026 00:00:00\tneu\t2\t20.04.2026\t2\tWare\t50,00\t20\t1\tnein\tja\tnein\t"
        "nein\tnein\t1021: 10,00; 2021: 10,00\t\n"
        "1\t10.12.2026 00:00:00\tneu\t1\t15.03.2026\t1\tMiete\t120,00\t20\t1\tja\tnein\tnein\t"
        "nein\tnein\t1020: 20,00\t\n");
    const QString nurEins = cli.ok({"protokoll", "--buchung", "1"});
    EXPECT_EQ(nurEins.count('\n'), 3);
    EXPECT_EQ(cli.ok({"protokoll", "--von", "11.12.2026"}).count('\n'), 1);
    EXPECT_EQ(cli.ok({"protokoll", "--von", "10.12.2026", "--bis", "10.12.2026"}).count('\n'), 4);
}

TEST_F(CliProtokoll, TheCheckPassesOnACleanFileAndNamesTheFirstTamperedRow) {
    EXPECT_EQ(cli.ok({"protokoll", "--pruefen"}), "Protokoll in Ordnung: 3 Einträge\n");
    // the rows are changed behind Velmora's back through SQLite itself
    NUR_DATEI();

    roh("update T_Buchungen set Betrag = 1 where ID = 2");
    CliErgebnis r = cli.run({"protokoll", "--pruefen"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Buchung 2: sie stimmt nicht mit dem Protokolleintrag 2 überein; sie wurde "
                     "außerhalb von Velmora geändert.\n");
    EXPECT_TRUE(r.out.isEmpty());

    roh("delete from T_Protokoll where id = 2");
    r = cli.run({"protokoll", "--pruefen"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Protokolleintrag 3: der Eintrag 2 davor fehlt.\n");
}

TEST_F(CliProtokoll, ALockedPeriodIsCorrectedByAStorno) {
    const QString ohne = cli.ok({"status"});
    EXPECT_FALSE(ohne.contains("Festgeschrieben")) << "nothing locked yet";
    EXPECT_EQ(cli.ok({"festschreiben", "--monat", "3"}), "Festgeschrieben bis 31.03.2026\n");
    EXPECT_EQ(cli.ok({"status"}), ohne + "Festgeschrieben\t31.03.2026\n");
    for (const QStringList& args :
         QList<QStringList>{{"buchung", "aendern", "1", "--betrag", "1"},
                            {"buchung", "loeschen", "1"},
                            {"buchung", "aendern", "2", "--datum", "31.03.2026"},
                            {"buchung", "neu", "--datum", "01.03.2026", "--betrag", "1", "--satz",
                             "20", "--bk", "1"},
                            {"buchung", "storno", "1", "--datum", "31.03.2026"}}) {
        const CliErgebnis r = cli.run(args);
        EXPECT_EQ(r.status, 1) << args.join(' ').toStdString();
        EXPECT_EQ(r.err, kGesperrt) << args.join(' ').toStdString();
    }
    const QByteArray vorher = cli.databaseBytes();
    const CliErgebnis kuerzer = cli.run({"festschreiben", "--monat", "2"});
    EXPECT_EQ(kuerzer.status, 1);
    EXPECT_EQ(kuerzer.err, "Das Wirtschaftsjahr ist bereits bis 31.03.2026 festgeschrieben. Eine "
                           "Festschreibung kann nicht aufgehoben oder verkürzt werden.\n");
    EXPECT_EQ(cli.run({"festschreiben", "--monat", "13"}).status, 1);
    EXPECT_EQ(cli.run({"festschreiben"}).status, 2);
    EXPECT_EQ(cli.databaseBytes(), vorher);

    EXPECT_EQ(cli.ok({"buchung", "storno", "1"}), "3\n");
    const QString storno = cli.ok({"buchung", "zeigen", "3"});
    EXPECT_NE(storno.indexOf("Buchungsdatum\t10.12.2026\n"), -1) << storno.toStdString();
    EXPECT_NE(storno.indexOf("Text\tStorno: Miete März\n"), -1);
    EXPECT_NE(storno.indexOf("Betrag\t-240,00\n"), -1);
    EXPECT_TRUE(storno.endsWith("1020\t-40,00\n"));
    EXPECT_EQ(cli.ok({"buchung", "storno", "2", "--datum", "01.04.2026"}), "4\n");
    EXPECT_EQ(cli.run({"buchung", "storno", "99"}).err, "Die Buchung ist nicht mehr vorhanden.\n");
    EXPECT_EQ(cli.ok({"protokoll", "--pruefen"}), "Protokoll in Ordnung: 6 Einträge\n");
}

TEST_F(CliProtokoll, ALockedYearIsDeletedOnlyWhenThatIsSaid) {
    cli.ok({"jahr", "neu", "2025"});
    cli.ok({"jahr", "wechseln", "2025"});
    cli.ok({"festschreiben", "--monat", "12"});
    cli.ok({"jahr", "wechseln", "2026"});
    const CliErgebnis r = cli.run({"jahr", "loeschen", "2025"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Das Wirtschaftsjahr ist bis 31.12.2025 festgeschrieben. Mit "
                     "--festgeschrieben wird es trotzdem gelöscht.\n");
    cli.ok({"jahr", "loeschen", "2025", "--festgeschrieben"});
    EXPECT_EQ(cli.ok({"jahr", "liste"}).count('\n'), 1);
    EXPECT_EQ(cli.ok({"protokoll", "--pruefen"}), "Protokoll in Ordnung: 5 Einträge\n");
}

} // namespace
