#include "clirunner.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray dateiBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<fehlt>");
}

QByteArray golden(const QString& name) {
    return dateiBytes(QStringLiteral(VELMORA_GOLDEN_DIR) + "/" + name);
}

// The tax-office export of fiscal year 2008; the expected files are worked
// out by hand: signs, the one row of an intra-community acquisition, the
// zero amount of an import, same-date order by identifier, the month's end.
class CliFinanzamt : public ::testing::Test {
protected:
    void SetUp() override {
        cli.ok({"init", "--mandant", "Huber KG", "--jahr", "2008"});
        cli.ok({"bk", "neu", "Erlöse", "ER"});
        cli.ok({"bk", "neu", "Einkauf", "EK"});
        const QList<QStringList> buchungen = {
            {"--datum", "15.01.2008", "--betrag", "120", "--satz", "20", "--bk", "1", "--text",
             "Honorar Jänner"},
            {"--ausgabe", "--datum", "03.02.2008", "--betrag", "240", "--satz", "20", "--bk", "2",
             "--text", "Büromaterial"},
            {"--ausgabe", "--eu", "--datum", "29.02.2008", "--betrag", "1000", "--satz", "20",
             "--bk", "2", "--text", "Ware aus Deutschland"},
            {"--ausgabe", "--drittland", "--datum", "10.03.2008", "--betrag", "150", "--satz", "0",
             "--bk", "2", "--text", "EUSt Zoll"},
            {"--datum", "10.03.2008", "--betrag", "100", "--satz", "10", "--bk", "1", "--text",
             "Zimmer"},
            {"--datum", "30.06.2008", "--betrag", "100,02", "--satz", "20", "--bk", "1", "--text",
             "Rundung"},
            {"--datum", "01.07.2008", "--betrag", "500", "--satz", "20", "--bk", "1", "--text",
             "Juli"},
            {"--datum", "01.01.2008", "--betrag", "80", "--satz", "0", "--bk", "1", "--text",
             "Neujahr"},
        };
        for (const QStringList& b : buchungen)
            cli.ok(QStringList{"buchung", "neu"} + b);
    }
    QString datei(const QString& name) const { return cli.dir() + "/" + name; }
    CliRunner cli;
};

TEST_F(CliFinanzamt, MonthsAndFormatsMatchTheExpectedFiles) {
    EXPECT_EQ(cli.ok({"export", "finanzamt", "--monat", "6", datei("juni.txt")}), "");
    EXPECT_EQ(dateiBytes(datei("juni.TXT")), golden("finanzamt_juni.TXT"));
    // a name typed with another extension is written with the format's
    cli.ok({"export", "finanzamt", "--monat", "2", datei("feb.csv")});
    EXPECT_EQ(dateiBytes(datei("feb.TXT")), golden("finanzamt_februar.TXT"));
    EXPECT_FALSE(QFile::exists(datei("feb.csv")));
    cli.ok({"export", "finanzamt", "--monat", "2", "--format", "csv", datei("feb")});
    EXPECT_EQ(dateiBytes(datei("feb.CSV")), golden("finanzamt_februar.CSV"));
    // December is the whole year: July is there too, and the file is replaced
    cli.ok({"export", "finanzamt", "--monat", "12", datei("juni.TXT")});
    const QByteArray jahr = dateiBytes(datei("juni.TXT"));
    EXPECT_TRUE(jahr.startsWith(golden("finanzamt_juni.TXT")));
    EXPECT_EQ(jahr.mid(golden("finanzamt_juni.TXT").size()),
              QByteArray("01.07.2008\t7\tJuli\t500\t20\t0\t83,33\r\n"));
}

TEST_F(CliFinanzamt, EveryFormatWritesItsFileAndTheWorkbookHoldsNumbers) {
    const struct {
        const char* format;
        const char* ext;
        QByteArray start;
    } formate[] = {
        {"txt", "TXT", "Buchungsdatum "},
        {"html", "HTML", "<!-- THIS FILE"},
        {"doc", "DOC", "{\\rtf1"},
        {"rtf", "RTF", "{\\rtf1"},
        {"dif", "DIF", "TABLE\r\n0,1\r\n"},
        {"slk", "SLK", "ID;PTDBGRIDEXPORT\r\n"},
        {"xls", "XLS", QByteArray("\x09\x08", 2)},
        {"xlsx", "XLSX", "PK"},
    };
    for (const auto& f : formate) {
        cli.ok({"export", "finanzamt", "--monat", "2", "--format", f.format, datei("feb")});
        EXPECT_TRUE(dateiBytes(datei(QStringLiteral("feb.") + f.ext)).startsWith(f.start))
            << f.format;
    }
    QProcess p;
    p.start("/usr/bin/python3",
            {"-c",
             "import sys, openpyxl\n"
             "for row in openpyxl.load_workbook(sys.argv[1]).active.iter_rows(min_row=2):\n"
             "  print('|'.join('%r:%s' % (c.value, c.number_format) for c in row))\n",
             datei("feb.XLSX")});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(QString::fromUtf8(p.readAllStandardOutput()).toStdString(),
              "datetime.datetime(2008, 1, 1, 0, 0):dd.mm.yyyy|8:0|'Neujahr':General|80:#,##0.00|"
              "0:0|0:#,##0.00|0:#,##0.00\n"
              "datetime.datetime(2008, 1, 15, 0, 0):dd.mm.yyyy|1:0|'Honorar Jänner':General|"
              "120:#,##0.00|20:0|0:#,##0.00|20:#,##0.00\n"
              "datetime.datetime(2008, 2, 3, 0, 0):dd.mm.yyyy|2:0|'Büromaterial':General|"
              "-240:#,##0.00|20:0|40:#,##0.00|0:#,##0.00\n"
              "datetime.datetime(2008, 2, 29, 0, 0):dd.mm.yyyy|3:0|'Ware aus Deutschland':General|"
              "-1000:#,##0.00|20:0|200:#,##0.00|200:#,##0.00\n")
        << p.readAllStandardError().toStdString();
}

// The semicolon CSV, written to a name relative to the shell's working
// directory rather than the program directory.
TEST_F(CliFinanzamt, SemicolonCsvToARelativeName) {
    QTemporaryDir shell;
    cli.arbeitsverzeichnis = shell.path();
    cli.ok({"export", "finanzamt", "--monat", "2", "--format", "csv-excel", "feb"});
    EXPECT_EQ(dateiBytes(shell.filePath("feb.CSV")),
              QByteArray("\xEF\xBB\xBF"
                         "Buchungsdatum;Belegnummer;Text;BruttoBetrag;Steuersatz;VST;UST\r\n"
                         "01.01.2008;8;Neujahr;80;0;0;0\r\n"
                         "15.01.2008;1;Honorar J\xC3\xA4nner;120;20;0;20\r\n"
                         "03.02.2008;2;B\xC3\xBCromaterial;-240;20;40;0\r\n"
                         "29.02.2008;3;Ware aus Deutschland;-1000;20;200;200\r\n"));
    EXPECT_FALSE(QFile::exists(datei("feb.CSV")));
    // so is the report's PDF
    cli.ok({"bericht", "journal", "--zeitraum", "1", "--pdf", "journal.pdf"});
    EXPECT_TRUE(dateiBytes(shell.filePath("journal.pdf")).startsWith("%PDF"));
}

TEST_F(CliFinanzamt, UsageErrorsAndFailures) {
    for (const QStringList& falsch :
         {QStringList{"export", "finanzamt", "--monat", "13", datei("x")},
          QStringList{"export", "finanzamt", "--monat", "0", datei("x")},
          QStringList{"export", "finanzamt", "--monat", "Mai", datei("x")},
          QStringList{"export", "finanzamt", datei("x")},
          QStringList{"export", "finanzamt", "--monat", "6", "--format", "pdf", datei("x")}}) {
        const CliErgebnis r = cli.run(falsch);
        EXPECT_EQ(r.status, 2) << falsch.join(' ').toStdString();
        EXPECT_TRUE(
            r.err.contains("export finanzamt --monat M FILE "
                           "[--format tab|csv|txt|html|doc|rtf|dif|slk|xls|xlsx|csv-excel]"));
    }
    const CliErgebnis r = cli.run({"export", "finanzamt", "--monat", "6", datei("fehlt/x.txt")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.startsWith("Die Datei " + datei("fehlt/x.TXT") +
                                 " konnte nicht geschrieben werden:\n"))
        << r.err.toStdString();
    EXPECT_FALSE(QDir(datei("fehlt")).exists());
}

TEST_F(CliFinanzamt, CharactersOutsideTheCodePageAreReported) {
    cli.ok({"buchung", "neu", "--datum", "02.01.2008", "--betrag", "1", "--satz", "0", "--bk", "1",
            "--text", "Преміум → ok"});
    const CliErgebnis r = cli.run({"export", "finanzamt", "--monat", "1", datei("j.txt")});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "8 Zeichen waren in Windows-1252 nicht darstellbar und wurden durch ? "
                     "ersetzt.\n");
    EXPECT_TRUE(dateiBytes(datei("j.TXT")).contains("\t??????? ? ok\t1\t0\t0\t0\r\n"));
}

} // namespace
