#include "clirunner.h"

#include <gtest/gtest.h>

namespace {

// A month of a small business, entered by script: the lists, totals and
// bookings must match the expected files, which were worked out by hand.
class CliMonat : public ::testing::Test {
protected:
    void SetUp() override {
        cli.ok({"init", "--mandant", "Huber KG", "--jahr", "2026"});
        for (const auto& [name, kurz] : std::vector<std::pair<QString, QString>>{
                 {"Erlöse", "ER"}, {"Büro", "BU"}, {"Fahrzeug", "KF"}, {"Wareneinkauf", "WE"}})
            cli.ok({"bk", "neu", name, kurz});
        const QList<QStringList> buchungen = {
            {"--datum", "02.03.2026", "--betrag", "120", "--satz", "20", "--bk", "1", "--text",
             "Honorar März"},
            {"--datum", "05.03.2026", "--betrag", "1.234,56", "--satz", "10", "--bk", "1", "--text",
             "Zimmervermietung"},
            {"--datum", "05.03.2026", "--betrag", "100,00", "--satz", "13", "--bk", "1", "--text",
             "Kulturveranstaltung"},
            {"--datum", "10.03.2026", "--betrag", "80", "--satz", "0", "--bk", "1", "--text",
             "Kleinunternehmer"},
            {"--ausgabe", "--datum", "03.03.2026", "--betrag", "100", "--satz", "20", "--bk", "2",
             "--text", "Büromaterial"},
            {"--ausgabe", "--datum", "04.03.2026", "--betrag", "50", "--satz", "10", "--bk", "2",
             "--text", "Fachliteratur"},
            {"--ausgabe", "--eu", "--datum", "06.03.2026", "--betrag", "1000", "--satz", "20",
             "--bk", "4", "--text", "Ware aus Deutschland"},
            {"--ausgabe", "--eu", "--datum", "07.03.2026", "--betrag", "333,33", "--satz", "20",
             "--bk", "4", "--text", "Ware aus Italien"},
            {"--ausgabe", "--drittland", "--datum", "08.03.2026", "--betrag", "250.55", "--satz",
             "0", "--bk", "4", "--text", "EUSt Zoll"},
            {"--ausgabe", "--kfz", "--datum", "09.03.2026", "--betrag", "60", "--satz", "20",
             "--bk", "3", "--text", "Tanken"},
            {"--ausgabe", "--gebaeude", "--datum", "12.03.2026", "--betrag", "240", "--satz", "20",
             "--bk", "2", "--text", "Reparatur Dach"},
            {"--einnahme", "--datum", "15.03.2026", "--betrag", "0,15", "--satz", "20", "--bk", "1",
             "--text", "Rundung"},
        };
        int erwartet = 1;
        for (const QStringList& b : buchungen)
            EXPECT_EQ(cli.ok(QStringList{"buchung", "neu"} + b),
                      QString::number(erwartet++) + "\n");
        cli.ok({"buchung", "aendern", "1", "--betrag", "240", "--text", "Honorar März korrigiert"});
        cli.ok({"buchung", "aendern", "3", "--ausgabe", "--eu", "--satz", "20", "--bk", "4"});
        cli.ok({"buchung", "loeschen", "4"});
    }
    CliRunner cli;
};

TEST_F(CliMonat, ListsTotalsAndBookingsMatchTheExpectedFiles) {
    EXPECT_EQ(cli.ok({"bk", "liste"}), CliRunner::golden("monat_bk_liste.txt"));
    EXPECT_EQ(cli.ok({"liste", "ein"}), CliRunner::golden("monat_liste_ein.txt"));
    EXPECT_EQ(cli.ok({"liste", "aus"}), CliRunner::golden("monat_liste_aus.txt"));
    EXPECT_EQ(cli.ok({"summen"}), CliRunner::golden("monat_summen.txt"));
    EXPECT_EQ(cli.ok({"buchung", "zeigen", "1"}), CliRunner::golden("monat_buchung_1.txt"));
    EXPECT_EQ(cli.ok({"buchung", "zeigen", "3"}), CliRunner::golden("monat_buchung_3.txt"));
    const CliErgebnis weg = cli.run({"buchung", "zeigen", "4"});
    EXPECT_EQ(weg.status, 1);
    EXPECT_EQ(weg.err, "Die Buchung ist nicht mehr vorhanden.\n");
}

TEST_F(CliMonat, RefusalsChangeNothing) {
    const QByteArray before = cli.databaseBytes();
    const struct {
        QStringList args;
        QString message;
    } cases[] = {
        {{"buchung", "neu", "--datum", "16.03.2026", "--betrag", "50", "--satz", "15", "--bk", "2"},
         "Für den Steuersatz 15 % gibt es kein Steuerkonto."},
        {{"buchung", "neu", "--datum", "16.03.2026", "--betrag", "50", "--satz", "21", "--bk", "2"},
         "Für den Steuersatz 21 % gibt es kein Steuerkonto."},
        {{"buchung", "neu", "--datum", "16.03.2026", "--betrag", "5,0,0", "--satz", "10", "--bk",
          "2"},
         "'5,0,0' ist kein gültiger Betrag."},
        {{"buchung", "neu", "--datum", "16.03.2026", "--betrag", "1,23456", "--satz", "10", "--bk",
          "2"},
         "'1,23456' ist kein gültiger Betrag."},
        {{"buchung", "neu", "--datum", "16.03.2026", "--betrag", "50", "--satz", "zehn", "--bk",
          "2"},
         "'zehn' ist kein gültiger Steuersatz."},
        {{"buchung", "neu", "--datum", "16.03.2026", "--betrag", "50", "--satz", "10", "--bk",
          "99"},
         "Den Buchungskreis 99 gibt es beim aktuellen Mandanten nicht."},
        {{"buchung", "neu", "--datum", "31.12.2025", "--betrag", "50", "--satz", "10", "--bk", "2"},
         "Das Belegdatum 31.12.2025 liegt nicht im Wirtschaftsjahr 2026."},
        {{"buchung", "neu", "--datum", "16.03.2026", "--betrag", "50", "--satz", "10", "--bk", "2",
          "--beleg", "99999999999"},
         "'99999999999' ist keine gültige Belegnummer."},
        {{"buchung", "neu", "--eu", "--datum", "16.03.2026", "--betrag", "50", "--satz", "20",
          "--bk", "2"},
         "Die Schalter --eu, --drittland, --reverse-charge, --bauleistung, --kfz und "
         "--gebaeude gibt es nur bei einer Ausgabe."},
        {{"buchung", "neu", "--datum", "16.03.2026", "--betrag", "50", "--satz", "10", "--bk", "2",
          "--text", QString(101, 'x')},
         "Der Buchungstext darf höchstens 100 Zeichen lang sein."},
        {{"buchung", "neu", "--datum", "16.03.2026", "--betrag", "500000000000000", "--satz", "10",
          "--bk", "2"},
         "Der Betrag darf höchstens 99.999.999,99 betragen."},
        {{"buchung", "neu", "--datum", "16.03.2026", "--betrag", "-100.000.000", "--satz", "10",
          "--bk", "2"},
         "Der Betrag darf höchstens 99.999.999,99 betragen."},
        {{"buchung", "neu", "--datum", "16.03.2026", "--betrag", "1,234", "--satz", "10", "--bk",
          "2"},
         "Der Betrag darf höchstens zwei Nachkommastellen haben."},
        {{"buchung", "neu", "--ausgabe", "--eu", "--datum", "16.03.2026", "--betrag", "50",
          "--satz", "1000", "--bk", "4"},
         "Für den Steuersatz 1000 % gibt es kein Steuerkonto."},
        {{"buchung", "neu", "--ausgabe", "--eu", "--datum", "16.03.2026", "--betrag", "50",
          "--satz", "-20", "--bk", "4"},
         "Für den Steuersatz -20 % gibt es kein Steuerkonto."},
        {{"buchung", "neu", "--ausgabe", "--drittland", "--datum", "16.03.2026", "--betrag", "50",
          "--satz", "32767", "--bk", "4"},
         "Für den Steuersatz 32767 % gibt es kein Steuerkonto."},
        {{"buchung", "neu", "--ausgabe", "--satz", "19", "--datum", "16.03.2026", "--betrag", "50",
          "--bk", "4"},
         "Für den Steuersatz 19 % gibt es kein Steuerkonto."}, // German rates not chosen
        {{"buchung", "neu", "--datum", "16.03.2026", "--betrag", "50", "--satz", "10", "--bk", "2",
          "--beleg", "3"},
         "Die Belegnummer 3 ist in diesem Wirtschaftsjahr bereits vergeben."},
        {{"buchung", "aendern", "1", "--beleg", "2"},
         "Die Belegnummer 2 ist in diesem Wirtschaftsjahr bereits vergeben."},
        {{"buchung", "neu", "--datum", "16.03.2026", "--betrag", "50", "--satz", "10", "--bk", "2",
          "--text", QString::fromUtf8("\xF0\x9F\x91\x8D").repeated(101)},
         "Der Buchungstext darf höchstens 100 Zeichen lang sein."},
        {{"buchung", "aendern", "4", "--betrag", "10"}, "Die Buchung ist nicht mehr vorhanden."},
        {{"buchung", "loeschen", "77"}, "Die Buchung ist nicht mehr vorhanden."},
        {{"bk", "loeschen", "2"},
         "Auf diesen Buchungskreis wurde bereits gebucht und kann deshalb nicht mehr gelöscht "
         "werden."},
        {{"mandant", "neu", "Huber KG"}, "Es gibt bereits einen Mandanten mit dieser Bezeichnung!"},
        {{"jahr", "neu", "2026"}, "Das Jahr 2026 existiert bereits"},
        {{"jahr", "neu", "zwanzig"}, "Es dürfen nur Zahlen angegeben werden"},
        {{"jahr", "loeschen", "2026"},
         "Das aktive Wirtschaftsjahr kann nicht gelöscht werden. \nBitte zuerst mit Doppelklick "
         "das "
         "Wirtschaftsjahr wechseln. \nDanach das zu löschende Wirtschaftsjahr markieren."},
    };
    for (const auto& c : cases) {
        const CliErgebnis r = cli.run(c.args);
        EXPECT_EQ(r.status, 1) << c.args.join(' ').toStdString();
        EXPECT_EQ(r.err, c.message + "\n") << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_EQ(cli.databaseBytes(), before) << c.args.join(' ').toStdString();
    }
}

// Texts are stored as characters on one line: an emoji is never cut in half,
// and tabs or line breaks never make one booking look like several.
TEST_F(CliMonat, TextsKeepTheirCharactersOnOneLine) {
    const QString daumen = QString::fromUtf8("\xF0\x9F\x91\x8D");
    const QString id = cli.ok({"bk", "neu", "Kreis", "a" + daumen}).trimmed();
    EXPECT_TRUE(cli.ok({"bk", "liste"}).contains(id + "\tKreis\ta" + daumen + "\n"));
    cli.ok({"buchung", "neu", "--datum", "20.03.2026", "--betrag", "10", "--satz", "20", "--bk",
            "1", "--text", "Zeile1\nZeile2\tEnde\r"});
    cli.ok({"buchung", "neu", "--datum", "21.03.2026", "--betrag", "10", "--satz", "20", "--bk",
            "1", "--text", daumen.repeated(100)});
    const QStringList zeilen = cli.ok({"liste", "ein"}).split('\n', Qt::SkipEmptyParts);
    EXPECT_EQ(zeilen.filter("Zeile1").size(), 1);
    EXPECT_TRUE(zeilen.filter("Zeile1").front().contains("Zeile1 Zeile2 Ende "));
    EXPECT_FALSE(zeilen.filter(daumen.repeated(100)).isEmpty());
    // without --beleg every booking gets the next number of the year
    const QString nummern = cli.ok({"buchung", "zeigen", "14"});
    EXPECT_TRUE(nummern.contains("Belegnummer\t14\n")) << nummern.toStdString();
}

TEST_F(CliMonat, UsageErrorsGiveStatusTwo) {
    for (const QStringList& args :
         QList<QStringList>{{"buchung", "neu", "--betrag", "50", "--satz", "10", "--bk", "2"},
                            {"buchung", "neu", "--datum", "16.03.2026", "--betrag", "50", "--satz",
                             "10", "--bk", "2", "--rabatt", "5"},
                            {"buchung", "zeigen"},
                            {"bk", "neu", "nur-name"},
                            {"liste", "mitte"},
                            {"summen", "extra"},
                            {"stammdaten", "--steuer-de", "vielleicht"}}) {
        const CliErgebnis r = cli.run(args);
        EXPECT_EQ(r.status, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains("Aufruf: velmora-cli")) << r.err.toStdString();
    }
}

} // namespace
