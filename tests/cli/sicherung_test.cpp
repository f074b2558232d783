#include "clirunner.h"
#include "testserver.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

TEST(CliSicherung, PrintsTheVerifiedCopyOrTheReason) {
    NUR_DATEI();
    CliRunner cli;
    const CliErgebnis ohne = cli.run({"sicherung"});
    EXPECT_EQ(ohne.status, 1);
    EXPECT_TRUE(ohne.err.startsWith("Die Datenbank Velmora_tab.mdb wurde im Verzeichnis"))
        << ohne.err.toStdString();

    cli.ok({"init", "--mandant", "Huber KG", "--jahr", "2026"});
    const QString ordner = QDir(cli.dir()).filePath("Datensicherung");
    EXPECT_EQ(cli.ok({"sicherung"}), ordner + "/Velmora_tab_2026-12-10_000000.mdb\n");
    EXPECT_EQ(cli.ok({"sicherung"}), ordner + "/Velmora_tab_2026-12-10_000000_2.mdb\n");
    EXPECT_EQ(cli.run({"sicherung", "jetzt"}).status, 2);

    // a damaged working database: status 1, the reason, the copies untouched
    {
        QFile f(QDir(cli.dir()).filePath("Velmora_tab.mdb"));
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        f.resize(f.size() - 1024);
    }
    const CliErgebnis kaputt = cli.run({"sicherung"});
    EXPECT_EQ(kaputt.status, 1);
    EXPECT_TRUE(kaputt.err.contains("ist beschädigt oder nicht lesbar"))
        << kaputt.err.toStdString();
    EXPECT_EQ(
        QDir(ordner).entryList({"*.mdb"}, QDir::Files, QDir::Name),
        QStringList({"Velmora_tab_2026-12-10_000000.mdb", "Velmora_tab_2026-12-10_000000_2.mdb"}));
    EXPECT_TRUE(QFile::exists(ordner + "/datensicherung.log"));
}

TEST(CliSicherung, ListsTheCopiesNewestFirstAndRestoresOne) {
    NUR_DATEI();
    CliRunner cli;
    cli.ok({"init", "--mandant", "Huber KG", "--jahr", "2026"});
    EXPECT_EQ(cli.ok({"sicherung", "liste"}), "") << "no copy yet";
    cli.ok({"bk", "neu", "Erlöse", "ER"});
    const QStringList neu{"buchung", "neu",    "--datum", "15.03.2026", "--betrag",
                          "120",     "--satz", "20",      "--bk",       "1"};
    cli.ok(neu);
    const QString eineBuchung = cli.ok({"liste", "ein"});
    const QString ordner = QDir(cli.dir()).filePath("Datensicherung");
    const QString eins = ordner + "/Velmora_tab_2026-12-10_000000.mdb";
    EXPECT_EQ(cli.ok({"sicherung"}), eins + "\n");
    cli.ok(neu);
    cli.ok(neu);
    const auto zeile = [](const QString& pfad, const QString& zeit, int buchungen) {
        return pfad + "\t" + zeit + "\t" + QString::number(QFileInfo(pfad).size()) + "\t" +
               QString::number(buchungen) + "\n";
    };
    EXPECT_EQ(cli.ok({"sicherung", "liste"}), zeile(eins, "10.12.2026 00:00", 1));

    // restored on 11.12.: the state before is saved first, as a copy of its own
    const QString vorher = ordner + "/Velmora_tab_2026-12-11_000000.mdb";
    const CliErgebnis r = cli.run({"sicherung", "zurueck", eins}, "11.12.2026");
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, vorher + "\n");
    EXPECT_EQ(cli.ok({"sicherung", "liste"}),
              zeile(vorher, "11.12.2026 00:00", 3) + zeile(eins, "10.12.2026 00:00", 1));
    EXPECT_EQ(cli.ok({"liste", "ein"}), eineBuchung);
    cli.ok({"pruefen"});

    // a copy that is not there, a damaged one: status 1, nothing changed
    const QByteArray stand = cli.databaseBytes();
    EXPECT_EQ(cli.run({"sicherung", "zurueck", ordner + "/fehlt.mdb"}).status, 1);
    {
        QFile f(eins);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        f.resize(f.size() - 1024);
    }
    const CliErgebnis kaputt = cli.run({"sicherung", "zurueck", eins});
    EXPECT_EQ(kaputt.status, 1);
    EXPECT_TRUE(kaputt.err.contains("ist beschädigt und wird nicht zurückgespielt"))
        << kaputt.err.toStdString();
    EXPECT_EQ(cli.databaseBytes(), stand);
    EXPECT_EQ(cli.run({"sicherung", "zurueck"}).status, 2);
}

} // namespace

// On the server the backup is pg_dump's, checked before it counts; a restore
// is the administrator's and is refused with the way to do it.
TEST(CliSicherung, OnTheServerADumpAndNoRestore) {
    if (!testserver::aktiv())
        GTEST_SKIP() << "braucht den Testserver";
    CliRunner cli;
    cli.erstesQuartal();
    const QString pfad = cli.ok({"sicherung"}).trimmed();
    EXPECT_TRUE(pfad.startsWith(cli.dir() + "/Datensicherung/Velmora_")) << pfad.toStdString();
    EXPECT_TRUE(pfad.endsWith(".dump")) << pfad.toStdString();
    QFile dump(pfad);
    ASSERT_TRUE(dump.open(QIODevice::ReadOnly));
    EXPECT_EQ(dump.read(5), QByteArray("PGDMP")) << "pg_dump's custom format";
    EXPECT_TRUE(QDir(cli.dir() + "/Datensicherung").entryList({"*.teil"}).isEmpty());

    const CliErgebnis zurueck = cli.run({"sicherung", "zurueck", pfad});
    EXPECT_EQ(zurueck.status, 1);
    EXPECT_TRUE(zurueck.err.contains("pg_restore")) << zurueck.err.toStdString();
    EXPECT_EQ(cli.ok({"summen"}).isEmpty(), false) << "the books are untouched";
}
