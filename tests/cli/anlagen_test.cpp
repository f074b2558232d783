#include "clirunner.h"

#include <QProcess>
#include <gtest/gtest.h>

namespace {

QString pdfText(const QString& pdf) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    EXPECT_TRUE(p.waitForFinished(30000));
    return QString::fromUtf8(p.readAllStandardOutput());
}

// A small year 2026: revenues, goods, two asset purchases (one of them in
// the register), a circle without a Kennzahl and office costs; a shelf from
// 2024 leaves in September. The expected lines were worked out by hand.
class CliAnlagen : public ::testing::Test {
protected:
    void SetUp() override {
        cli.ok({"init", "--mandant", "Huber KG", "--jahr", "2026"});
        for (const QStringList& bk : QList<QStringList>{{"Erlöse", "ER"},
                                                        {"Wareneinkauf", "WE"},
                                                        {"Anlagen", "AN"},
                                                        {"Sonstiges", "SO"},
                                                        {"Büro", "BU"}})
            cli.ok(QStringList{"bk", "neu"} + bk);
        const QList<QStringList> buchungen = {
            {"1", "--datum", "02.01.2026", "--betrag", "1.200,00", "--satz", "20"},
            {"1", "--datum", "15.02.2026", "--betrag", "110", "--satz", "10"},
            {"2", "--ausgabe", "--datum", "10.03.2026", "--betrag", "480", "--satz", "20"},
            {"3", "--ausgabe", "--datum", "15.03.2026", "--betrag", "3.600", "--satz", "20"},
            {"3", "--ausgabe", "--datum", "20.08.2026", "--betrag", "600", "--satz", "20"},
            {"4", "--datum", "01.04.2026", "--betrag", "50", "--satz", "0"},
            {"5", "--ausgabe", "--datum", "05.05.2026", "--betrag", "120", "--satz", "20"},
        };
        for (const QStringList& b : buchungen)
            cli.ok(QStringList{"buchung", "neu", "--bk"} + b);
    }
    CliRunner cli;
};

TEST_F(CliAnlagen, TheRegisterAndTheE1aOfTheYear) {
    cli.ok({"bk", "e1a", "1", "9040"});
    cli.ok({"bk", "e1a", "2", "9100"});
    cli.ok({"bk", "e1a", "3", "anlage"});
    cli.ok({"bk", "e1a", "5", "9230"});
    EXPECT_EQ(cli.ok({"anlage", "neu", "--bezeichnung", "Regal", "--datum", "01.02.2024",
                      "--kosten", "2000", "--nutzungsdauer", "4"}),
              "1\n");
    // the cost is the booking's net: 3.600,00 at 20 % -> 3.000,00
    EXPECT_EQ(cli.ok({"anlage", "neu", "--bezeichnung", "PC", "--datum", "15.03.2026", "--buchung",
                      "4", "--nutzungsdauer", "3", "--lieferant", "Elektro Maier"}),
              "2\n");
    cli.ok({"anlage", "neu", "--bezeichnung", "Laptop", "--datum", "01.06.2026", "--kosten", "999",
            "--nutzungsdauer", "3"});
    cli.ok({"anlage", "neu", "--bezeichnung", "Maschine", "--datum", "10.08.2026", "--kosten",
            "4000", "--nutzungsdauer", "4"});
    cli.ok({"anlage", "abgang", "1", "--datum", "30.09.2026", "--erloes", "600"});

    const CliErgebnis pkw =
        cli.run({"anlage", "neu", "--bezeichnung", "Auto", "--datum", "10.08.2026", "--kosten",
                 "40000", "--nutzungsdauer", "8", "--art", "pkw", "--degressiv", "30"});
    EXPECT_EQ(pkw.status, 1);
    EXPECT_TRUE(pkw.err.contains("Ein PKW wird nur emissionsfrei degressiv abgeschrieben."));

    // Regal: 500,00 a year, in 2026 the full year as it leaves after 30.06;
    // PC full year 1.000,00; Laptop low-value; Maschine half of 1.000,00
    EXPECT_EQ(cli.ok({"bericht", "anlagen"}),
              "Regal\t01.02.2024\t2.000,00\t1.000,00\t500,00\t500,00\t0,00\n"
              "PC\t15.03.2026\t3.000,00\t0,00\t0,00\t1.000,00\t2.000,00\n"
              "Laptop\t01.06.2026\t999,00\t0,00\t0,00\t999,00\t0,00\n"
              "Maschine\t10.08.2026\t4.000,00\t0,00\t0,00\t500,00\t3.500,00\n"
              "Summe\t\t9.999,00\t1.000,00\t500,00\t2.999,00\t5.500,00\n");

    // receipts 1.150,00 - expenses 500,00 - depreciation 2.999,00; both
    // purchases out, the one no asset names listed
    EXPECT_EQ(cli.ok({"bericht", "e1a"}), "9040\tErlöse\t1.100,00\n"
                                          "9100\tWaren, Rohstoffe, Hilfsstoffe\t400,00\n"
                                          "9130\tAbschreibungen\t2.999,00\n"
                                          "9230\tübrige Betriebsausgaben\t100,00\n"
                                          "ohne Kennzahl\tSonstiges\t50,00\n"
                                          "ohne Anlage\tAnlagen\t500,00\n"
                                          "Gewinn\t\t-2.349,00\n");

    // the same tables as pages, the totals included
    cli.ok({"bericht", "anlagen", "--pdf", cli.dir() + "/anlagen.pdf"});
    cli.ok({"bericht", "e1a", "--pdf", cli.dir() + "/e1a.pdf"});
    const QString anlagen = pdfText(cli.dir() + "/anlagen.pdf");
    for (const char* s : {"Anlagenverzeichnis", "Jahr 2026", "Buchwert Beginn", "Maschine",
                          "3.500,00", "9.999,00", "5.500,00"})
        EXPECT_TRUE(anlagen.contains(QString::fromUtf8(s))) << s;
    const QString e1a = pdfText(cli.dir() + "/e1a.pdf");
    for (const char* s : {"Jahresabschluss (E 1a)", "Waren, Rohstoffe, Hilfsstoffe", "2.999,00",
                          "ohne Anlage", "-2.349,00"})
        EXPECT_TRUE(e1a.contains(QString::fromUtf8(s))) << s;

    // the circle list keeps its columns
    EXPECT_EQ(
        cli.ok({"bk", "liste"}),
        "3\tAnlagen\tAN\n5\tBüro\tBU\n1\tErlöse\tER\n4\tSonstiges\tSO\n2\tWareneinkauf\tWE\n");

    cli.ok({"anlage", "loeschen", "2"});
    EXPECT_EQ(cli.run({"anlage", "loeschen", "2"}).status, 1);
    EXPECT_EQ(cli.ok({"anlage", "liste"}), "1\tRegal\t01.02.2024\t2.000,00\t4\tlinear\n"
                                           "3\tLaptop\t01.06.2026\t999,00\t3\tlinear\n"
                                           "4\tMaschine\t10.08.2026\t4.000,00\t4\tlinear\n");
}

TEST_F(CliAnlagen, AKennzahlOfOwnNeedsItsSideAndTextOnce) {
    // a Kennzahl Velmora does not know: first its side, then its text
    const CliErgebnis ohneSeite = cli.run({"bk", "e1a", "4", "9999", "--text", "Eigene"});
    EXPECT_EQ(ohneSeite.status, 1);
    EXPECT_TRUE(ohneSeite.err.contains("fehlt die Seite"));
    const CliErgebnis ohneText = cli.run({"bk", "e1a", "4", "9999", "--einnahme"});
    EXPECT_EQ(ohneText.status, 1);
    EXPECT_TRUE(ohneText.err.contains("Der Text der Kennzahl 9999 fehlt."));
    EXPECT_EQ(cli.run({"bk", "e1a", "4", "999", "--einnahme", "--text", "x"}).status, 1);
    EXPECT_EQ(cli.run({"bk", "e1a", "4", "9040", "--text", "Umsatz"}).status, 1);
    cli.ok({"bk", "e1a", "4", "9999", "--einnahme", "--text", "Eigene"});
    // the text is kept for the client; an expense circle on the income side counts negative
    cli.ok({"bk", "e1a", "5", "9999", "--einnahme"});
    cli.ok({"bk", "e1a", "1", "9040"});
    cli.ok({"bk", "e1a", "1", "-"});
    // 50,00 - 100,00; the other circles without a Kennzahl: -3.500,00, 1.100,00, -400,00
    EXPECT_EQ(cli.ok({"bericht", "e1a"}).toStdString(), "9999\tEigene\t-50,00\n"
                                                        "ohne Kennzahl\tAnlagen\t-3.500,00\n"
                                                        "ohne Kennzahl\tErlöse\t1.100,00\n"
                                                        "ohne Kennzahl\tWareneinkauf\t-400,00\n"
                                                        "Gewinn\t\t-2.850,00\n");
    EXPECT_EQ(cli.run({"bk", "e1a", "9", "9040"}).status, 1);
}

} // namespace
