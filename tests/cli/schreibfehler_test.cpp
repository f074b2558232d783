#include "clirunner.h"
#include "testserver.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <gtest/gtest.h>

namespace {

QByteArray bytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<fehlt>");
}

void schreiben(const QString& path, const QByteArray& inhalt) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(inhalt);
}

// Temporary files of the writers and of the backup.
QStringList reste(const QString& dir) {
    QStringList out;
    for (const QString& name : QDir(dir).entryList(QDir::Files | QDir::Hidden)) {
        if (name.contains(QLatin1String(".velmora")) || name.endsWith(QLatin1String(".teil")))
            out << name;
    }
    return out;
}

class CliSchreibfehler : public ::testing::Test {
protected:
    void SetUp() override {
        cli.erstesQuartal();
        cli.ok(
            {"stammdaten", "--steuernummer", "12 345/6789", "--steuerfrei-kz", "nicht steuerbar"});
    }
    QString datei(const QString& name) const { return cli.dir() + "/" + name; }
    CliRunner cli;
};

// Every file a command writes, under a limit of 100 bytes or into a folder
// that is not there: status 1, the file and the cause named, an earlier file
// byte for byte as it was, no temporary file left.
TEST_F(CliSchreibfehler, NoCommandReportsAFileAsWrittenThatWasNot) {
    NUR_DATEI();
    struct Schreiber {
        const char* name;
        QStringList args; // the target is appended
        QString ziel;     // the name the command writes
    };
    const Schreiber schreiber[] = {
        {"uva", {"export", "uva", "--zeitraum", "13"}, "uva.xml"},
        {"tab", {"export", "finanzamt", "--monat", "6"}, "fa.TXT"},
        {"csv", {"export", "finanzamt", "--monat", "6", "--format", "csv"}, "fa.CSV"},
        {"xls", {"export", "finanzamt", "--monat", "6", "--format", "xls"}, "fa.XLS"},
        {"xlsx", {"export", "finanzamt", "--monat", "6", "--format", "xlsx"}, "fa.XLSX"},
        {"journal", {"export", "journal", "--zeitraum", "13", "--format", "html"}, "j.HTML"},
        {"pdf", {"bericht", "verprobung", "--zeitraum", "13", "--pdf"}, "v.pdf"},
    };
    struct Fall {
        const char* name;
        bool grenze;
        bool frueher;
        const char* ursache;
    };
    const Fall faelle[] = {
        {"limit", true, false, "Die Datei überschreitet die zulässige Größe."},
        {"limit, earlier file", true, true, "Die Datei überschreitet die zulässige Größe."},
        {"missing folder", false, false, "Das Verzeichnis gibt es nicht."},
    };
    const QByteArray frueher = "eine frühere Datei\n";
    for (const Schreiber& s : schreiber) {
        for (const Fall& f : faelle) {
            SCOPED_TRACE(std::string(s.name) + ", " + f.name);
            const QString ziel = datei(f.grenze ? s.ziel : "fehlt/" + s.ziel);
            QFile::remove(ziel);
            if (f.frueher)
                schreiben(ziel, frueher);
            const QStringList args = s.args + QStringList{ziel};
            const CliErgebnis r = f.grenze ? cli.runBegrenzt(args, 100) : cli.run(args);
            EXPECT_EQ(r.status, 1) << r.err.toStdString();
            EXPECT_EQ(bytes(ziel), f.frueher ? frueher : QByteArray("<fehlt>"));
            EXPECT_TRUE(r.err.contains(ziel)) << r.err.toStdString();
            EXPECT_TRUE(r.err.contains(QString::fromUtf8(f.ursache))) << r.err.toStdString();
            EXPECT_FALSE(r.err.contains(QLatin1String("ERROR"))) << r.err.toStdString();
            EXPECT_EQ(reste(QFileInfo(ziel).absolutePath()), QStringList());
        }
    }
    EXPECT_FALSE(QDir(datei("fehlt")).exists());
    // and without the limit each of them writes
    for (const Schreiber& s : schreiber) {
        SCOPED_TRACE(s.name);
        EXPECT_EQ(cli.run(s.args + QStringList{datei(s.ziel)}).status, 0);
        EXPECT_NE(bytes(datei(s.ziel)), frueher);
        EXPECT_EQ(reste(cli.dir()), QStringList());
    }
}

TEST_F(CliSchreibfehler, ABackupUnderTheLimitLeavesNoPartialCopy) {
    NUR_DATEI();
    const CliErgebnis r = cli.runBegrenzt({"sicherung"}, 4096);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(QDir(datei("Datensicherung")).entryList({"*.mdb", "*.teil", "*-journal"}),
              QStringList());
}

// Leftovers of killed runs go with the next run; a temporary file of a run
// that is still going (its process alive) stays.
TEST_F(CliSchreibfehler, TheNextRunRemovesLeftoversOfKilledRuns) {
    NUR_DATEI();
    QDir().mkpath(datei("Datensicherung"));
    const QString tot = QStringLiteral("2147483646");
    const QString laeuft = QString::number(QCoreApplication::applicationPid());
    const QStringList weg = {"Datensicherung/Velmora_tab." + tot + ".Ab12Cd.teil",
                             ".fa.TXT.velmora." + tot + ".Ab12Cd"};
    const QStringList bleibt = {"Datensicherung/Velmora_tab." + laeuft + ".Ab12Cd.teil",
                                ".fa.TXT.velmora." + laeuft + ".Ab12Cd"};
    for (const QString& name : weg + bleibt)
        schreiben(datei(name), "halb");
    cli.ok({"sicherung"});
    cli.ok({"export", "finanzamt", "--monat", "6", datei("fa.TXT")});
    for (const QString& name : weg)
        EXPECT_FALSE(QFile::exists(datei(name))) << name.toStdString();
    for (const QString& name : bleibt)
        EXPECT_TRUE(QFile::exists(datei(name))) << name.toStdString();
}

// A file that lost its last 1,000 bytes is never written into; the header's
// page count says it is short before any page is read.
TEST_F(CliSchreibfehler, ACutFileIsNotWrittenByAnyCommand) {
    NUR_DATEI();
    const QString db = datei("Velmora_tab.mdb");
    QByteArray ganz = bytes(db);
    ASSERT_GT(ganz.size(), 2000);
    const QByteArray kurz = ganz.left(ganz.size() - 1000);
    schreiben(db, kurz);
    const QList<QStringList> befehle = {
        {"mandant", "neu", "Dritt"},
        {"bk", "neu", "Miete", "MI"},
        {"buchung", "neu", "--bk", "1", "--datum", "04.04.2026", "--betrag", "10", "--satz", "20"},
        {"stammdaten", "--name", "Neu"},
        {"jahr", "neu", "2027"},
        {"festschreiben", "--monat", "1"},
    };
    for (const QStringList& b : befehle) {
        SCOPED_TRACE(b.join(' ').toStdString());
        const CliErgebnis r = cli.run(b);
        EXPECT_EQ(r.status, 1);
        EXPECT_TRUE(r.err.startsWith("Die Datenbank " + db + " ist beschädigt oder nicht lesbar:"))
            << r.err.toStdString();
        EXPECT_TRUE(bytes(db) == kurz);
    }
}

// The backup that finds damage in its copy blocks writing until a check
// passes. The damage here is one quick_check does not see: an index that
// lost its entries (its definition changed behind SQLite's back).
TEST_F(CliSchreibfehler, TheBackupsMarkerBlocksWritingUntilACheckPasses) {
    NUR_DATEI();
    const QString db = datei("Velmora_tab.mdb");
    const QByteArray gesund = bytes(db);
    {
        QSqlDatabase c = QSqlDatabase::addDatabase("QSQLITE", "index");
        c.setDatabaseName(db);
        ASSERT_TRUE(c.open());
        QSqlQuery q(c);
        ASSERT_TRUE(q.exec("PRAGMA writable_schema = ON"));
        ASSERT_TRUE(q.exec("update sqlite_master set sql = 'CREATE INDEX ix_buchungen_bk ON "
                           "T_Buchungen (mandant, BK) WHERE 0' where name = 'ix_buchungen_bk'"));
    }
    QSqlDatabase::removeDatabase("index");
    const QString marker = datei("Datensicherung/Datenbank_beschaedigt.txt");
    const CliErgebnis s = cli.run({"sicherung"});
    EXPECT_EQ(s.status, 1);
    ASSERT_TRUE(QFile::exists(marker));
    const QByteArray vorher = cli.databaseBytes();
    const CliErgebnis r = cli.run({"bk", "neu", "Miete", "MI"});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.startsWith("Die Datenbank " + db +
                                 " ist beschädigt oder nicht lesbar: "
                                 "Die letzte Datensicherung hat in der Datenbank Fehler "
                                 "gefunden"))
        << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("ix_buchungen_bk")) << r.err.toStdString();
    EXPECT_TRUE(cli.databaseBytes() == vorher);
    // totals would be read through the broken index: refused as well; a
    // check that finds the damage keeps the block
    EXPECT_EQ(cli.run({"summen"}).status, 1);
    EXPECT_EQ(cli.run({"pruefen"}).status, 1);
    EXPECT_TRUE(QFile::exists(marker));
    // the sound file back, a passing check lifts it
    schreiben(db, gesund);
    cli.ok({"pruefen"});
    EXPECT_FALSE(QFile::exists(marker));
    cli.ok({"bk", "neu", "Miete", "MI"});
}

// A text where a number belongs: SQLite adds it as 0, so every total would be
// short by that booking without a word.
TEST_F(CliSchreibfehler, AValueOfTheWrongTypeIsFoundAndNeverSummedAsZero) {
    NUR_DATEI();
    struct Fall {
        const char* sql;
        const char* befund;
    };
    const Fall faelle[] = {
        {"update T_Buchungen set Betrag = 'zwölf Euro' where ID = 1",
         "Buchung 1: Betrag ist keine Zahl"},
        {"update t_kontenbewegungen set St_Betrag = 'viel' where Buchungen_id = 2",
         "Steuerbuchung %1 der Buchung 2: St_Betrag ist keine Zahl"},
        {"update T_Buchungen set Buchungsdatum = 20260102 where ID = 3",
         "Buchung 3: Buchungsdatum ist kein Datum"},
        {"update T_Buchungen set Buchungsdatum = '2026-02-30' where ID = 3",
         "Buchung 3: Buchungsdatum ist kein Datum"},
        {"update T_Buchungen set IstEU = 'ja' where ID = 4",
         "Buchung 4: IstEU ist kein Ja/Nein-Wert"},
        {"update T_Buchungen set Steuersatz = '20' || '%' where ID = 4",
         "Buchung 4: Steuersatz ist kein Steuersatz"},
        {"update T_Buchungen set Steuersatz = 4.95 where ID = 4",
         "Buchung 4: Steuersatz ist kein Steuersatz"},
    };
    const QString db = datei("Velmora_tab.mdb");
    const QByteArray gesund = bytes(db);
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.sql);
        schreiben(db, gesund);
        QString befund = QString::fromUtf8(f.befund);
        {
            QSqlDatabase c = QSqlDatabase::addDatabase("QSQLITE", "typ");
            c.setDatabaseName(db);
            ASSERT_TRUE(c.open());
            QSqlQuery q(c);
            ASSERT_TRUE(q.exec(QString::fromUtf8(f.sql))) << q.lastError().text().toStdString();
            ASSERT_TRUE(q.exec("select id from t_kontenbewegungen where Buchungen_id = 2") &&
                        q.next());
            if (befund.contains(QLatin1String("%1")))
                befund = befund.arg(q.value(0).toLongLong());
        }
        QSqlDatabase::removeDatabase("typ");
        const CliErgebnis p = cli.run({"pruefen"});
        EXPECT_EQ(p.status, 1);
        EXPECT_TRUE(p.err.contains(befund)) << p.err.toStdString();
        // the calendar check of a date reads every row: pruefen alone makes it
        if (QByteArray(f.sql).contains("2026-02-30"))
            continue;
        for (const QStringList& lesen : QList<QStringList>{
                 {"summen"}, {"liste", "ein"}, {"bericht", "verprobung", "--zeitraum", "17"}}) {
            const CliErgebnis r = cli.run(lesen);
            EXPECT_EQ(r.status, 1) << lesen.join(' ').toStdString();
            EXPECT_TRUE(r.err.contains(befund)) << r.err.toStdString();
            EXPECT_EQ(r.out, "");
        }
    }
    // whole rates and those with one decimal are rates
    schreiben(db, gesund);
    {
        QSqlDatabase c = QSqlDatabase::addDatabase("QSQLITE", "typ");
        c.setDatabaseName(db);
        ASSERT_TRUE(c.open());
        ASSERT_TRUE(QSqlQuery(c).exec("update T_Buchungen set Steuersatz = 4.9 where ID = 3"));
    }
    QSqlDatabase::removeDatabase("typ");
    EXPECT_EQ(cli.run({"pruefen"}).status, 0);
}

} // namespace
