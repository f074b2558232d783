#include "clirunner.h"
#include "testserver.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <gtest/gtest.h>

namespace {

TEST(CliStart, InitCreatesTheFirstClientAndYearAndPrintsStatus) {
    CliRunner cli;
    const CliErgebnis ohne = cli.run({"init"});
    EXPECT_EQ(ohne.status, 1);
    EXPECT_EQ(ohne.err, "Die Datenbank hat noch keinen Mandanten: --mandant NAME angeben.\n");

    const CliErgebnis ohneJahr = cli.run({"init", "--mandant", "Huber KG"});
    EXPECT_EQ(ohneJahr.status, 1);
    EXPECT_EQ(ohneJahr.err, "Der Mandant hat noch kein Wirtschaftsjahr: --jahr JAHR angeben.\n");
    EXPECT_EQ(cli.run({"init", "--mandant", "Huber KG", "--jahr", "zwei"}).err,
              "Geben sie das Jahr bitte 4-stellig an!\n");
    EXPECT_EQ(cli.run({"status"}).status, 1) << "still no client";

    const QString status = cli.ok({"init", "--mandant", "Huber KG", "--jahr", "2026"});
    const QStringList lines = status.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].startsWith("Mandant\t")) << lines[0].toStdString();
    EXPECT_TRUE(lines[0].endsWith("\tHuber KG"));
    EXPECT_EQ(lines[1], "Wirtschaftsjahr\t1\t2026");
    EXPECT_EQ(cli.ok({"status"}), status);
    // a second init has nothing to ask and changes nothing
    const QByteArray before = cli.databaseBytes();
    EXPECT_EQ(cli.ok({"init", "--mandant", "Anders", "--jahr", "1999"}), status);
    EXPECT_EQ(cli.databaseBytes(), before);
}

// A file cut short answers "no year" without an error: the tool must say
// that the file is damaged, ask for nothing and write nothing.
TEST(CliStart, ADamagedFileIsNamedAndNeverWritten) {
    NUR_DATEI();
    CliRunner cli;
    cli.ok({"init", "--mandant", "Test", "--jahr", "2024"});
    cli.ok({"bk", "neu", "Allgemein", "A"});
    for (int i = 0; i < 30; ++i)
        cli.ok({"buchung", "neu", "--datum", "01.03.2024", "--betrag", "120", "--satz", "20",
                "--bk", "1"});
    EXPECT_EQ(cli.ok({"pruefen"}), "Die Datenbank ist in Ordnung.\n");

    const QString datei = cli.dir() + "/Velmora_tab.mdb";
    // cut within the settings index, which the start reads first, wherever
    // later pages (the change log) lie
    qint64 ende = 0;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "seite");
        db.setDatabaseName(datei);
        ASSERT_TRUE(db.open());
        QSqlQuery q(db);
        ASSERT_TRUE(q.exec("select rootpage from sqlite_master where name = "
                           "'ix_einstellungen_mandant'") &&
                    q.next());
        const qint64 seite = q.value(0).toLongLong();
        ASSERT_TRUE(q.exec("pragma page_size") && q.next());
        ende = seite * q.value(0).toLongLong() - 1000;
    }
    QSqlDatabase::removeDatabase("seite");
    QFile(datei).resize(ende);
    const QByteArray vorher = cli.databaseBytes();
    const QString beschaedigt =
        QStringLiteral("Die Datenbank %1 ist beschädigt oder nicht lesbar: ")
            .arg(QDir::toNativeSeparators(datei));
    for (const QStringList& args :
         QList<QStringList>{{"status"},
                            {"init", "--mandant", "Test", "--jahr", "2024"},
                            {"summen"},
                            {"buchung", "neu", "--datum", "01.03.2024", "--betrag", "1", "--satz",
                             "20", "--bk", "1"},
                            {"pruefen"}}) {
        const CliErgebnis r = cli.run(args);
        EXPECT_EQ(r.status, 1) << args.join(' ').toStdString();
        EXPECT_TRUE(r.err.startsWith(beschaedigt)) << r.err.toStdString();
        EXPECT_EQ(cli.databaseBytes(), vorher) << args.join(' ').toStdString();
    }
}

// A template that is not a Velmora database is left where it is.
TEST(CliStart, AForeignTemplateIsRefusedAndKept) {
    NUR_DATEI();
    CliRunner cli;
    const QString vorlage = cli.dir() + "/Velmora_neu.mdb";
    QFile::remove(vorlage);
    QFile f(vorlage);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("kein SQLite");
    f.close();
    const CliErgebnis r = cli.run({"init", "--mandant", "Test", "--jahr", "2024"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Die Vorlage wurde nicht verwendet: Die Datei " +
                         QDir::toNativeSeparators(vorlage) + " ist keine Velmora-Datenbank.\n");
    EXPECT_TRUE(QFile::exists(vorlage));
    EXPECT_FALSE(QFile::exists(cli.dir() + "/Velmora_tab.mdb"));
}

TEST(CliStart, MissingDatabaseAndUsageErrors) {
    NUR_DATEI();
    CliRunner cli;
    const CliErgebnis missing = cli.run({"status"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(missing.err.startsWith("Die Datenbank velmora_tab.mdb wurde im Verzeichnis"))
        << missing.err.toStdString();

    const struct {
        QStringList args;
        QString heute;
    } cases[] = {
        {{}, "10.12.2026"},
        {{"gibtsnicht"}, "10.12.2026"},
        {{"status", "zuviel"}, "10.12.2026"},
        {{"init", "--falsch"}, "10.12.2026"},
        {{"init", "--mandant"}, "10.12.2026"},
        {{"status"}, "31.02.2026"},
    };
    for (const auto& c : cases) {
        const CliErgebnis r = cli.run(c.args, c.heute);
        EXPECT_EQ(r.status, 2) << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains("Aufruf: velmora-cli")) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
}

} // namespace

namespace {

TEST(CliStammdaten, ClientsYearsAndMasterData) {
    CliRunner cli;
    cli.ok({"init", "--mandant", "Huber KG", "--jahr", "2026"});
    const QString huber = cli.ok({"status"}).section('\t', 1, 1);
    const QString maier = cli.ok({"mandant", "neu", "Maier & Söhne 😀"}).trimmed();
    EXPECT_EQ(cli.ok({"mandant", "liste"}),
              huber + "\tHuber KG\t1\n" + maier + "\tMaier & Söhne 😀\t0\n");

    const CliErgebnis ohneJahr = cli.run({"mandant", "wechseln", maier});
    EXPECT_EQ(ohneJahr.status, 1);
    EXPECT_EQ(ohneJahr.err, "Der Mandant hat noch kein Wirtschaftsjahr: --jahr JAHR angeben.\n");
    EXPECT_TRUE(cli.ok({"status"}).startsWith("Mandant\t" + huber)) << "refused: nothing changed";
    cli.ok({"mandant", "wechseln", maier, "--jahr", "2025"});
    EXPECT_EQ(cli.ok({"status"}),
              "Mandant\t" + maier + "\tMaier & Söhne 😀\nWirtschaftsjahr\t2\t2025\n");
    EXPECT_EQ(cli.ok({"jahr", "neu", "2027"}), "3\n");
    EXPECT_EQ(cli.ok({"jahr", "neu", "99"}), "4\n");
    EXPECT_EQ(cli.ok({"jahr", "liste"}), "3\t2027\n2\t2025\n4\t99\n");
    cli.ok({"jahr", "wechseln", "2027"});
    EXPECT_EQ(cli.ok({"status"}).section('\n', 1, 1), "Wirtschaftsjahr\t3\t2027");
    EXPECT_EQ(cli.ok({"jahr", "loeschen", "99"}),
              "Das Wirtschaftsjahrwurde vollständig gelöscht!?\n");

    cli.ok({"stammdaten", "--name", "Maier & Söhne OG", "--plzort", "6991 Riezlern", "--steuer-de",
            "ja"});
    EXPECT_EQ(cli.ok({"stammdaten"}),
              "GanzerName\tMaier & Söhne OG\nAdresse\t\nPlzOrt\t6991 Riezlern\n"
              "Telefon\t\nReferat\t\nSteuernummer\t\nSteuerDE\tja\nSteuerfreiKZ\t\n");
    cli.ok({"stammdaten", "--steuerfrei-kz", "nicht steuerbar"});
    EXPECT_TRUE(cli.ok({"stammdaten"}).endsWith("SteuerfreiKZ\tnicht steuerbar\n"));
    EXPECT_EQ(cli.run({"stammdaten", "--steuerfrei-kz", "12"}).status, 2);
    cli.ok({"stammdaten", "--steuerfrei-kz", ""});
    EXPECT_TRUE(cli.ok({"stammdaten"}).endsWith("SteuerfreiKZ\t\n"));

    EXPECT_EQ(cli.run({"mandant", "umbenennen", huber, "Maier & Söhne 😀"}).err,
              "Es gibt bereits einen Mandanten mit dieser Bezeichnung!\n");
    cli.ok({"mandant", "umbenennen", huber, "huber kg"});
    EXPECT_EQ(cli.run({"mandant", "loeschen", maier}).status, 1) << "the current client";
    EXPECT_EQ(cli.ok({"mandant", "loeschen", huber}),
              "Der Mandant: huber kg wurde vollständig gelöscht!?\n");
    EXPECT_EQ(cli.ok({"mandant", "liste"}), maier + "\tMaier & Söhne 😀\t1\n");
    EXPECT_EQ(cli.run({"mandant", "wechseln", huber}).err, "Diesen Mandanten gibt es nicht.\n");
}

} // namespace
