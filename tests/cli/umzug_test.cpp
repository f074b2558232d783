#include "clirunner.h"
#include "testserver.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

// The books moved from the file to the server and back: every list and
// report reads the same, byte for byte, and the source stays as it was.
TEST(CliUmzug, ThereAndBackGiveTheSameReports) {
    if (!testserver::aktiv())
        GTEST_SKIP() << "braucht den Testserver";
    CliRunner cli;
    const QString server = testserver::url();
    // --db "" : the working database file, whatever VELMORA_DB says
    const auto datei = [&](const QStringList& args) {
        return cli.ok(QStringList{"--db", ""} + args);
    };
    datei({"init", "--mandant", "Huber KG", "--jahr", "2026"});
    datei({"stammdaten", "--name", "Tischlerei Huber"});
    datei({"bk", "neu", "Erlöse", "ER"});
    datei({"bk", "neu", "Wareneinkauf", "WE"});
    const QList<QStringList> buchungen = {
        {"--datum", "02.01.2026", "--betrag", "1.200,00", "--satz", "20", "--bk", "1"},
        {"--datum", "15.02.2026", "--betrag", "110", "--satz", "10", "--bk", "1"},
        {"--ausgabe", "--kfz", "--datum", "03.03.2026", "--betrag", "240", "--satz", "20", "--bk",
         "2"},
        {"--ausgabe", "--eu", "--datum", "06.03.2026", "--betrag", "1000", "--satz", "20", "--bk",
         "2"},
        {"--ausgabe", "--drittland", "--datum", "08.03.2026", "--betrag", "150", "--satz", "0",
         "--bk", "2"},
        {"--datum", "01.07.2026", "--betrag", "104,90", "--satz", "4,9", "--bk", "1"},
    };
    for (const QStringList& b : buchungen)
        datei(QStringList{"buchung", "neu", "--text", "Umzug"} + b);
    const QList<QStringList> berichte = {{"bericht", "journal", "--zeitraum", "13"},
                                         {"bericht", "bkreis"},
                                         {"bericht", "details"},
                                         {"bericht", "plusminus"},
                                         {"summen"},
                                         {"protokoll", "--pruefen"}};
    QStringList vorher;
    for (const QStringList& b : berichte)
        vorher << datei(b);
    const QByteArray quelle = cli.databaseBytes();

    const QString hin = datei({"umziehen", "--nach", server});
    EXPECT_TRUE(hin.contains("T_Buchungen\t6\n")) << hin.toStdString();
    EXPECT_TRUE(hin.endsWith("Protokoll in Ordnung: 6 Einträge\n")) << hin.toStdString();
    EXPECT_EQ(cli.databaseBytes(), quelle) << "the source is only read";
    for (int i = 0; i < berichte.size(); ++i)
        EXPECT_EQ(cli.ok(QStringList{"--db", server} + berichte[i]), vorher[i])
            << berichte[i].join(' ').toStdString();

    // a second move into the same, no longer empty database is refused
    const CliErgebnis nochmal = cli.run({"--db", "", "umziehen", "--nach", server});
    EXPECT_EQ(nochmal.status, 1);
    EXPECT_TRUE(nochmal.err.contains("ist nicht leer")) << nochmal.err.toStdString();

    datei({"umziehen", "--von", server, "--nach", cli.dir() + "/zurueck.mdb"});
    ASSERT_TRUE(QFile::rename(cli.dir() + "/Velmora_tab.mdb", cli.dir() + "/vorher.mdb"));
    ASSERT_TRUE(QFile::rename(cli.dir() + "/zurueck.mdb", cli.dir() + "/Velmora_tab.mdb"));
    for (int i = 0; i < berichte.size(); ++i)
        EXPECT_EQ(datei(berichte[i]), vorher[i]) << berichte[i].join(' ').toStdString();
    const CliErgebnis vorhanden =
        cli.run({"--db", "", "umziehen", "--von", server, "--nach", cli.dir() + "/vorher.mdb"});
    EXPECT_EQ(vorhanden.status, 1) << "an existing file is never overwritten";
}

} // namespace
