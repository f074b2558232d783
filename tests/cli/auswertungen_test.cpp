#include "clirunner.h"

#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

QByteArray dateiBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<fehlt>");
}

// A first quarter of 2008 with an income per rate, an ordinary expense, an
// intra-community acquisition and an import; the expected lines and files
// were worked out by hand.
class CliAuswertungen : public ::testing::Test {
protected:
    void SetUp() override {
        cli.ok({"init", "--mandant", "Huber KG", "--jahr", "2008"});
        cli.ok({"stammdaten", "--name", "Tischlerei Huber"});
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
            {"--datum", "10.03.2008", "--betrag", "110", "--satz", "10", "--bk", "1", "--text",
             "Zimmer"},
        };
        for (const QStringList& b : buchungen)
            cli.ok(QStringList{"buchung", "neu"} + b);
    }
    QString datei(const QString& name) const { return cli.dir() + "/" + name; }
    CliRunner cli;
};

TEST_F(CliAuswertungen, ReportsPrintTheirLines) {
    EXPECT_EQ(cli.ok({"bericht", "journal", "--zeitraum", "13"}),
              CliRunner::golden("journal_q1.txt"));
    EXPECT_EQ(cli.ok({"bericht", "bkreis"}), CliRunner::golden("bkreis.txt"));
    EXPECT_EQ(cli.ok({"bericht", "plusminus"}), CliRunner::golden("plusminus.txt"));
    const QStringList erloese = cli.ok({"bericht", "bkreis", "--bk", "1"}).split('\n');
    EXPECT_EQ(erloese.mid(3),
              QStringList({"Einnahmen", "Erlöse\t200,00\t230,00", "Summe Einnahmen\t200,00\t230,00",
                           "Ergebnis\t200,00\t230,00", ""}));
    const QStringList einkauf = cli.ok({"bericht", "details", "--bk", "2"}).split('\n');
    EXPECT_EQ(einkauf.value(1), "Jahr 2008 - Einkauf\t");
    EXPECT_EQ(einkauf.value(einkauf.size() - 2), "Ergebnis\t-1.200,00\t-1.390,00");
}

TEST_F(CliAuswertungen, APeriodAndTheMonths) {
    EXPECT_EQ(cli.ok({"bericht", "bkreis", "--zeitraum", "1"}).split('\n'),
              QStringList({"Einnahmen - Ausgaben Rechnung\tTischlerei Huber\tSeite 1 von 1",
                           "Jänner 2008", "Netto\tBrutto", "Einnahmen", "Erlöse\t100,00\t120,00",
                           "Summe Einnahmen\t100,00\t120,00", "Ergebnis\t100,00\t120,00", ""}));
    // the acquisition on the last day of February is in, the import of March out
    EXPECT_EQ(cli.ok({"bericht", "plusminus", "--zeitraum", "2"}).split('\n').mid(3),
              QStringList({"Einkauf\t0,00\t1.240,00\t-1.240,00\t0,00\t1.200,00\t-1.200,00",
                           "Ergebnis\t0,00\t1.240,00\t-1.240,00\t0,00\t1.200,00\t-1.200,00", ""}));
    const QStringList maerz = cli.ok({"bericht", "details", "--zeitraum", "3"}).split('\n');
    EXPECT_EQ(maerz.value(1), "März 2008 alle Buchungskreise\t");
    EXPECT_EQ(maerz.value(maerz.size() - 2), "Ergebnis\t100,00\t-40,00");
    EXPECT_EQ(cli.run({"bericht", "plusminus", "--zeitraum", "0"}).status, 2);

    // January 100 in; February 200 + 1.000 out; March 100 in, the import 0
    const QStringList monate = cli.ok({"bericht", "monate"}).split('\n');
    EXPECT_EQ(monate.mid(0, 6),
              QStringList({"Monatsübersicht\tTischlerei Huber\tSeite 1 von 1", "Jahr 2008",
                           "Monat\tEinnahmen netto\tAusgaben netto\tErgebnis\tKumuliert",
                           "Jänner\t100,00\t0,00\t100,00\t100,00",
                           "Februar\t0,00\t1.200,00\t-1.200,00\t-1.100,00",
                           "März\t100,00\t0,00\t100,00\t-1.000,00"}));
    EXPECT_EQ(monate.value(14), "Dezember\t0,00\t0,00\t0,00\t-1.000,00");
    EXPECT_EQ(monate.value(15), "Summe\t200,00\t1.200,00\t-1.000,00");
    EXPECT_EQ(monate.size(), 17);
    const QString pdf = datei("monate.pdf");
    EXPECT_EQ(cli.ok({"bericht", "monate", "--pdf", pdf}), "");
    QProcess p;
    p.start("pdftotext", {"-layout", pdf, "-"});
    ASSERT_TRUE(p.waitForFinished(30000));
    const QString text = QString::fromUtf8(p.readAllStandardOutput());
    for (const char* s :
         {"Monatsübersicht", "Seite 1 von 1", "Gedruckt am 10.12.2026", "-1.000,00"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(s))) << s << text.toStdString();
}

TEST_F(CliAuswertungen, ExportsMatchTheExpectedFiles) {
    EXPECT_EQ(cli.ok({"export", "journal", "--zeitraum", "13", datei("journal.txt")}), "");
    EXPECT_EQ(dateiBytes(datei("journal.TXT")),
              dateiBytes(QStringLiteral(VELMORA_GOLDEN_DIR) + "/journal_export_q1.TXT"));
    EXPECT_EQ(cli.ok({"export", "details", datei("details")}), "");
    EXPECT_EQ(dateiBytes(datei("details.TXT")),
              dateiBytes(QStringLiteral(VELMORA_GOLDEN_DIR) + "/details_export.TXT"));
    // the other formats through the same component: the same rows
    EXPECT_EQ(
        cli.ok({"export", "journal", "--zeitraum", "13", datei("journal"), "--format", "csv"}), "");
    EXPECT_EQ(dateiBytes(datei("journal.CSV")).count("\r\n"),
              dateiBytes(datei("journal.TXT")).count("\r\n"));
    EXPECT_EQ(cli.ok({"export", "details", datei("details"), "--format", "xlsx"}), "");
    EXPECT_TRUE(dateiBytes(datei("details.XLSX")).startsWith("PK"));
    EXPECT_EQ(cli.run({"export", "details", datei("d"), "--format", "pdf"}).status, 2);
}

TEST_F(CliAuswertungen, PdfRefusalsAndUsageErrors) {
    const QString pdf = datei("pm.pdf");
    EXPECT_EQ(cli.ok({"bericht", "plusminus", "--pdf", pdf}), "");
    QProcess p;
    p.start("pdftotext", {"-layout", pdf, "-"});
    ASSERT_TRUE(p.waitForFinished(30000));
    const QString text = QString::fromUtf8(p.readAllStandardOutput());
    for (const char* s : {"Plus - Minus Rechnung", "Tischlerei Huber", "-1.160,00", "Ergebnis"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(s))) << s;

    for (const QStringList& fremd : QList<QStringList>{{"bericht", "bkreis", "--bk", "99"},
                                                       {"bericht", "details", "--bk", "0"}}) {
        const CliErgebnis r = cli.run(fremd);
        EXPECT_EQ(r.status, 1) << fremd.join(' ').toStdString();
        EXPECT_EQ(r.err, "Diesen Buchungskreis gibt es beim Mandanten nicht.\n");
        EXPECT_EQ(r.out, "");
    }
    for (const QStringList& falsch : QList<QStringList>{{"bericht", "journal"},
                                                        {"bericht", "journal", "--zeitraum", "18"},
                                                        {"bericht", "bkreis", "--bk", "eins"},
                                                        {"export", "journal", "--zeitraum", "13"},
                                                        {"export", "details"}}) {
        const CliErgebnis r = cli.run(falsch);
        EXPECT_EQ(r.status, 2) << falsch.join(' ').toStdString();
    }
    const CliErgebnis r = cli.run({"export", "details", datei("fehlt/x.txt")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains("konnte nicht geschrieben werden")) << r.err.toStdString();
}

} // namespace
