#include "clirunner.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

// The rate of 4,9 %, reverse charge, construction and a Kennzahl per
// booking as a user types them.
class CliSteuer2026 : public ::testing::Test {
protected:
    void SetUp() override {
        cli.ok({"init", "--mandant", "Huber KG", "--jahr", "2026"});
        cli.ok({"bk", "neu", "Erlöse", "ER"});
        cli.ok({"bk", "neu", "Fremdleistung", "FL"});
        cli.ok({"stammdaten", "--steuernummer", "12 345/6789", "--steuerfrei-kz", "011"});
    }
    QString neu(const QStringList& args) { return cli.ok(QStringList{"buchung", "neu"} + args); }
    CliRunner cli;
};

TEST_F(CliSteuer2026, TheNewRateKindsAndKennzahlen) {
    // 104,90 / 1,049 = 100,00: tax 4,90
    EXPECT_EQ(neu({"--datum", "01.07.2026", "--betrag", "104,90", "--satz", "4.9", "--bk", "1"}),
              "1\n");
    EXPECT_TRUE(cli.ok({"buchung", "zeigen", "1"}).contains("Steuersatz\t4,9\n"));
    EXPECT_TRUE(cli.ok({"buchung", "zeigen", "1"}).endsWith("1049\t4,90\n"));
    // 300,00 net at 20 %: 60,00 owed and deducted
    EXPECT_EQ(neu({"--ausgabe", "--reverse-charge", "--datum", "10.08.2026", "--betrag", "300",
                   "--satz", "20", "--bk", "2"}),
              "2\n");
    EXPECT_TRUE(cli.ok({"buchung", "zeigen", "2"})
                    .endsWith("IstEU\t1\nIstDrittland\t2\nIstKFZ\t2\nIstGebaeude\t2\n"
                              "Steuerschuld\t1\n1021\t60,00\n2021\t60,00\n"));
    // construction at 10 %, the rate given after the switch: 500 × 10 % = 50,00
    EXPECT_EQ(neu({"--ausgabe", "--bauleistung", "--satz", "10", "--datum", "12.08.2026",
                   "--betrag", "500", "--bk", "2"}),
              "3\n");
    EXPECT_TRUE(
        cli.ok({"buchung", "zeigen", "3"}).endsWith("Steuerschuld\t2\n1021\t50,00\n2021\t50,00\n"));
    EXPECT_EQ(neu({"--datum", "06.08.2026", "--betrag", "1500", "--satz", "0", "--bk", "1", "--kz",
                   "017"}),
              "4\n");
    EXPECT_TRUE(cli.ok({"buchung", "zeigen", "4"}).contains("SteuerfreiKZ\t017\n"));
    // a change into a taxed income drops the Kennzahl
    cli.ok({"buchung", "aendern", "4", "--satz", "20"});
    EXPECT_FALSE(cli.ok({"buchung", "zeigen", "4"}).contains("SteuerfreiKZ"));
    EXPECT_TRUE(cli.ok({"liste", "ein"}).contains("01.07.2026\t1\t4,9\t104,90\t\tER\n"));
    // each counts once in the totals: UST 4,90 + 250,00 + 60,00 + 50,00; VST 60,00 + 50,00
    EXPECT_EQ(cli.ok({"summen"}),
              "Einnahmen\t1.604,90 €\nUST\t364,90 €\nAusgaben\t800,00 €\nVST\t110,00 €\n");
    // and once in the tax-office export, as an acquisition is
    cli.ok({"export", "finanzamt", "--monat", "8", cli.dir() + "/fa.txt"});
    QFile f(cli.dir() + "/fa.TXT");
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("Buchungsdatum\tBelegnummer\tText\tBruttoBetrag\tSteuersatz\t"
                                      "VST\tUST\r\n"
                                      "01.07.2026\t1\t\t104,9\t4,9\t0\t4,9\r\n"
                                      "06.08.2026\t4\t\t1500\t20\t0\t250\r\n"
                                      "10.08.2026\t2\t\t-300\t20\t60\t60\r\n"
                                      "12.08.2026\t3\t\t-500\t10\t50\t50\r\n"));
}

TEST_F(CliSteuer2026, RefusalsChangeNothing) {
    const QByteArray vorher = cli.databaseBytes();
    const struct {
        QStringList args;
        QString meldung;
    } faelle[] = {
        {{"buchung", "neu", "--datum", "30.06.2026", "--betrag", "10", "--satz", "4,9", "--bk",
          "1"},
         "Der Steuersatz 4,9 % gilt erst ab 01.07.2026."},
        {{"buchung", "neu", "--datum", "01.07.2026", "--betrag", "10", "--satz", "4,95", "--bk",
          "1"},
         "'4,95' ist kein gültiger Steuersatz."},
        {{"buchung", "neu", "--reverse-charge", "--datum", "01.07.2026", "--betrag", "10", "--satz",
          "20", "--bk", "1"},
         "Die Schalter --eu, --drittland, --reverse-charge, --bauleistung, --kfz und --gebaeude "
         "gibt es nur bei einer Ausgabe."},
        {{"buchung", "neu", "--datum", "01.07.2026", "--betrag", "10", "--satz", "0", "--bk", "1",
          "--kz", "012"},
         "'012' ist keine Kennzahl für steuerfreie Umsätze."},
        {{"buchung", "neu", "--datum", "01.07.2026", "--betrag", "10", "--satz", "20", "--bk", "1",
          "--kz", "011"},
         "Eine Kennzahl für steuerfreie Umsätze gibt es nur bei Einnahmen zu 0 %."},
        {{"stammdaten", "--steuernummer", "12-345/678x9"},
         "Die Steuernummer darf nur Ziffern, Leerzeichen, - und / enthalten."},
    };
    for (const auto& f : faelle) {
        const CliErgebnis r = cli.run(f.args);
        EXPECT_EQ(r.status, 1) << f.args.join(' ').toStdString();
        EXPECT_EQ(r.err, f.meldung + "\n") << f.args.join(' ').toStdString();
    }
    EXPECT_EQ(cli.databaseBytes(), vorher);
}

// An input tax at 5 % in 2026 may be an old invoice: written, warned on stderr.
TEST_F(CliSteuer2026, TheReturnWarnsOfOldRates) {
    neu({"--ausgabe", "--datum", "10.08.2026", "--betrag", "105", "--satz", "5", "--bk", "2",
         "--beleg", "7"});
    const CliErgebnis r =
        cli.run({"export", "uva", "--zeitraum", "8", cli.dir() + "/U30_2026-08_2026-08.xml"});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.err,
              "Vorsteuer zu 5 % (nur 07/2020 bis 12/2021) oder 12 % (nur bis 2015), bitte "
              "prüfen, ob die Rechnung aus dieser Zeit stammt:\n10.08.2026 Beleg 7 105,00\n");
    EXPECT_TRUE(r.out.startsWith("000\t0.00\n060\t5.00\n095\t-5.00\n")) << r.out.toStdString();
}

} // namespace
