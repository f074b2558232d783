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
        cli.erstesQuartal();
        cli.ok({"stammdaten", "--name", "Tischlerei Huber"});
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
