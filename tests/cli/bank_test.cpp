#include "clirunner.h"

#include <gtest/gtest.h>

namespace {

QString daten(const char* name) {
    return QStringLiteral(VELMORA_BANK_DATEN "/") + QLatin1String(name);
}

// Client "Huber KG" 2026 with circles 1 Büro and 2 Erlöse and four rules.
class CliBank : public ::testing::Test {
protected:
    void SetUp() override {
        cli.ok({"init", "--mandant", "Huber KG", "--jahr", "2026"});
        cli.ok({"bk", "neu", "Büro", "BU"});
        cli.ok({"bk", "neu", "Erlöse", "ER"});
        EXPECT_EQ(cli.ok({"bank", "regel", "neu", "--enthaelt", "Post AG", "--bk", "1", "--satz",
                          "20", "--ausgabe"}),
                  "1\n");
        EXPECT_EQ(cli.ok({"bank", "regel", "neu", "--iban", "AT611904300234573201", "--bk", "2",
                          "--satz", "20", "--einnahme"}),
                  "2\n");
        cli.ok({"bank", "regel", "neu", "--enthaelt", "parkschein", "--bk", "1", "--satz", "20"});
        cli.ok({"bank", "regel", "neu", "--enthaelt", "Hofer", "--bk", "1", "--satz", "20",
                "--reverse-charge"});
    }
    CliRunner cli;
};

} // namespace

TEST_F(CliBank, PreviewThenImportThenTheSameFileBooksNothing) {
    EXPECT_EQ(
        cli.ok({"bank", "vorschau", daten("camt053_02.xml")}),
        "Zeile\tDatum\tBetrag\tGegenpartei\tText\tStatus\tVorschlag\n"
        "1\t02.03.2026\t1.234,56\tMüller & Söhne GmbH\tRechnung 2026-017 Danke für den "
        "Auftrag\tneu\tBK 2, 20 %, Einnahme, Regel 2\n"
        "2\t03.03.2026\t-89,90\tÖsterreichische Post AG\tPorto März\tneu\tBK 1, 20 %, "
        "Ausgabe, Regel 1\n"
        "3\t05.03.2026\t-45,00\tTankstelle Gruber\tKartenzahlung\tvorgemerkt\t-\n"
        "4\t04.03.2026\t-100,00\tHofer KG\tBüromaterial\tneu\tBK 1, 20 %, Ausgabe, Reverse "
        "Charge, Regel 4\n"
        "5\t04.03.2026\t-200,00\tBäckerei Fürst\tBewirtung Jänner\tneu\t-\n"
        "6\t04.03.2026\t-300,00\tWeiß & Co\tSammelauftrag 3 Posten\tneu\t-\n"
        "7\t06.03.2026\t50,00\tAcme Inc.\tInvoice 77\tFremdwährung\t-\n"
        "8\t06.03.2026\t-3,50\tParkautomat Linz\tParkschein\tneu\tBK 1, 20 %, Ausgabe, Regel 3\n"
        "9\t06.03.2026\t-3,50\tParkautomat Linz\tParkschein\tneu\tBK 1, 20 %, Ausgabe, Regel 3\n");
    EXPECT_EQ(cli.ok({"bank", "import", daten("camt053_02.xml")}), "gebucht\t1\t1\n"
                                                                   "gebucht\t2\t2\n"
                                                                   "offen\t3\tvorgemerkt\n"
                                                                   "gebucht\t4\t3\n"
                                                                   "offen\t5\tkein Vorschlag\n"
                                                                   "offen\t6\tkein Vorschlag\n"
                                                                   "offen\t7\tFremdwährung\n"
                                                                   "gebucht\t8\t4\n"
                                                                   "gebucht\t9\t5\n");
    // the reverse charge of 100,00 net at 20 %: 20,00 owed and 20,00 deducted
    EXPECT_EQ(cli.ok({"summen"}), "Einnahmen\t1.234,56 €\nUST\t225,76 €\nAusgaben\t196,90 €\n"
                                  "VST\t36,14 €\n");
    EXPECT_EQ(cli.ok({"bank", "import", daten("camt053_02.xml")}), "offen\t1\tdoppelt\n"
                                                                   "offen\t2\tdoppelt\n"
                                                                   "offen\t3\tvorgemerkt\n"
                                                                   "offen\t4\tdoppelt\n"
                                                                   "offen\t5\tkein Vorschlag\n"
                                                                   "offen\t6\tkein Vorschlag\n"
                                                                   "offen\t7\tFremdwährung\n"
                                                                   "offen\t8\tdoppelt\n"
                                                                   "offen\t9\tdoppelt\n");
    EXPECT_EQ(cli.ok({"liste", "aus"}).count('\n'), 1 + 4);
}

TEST_F(CliBank, RefusedFilesBookNothing) {
    const QByteArray vorher = cli.databaseBytes();
    for (const char* datei : {"doctype.xml", "abgeschnitten.xml", "fehlt.xml"}) {
        const CliErgebnis r = cli.run({"bank", "import", daten(datei)});
        EXPECT_EQ(r.status, 1) << datei;
        EXPECT_TRUE(r.out.isEmpty()) << datei;
        EXPECT_FALSE(r.err.isEmpty()) << datei;
    }
    EXPECT_TRUE(cli.run({"bank", "import", daten("abgeschnitten.xml")})
                    .err.contains(QStringLiteral("Zeile 43, Spalte 29")));
    const CliErgebnis ohneProfil = cli.run({"bank", "vorschau", daten("semikolon_1252.csv")});
    EXPECT_EQ(ohneProfil.status, 1);
    EXPECT_EQ(ohneProfil.err,
              QStringLiteral("Für eine CSV-Datei ist ein Profil anzugeben (--profil NAME).\n"));
    EXPECT_EQ(cli.databaseBytes(), vorher);
}

TEST_F(CliBank, CsvProfilesAndRules) {
    cli.ok({"bank",           "profil",     "neu",         "Sparkasse",
            "--trenner",      ";",          "--kodierung", "windows-1252",
            "--kopfzeilen",   "1",          "--datum",     "1",
            "--datumsformat", "dd.MM.yyyy", "--betrag",    "4",
            "--text",         "3",          "--waehrung",  "5",
            "--gegenpartei",  "6",          "--iban",      "7"});
    cli.ok({"bank",           "profil",     "neu",           "Direktbank", "--trenner",  ",",
            "--kodierung",    "utf-8",      "--kopfzeilen",  "2",          "--datum",    "1",
            "--datumsformat", "yyyy-MM-dd", "--soll",        "4",          "--haben",    "5",
            "--text",         "3",          "--gegenpartei", "2",          "--referenz", "6",
            "--dezimal",      "punkt"});
    EXPECT_EQ(cli.run({"bank", "profil", "neu", "Sparkasse", "--datum", "1", "--betrag", "2"}).err,
              QStringLiteral("Ein Profil mit dem Namen „Sparkasse“ gibt es schon.\n"));
    EXPECT_EQ(cli.ok({"bank", "profil", "liste"}),
              "Direktbank\t,\tutf-8\t2\tDatum 1 (yyyy-MM-dd)\tSoll 4, Haben 5\tpunkt\n"
              "Sparkasse\t;\twindows-1252\t1\tDatum 1 (dd.MM.yyyy)\tBetrag 4\tkomma\n");
    EXPECT_EQ(cli.ok({"bank", "vorschau", daten("komma_utf8.csv"), "--profil", "Direktbank"}),
              "Zeile\tDatum\tBetrag\tGegenpartei\tText\tStatus\tVorschlag\n"
              "1\t02.03.2026\t1.234,56\tMüller & Söhne GmbH\tRechnung 2026-017\tneu\t-\n"
              "2\t03.03.2026\t-89,90\tÖsterreichische Post AG\tPorto März, \"Express\"\tneu\t"
              "BK 1, 20 %, Ausgabe, Regel 1\n"
              "3\t04.03.2026\t-200,00\tBäckerei Fürst\tBewirtung Jänner\tneu\t-\n"
              "4\t06.03.2026\t-3,50\tParkautomat Linz\tParkschein\tneu\tBK 1, 20 %, Ausgabe, "
              "Regel 3\n");

    EXPECT_EQ(cli.ok({"bank", "regel", "liste"}),
              "1\tenthält „Post AG“\tBK 1, 20 %, Ausgabe\t\n"
              "2\tIBAN AT611904300234573201\tBK 2, 20 %, Einnahme\t\n"
              "3\tenthält „parkschein“\tBK 1, 20 %\t\n"
              "4\tenthält „Hofer“\tBK 1, 20 %, Reverse Charge\t\n");
    cli.ok({"bank", "regel", "loeschen", "3"});
    EXPECT_EQ(cli.run({"bank", "regel", "loeschen", "3"}).status, 1);
    EXPECT_EQ(cli.run({"bank", "regel", "neu", "--enthaelt", "x", "--bk", "9"}).err,
              QStringLiteral("Den Buchungskreis 9 gibt es beim aktuellen Mandanten nicht.\n"));
    EXPECT_EQ(
        cli.run({"bank", "regel", "neu", "--enthaelt", "x", "--bk", "1", "--eu", "--bauleistung"})
            .status,
        1);
    EXPECT_EQ(cli.ok({"bank", "regel", "liste"}).count('\n'), 3);
}
