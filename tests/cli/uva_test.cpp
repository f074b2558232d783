#include "clirunner.h"

#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

// The first quarter of the report tests: revenues at 20, 10 and 0 %, a
// vehicle expense, an intra-community acquisition and import VAT; figures
// worked out by hand.
class CliUva : public ::testing::Test {
protected:
    void SetUp() override {
        cli.erstesQuartal();
        cli.ok({"stammdaten", "--steuernummer", "12 345/6789"});
    }
    CliRunner cli;
};

TEST_F(CliUva, PrintsTheKennzahlenAndWritesAValidFile) {
    cli.ok({"stammdaten", "--steuerfrei-kz", "019"});
    const QString datei = cli.dir() + "/U30_2026-01_2026-03.xml";
    EXPECT_EQ(cli.ok({"export", "uva", "--zeitraum", "13", datei}),
              "000\t1180.00\n019\t80.00\n022\t1000.00\n029\t100.00\n070\t1000.00\n072\t1000.00\n"
              "060\t40.00\n061\t150.00\n065\t200.00\n095\t20.00\nZahllast\t20.00\n"
              "Differenz\t0.00\nKFZ\t40.00\nGebaeude\t0.00\n");
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start("xmllint",
            {"--noout", "--schema",
             VELMORA_SCHEMA_DIR "/BMF_ERKLAERUNGS_UEBERMITTLUNG_U30_01_2022.xsd", datei});
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAll().toStdString();
    QFile f(datei);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray text = f.readAll();
    EXPECT_TRUE(text.contains("<DATUM_ERSTELLUNG type=\"datum\">2026-12-10</DATUM_ERSTELLUNG>"));
    EXPECT_TRUE(text.contains("<KZ019 type=\"kz\">80.00</KZ019>"));
}

TEST_F(CliUva, RefusalsWriteNoFile) {
    const QString datei = cli.dir() + "/uva.xml";
    {
        QFile alt(datei);
        ASSERT_TRUE(alt.open(QIODevice::WriteOnly));
        alt.write("alt");
    }
    const CliErgebnis ohneWahl = cli.run({"export", "uva", "--zeitraum", "13", datei});
    EXPECT_EQ(ohneWahl.status, 1);
    EXPECT_EQ(ohneWahl.out, "");
    EXPECT_EQ(ohneWahl.err,
              "Der Zeitraum hat Erlöse zu 0 % (Bemessungsgrundlage 80,00).\nBitte in den "
              "Stammdaten wählen, unter welcher Kennzahl sie gemeldet werden; es wurde keine "
              "Datei erstellt.\n");
    cli.ok({"stammdaten", "--steuerfrei-kz", "nicht steuerbar", "--steuernummer", "12345"});
    const CliErgebnis nummer = cli.run({"export", "uva", "--zeitraum", "13", datei});
    EXPECT_EQ(nummer.status, 1);
    EXPECT_TRUE(nummer.err.startsWith("Die Steuernummer \"12345\"")) << nummer.err.toStdString();
    QFile f(datei);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), "alt");

    for (const QStringList& falsch :
         QList<QStringList>{{"--zeitraum", "17", datei}, {"--zeitraum", "0", datei}, {datei}}) {
        const CliErgebnis r = cli.run(QStringList{"export", "uva"} + falsch);
        EXPECT_EQ(r.status, 2) << falsch.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains("export uva --zeitraum N FILE")) << r.err.toStdString();
    }
}

} // namespace
