#include "clirunner.h"

#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

// A first quarter with revenues at three rates, a vehicle expense, an
// intra-community acquisition and import VAT; the expected figures were
// worked out by hand.
class CliBericht : public ::testing::Test {
protected:
    void SetUp() override {
        cli.ok({"init", "--mandant", "Huber KG", "--jahr", "2026"});
        cli.ok({"stammdaten", "--name", "Tischlerei Huber"});
        cli.ok({"bk", "neu", "Erlöse", "ER"});
        const QList<QStringList> buchungen = {
            {"--datum", "02.01.2026", "--betrag", "1.200,00", "--satz", "20"},
            {"--datum", "15.02.2026", "--betrag", "110", "--satz", "10"},
            {"--datum", "31.03.2026", "--betrag", "80", "--satz", "0"},
            {"--ausgabe", "--kfz", "--datum", "03.03.2026", "--betrag", "240", "--satz", "20"},
            {"--ausgabe", "--eu", "--datum", "06.03.2026", "--betrag", "1000", "--satz", "20"},
            {"--ausgabe", "--drittland", "--datum", "08.03.2026", "--betrag", "150", "--satz", "0"},
            {"--datum", "01.04.2026", "--betrag", "1000", "--satz", "20"},
        };
        for (const QStringList& b : buchungen)
            cli.ok(QStringList{"buchung", "neu", "--bk", "1"} + b);
    }
    CliRunner cli;
};

TEST_F(CliBericht, VerprobungPrintsTheReportLines) {
    EXPECT_EQ(cli.ok({"bericht", "verprobung", "--zeitraum", "13"}),
              CliRunner::golden("verprobung_q1.txt"));
}

TEST_F(CliBericht, VerprobungAsPdf) {
    const QString pdf = cli.dir() + "/q1.pdf";
    EXPECT_EQ(cli.ok({"bericht", "verprobung", "--zeitraum", "13", "--pdf", pdf}), "");
    QProcess p;
    p.start("pdftotext", {"-layout", pdf, "-"});
    ASSERT_TRUE(p.waitForFinished(30000));
    const QString text = QString::fromUtf8(p.readAllStandardOutput());
    for (const char* s : {"Umsatzsteuerverprobung", "Tischlerei Huber", "1. Quartal 2026",
                          "Erlöse 20%", "2.180,00", "Zahllast"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(s))) << s;

    const CliErgebnis kaputt =
        cli.run({"bericht", "verprobung", "--zeitraum", "13", "--pdf", cli.dir() + "/fehlt/x.pdf"});
    EXPECT_EQ(kaputt.status, 1);
    EXPECT_TRUE(kaputt.err.contains("konnte nicht geschrieben werden"));
    EXPECT_FALSE(QFile::exists(cli.dir() + "/fehlt"));
}

TEST_F(CliBericht, RefusalsAndUsageErrors) {
    const CliErgebnis leer = cli.run({"bericht", "verprobung", "--zeitraum", "5"});
    EXPECT_EQ(leer.status, 1);
    EXPECT_EQ(leer.out, "");
    EXPECT_EQ(leer.err, "Es gibt für diesen Zeitraum (noch) keine Einnahmen!\n");
    for (const QStringList& falsch :
         QList<QStringList>{{"--zeitraum", "0"}, {"--zeitraum", "18"}, {"--zeitraum", "Mai"}, {}}) {
        const CliErgebnis r = cli.run(QStringList{"bericht", "verprobung"} + falsch);
        EXPECT_EQ(r.status, 2) << falsch.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains("bericht verprobung --zeitraum N")) << r.err.toStdString();
        EXPECT_EQ(r.out, "");
    }
}

} // namespace
