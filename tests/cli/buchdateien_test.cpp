#include "clirunner.h"
#include "testserver.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <gtest/gtest.h>

namespace {

const QString kGehoert =
    QStringLiteral("Diese Datei gehört zu den Büchern von Velmora und wird nicht überschrieben.\n");

QByteArray bytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<fehlt>");
}

class CliBuchdateien : public ::testing::Test {
protected:
    void SetUp() override {
        cli.erstesQuartal();
        // relative names count from the shell's directory: here the books' own
        cli.arbeitsverzeichnis = cli.dir();
    }
    QString datei(const QString& name) const { return cli.dir() + "/" + name; }
    CliRunner cli;
};

// Every writer refuses the books' own files, before anything is written.
TEST_F(CliBuchdateien, NoReportOrExportIsWrittenOverTheBooks) {
    NUR_DATEI();
    cli.ok({"sicherung"});
    const QStringList kopien = QDir(datei("Datensicherung")).entryList({"*.mdb"}, QDir::Files);
    ASSERT_EQ(kopien.size(), 1);
    const QString kopie = "Datensicherung/" + kopien.front();
    QFile::link(datei("Velmora_tab.mdb"), datei("verweis.pdf"));
    cli.ok({"stammdaten", "--steuernummer", "12 345/6789"});
    QFile ini(datei("velmora.ini"));
    if (!ini.exists()) {
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("[Einstellungen]\r\n");
        ini.close();
    }

    struct Fall {
        QStringList args;
        QString geschuetzt; // the file that must stay as it was
    };
    const Fall faelle[] = {
        {{"bericht", "plusminus", "--pdf", "Velmora_tab.mdb"}, "Velmora_tab.mdb"},
        {{"bericht", "details", "--pdf", datei("velmora_TAB.MDB")}, "Velmora_tab.mdb"},
        {{"bericht", "verprobung", "--zeitraum", "13", "--pdf", datei("verweis.pdf")},
         "Velmora_tab.mdb"},
        {{"bericht", "journal", "--zeitraum", "13", "--pdf", "velmora.ini"}, "velmora.ini"},
        {{"bericht", "bkreis", "--pdf", "Velmora_tab.mdb-journal"}, "Velmora_tab.mdb"},
        {{"bericht", "plusminus", "--pdf", "Velmora_neu.mdb"}, "Velmora_tab.mdb"},
        // written with the format's extension, still inside the backups
        {{"export", "finanzamt", "--monat", "3", kopie}, kopie},
        {{"export", "finanzamt", "--monat", "3", "--format", "xlsx", "DATENSICHERUNG/a.xlsx"},
         kopie},
    };
    for (const Fall& f : faelle) {
        const QByteArray vorher = bytes(datei(f.geschuetzt));
        const CliErgebnis r = cli.run(f.args);
        EXPECT_EQ(r.status, 1) << f.args.join(' ').toStdString();
        EXPECT_EQ(r.err, kGehoert) << f.args.join(' ').toStdString() << ": " << r.err.toStdString();
        EXPECT_EQ(bytes(datei(f.geschuetzt)), vorher) << f.args.join(' ').toStdString();
    }
    EXPECT_FALSE(QFile::exists(datei("Velmora_neu.mdb")));
    EXPECT_FALSE(QFile::exists(datei("Velmora_tab.mdb-journal")));
    // a sound name beside them is written
    EXPECT_EQ(cli.run({"bericht", "plusminus", "--pdf", "plusminus.pdf"}).status, 0);
}

// Runs statements on the tool's database through a connection of the test.
void sql(const QString& db, const QStringList& statements) {
    {
        QSqlDatabase c = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("s"));
        c.setDatabaseName(db);
        ASSERT_TRUE(c.open());
        QSqlQuery q(c);
        for (const QString& s : statements)
            ASSERT_TRUE(q.exec(s)) << s.toStdString();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("s"));
}

int zahl(const QString& db, const QString& statement) {
    int wert = 0;
    {
        QSqlDatabase c = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("s"));
        c.setDatabaseName(db);
        EXPECT_TRUE(c.open());
        QSqlQuery q(c);
        EXPECT_TRUE(q.exec(statement) && q.next()) << statement.toStdString();
        wert = q.value(0).toInt();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("s"));
    return wert;
}

quint32 be32(const QByteArray& b, qint64 at) {
    return (quint32(quint8(b[at])) << 24) | (quint32(quint8(b[at + 1])) << 16) |
           (quint32(quint8(b[at + 2])) << 8) | quint32(quint8(b[at + 3]));
}

// Small damaged files whose header is sound: every command but the state,
// the full check and the backups refuses, the file unchanged.
TEST_F(CliBuchdateien, DamageAnywhereInASmallFileStopsWritesAndReads) {
    NUR_DATEI();
    const QString db = datei("Velmora_tab.mdb");
    // enough bookings that the bookings and their covering index reach
    // below their root pages
    sql(db, {QStringLiteral(
                 "with recursive n(i) as (select 1 union all select i + 1 from n where i < 600) "
                 "insert into T_Buchungen (ID, mandant, Wirtschaftsjahr, Buchungsdatum, "
                 "Belegnummer, Text, Steuersatz, Betrag, BK, IstEinnahme, IstEU, IstDrittland, "
                 "IstKFZ, IstGebaeude) select 1000 + i, mandant, Wirtschaftsjahr, '2026-03-02', "
                 "1000 + i, 'Honorar Nummer ' || i, 20, 1234500, BK, 1, 2, 2, 2, 2 "
                 "from T_Buchungen, n where ID = 1"),
             QStringLiteral("insert into t_kontenbewegungen (mandant, id, Buchungen_id, "
                            "Konten_Nr, St_Betrag) select mandant, 5000 + ID, ID, 1020, 205750 "
                            "from T_Buchungen where ID > 1000")});
    const int seitengroesse = zahl(db, QStringLiteral("pragma page_size"));
    const int buchungen =
        zahl(db, QStringLiteral("select rootpage from sqlite_master where name = 'T_Buchungen'"));
    const int index = zahl(
        db,
        QStringLiteral("select rootpage from sqlite_master where name = 'ix_buchungen_summen'"));
    ASSERT_EQ(cli.run({"pruefen"}).status, 0);
    const QByteArray gesund = bytes(db);
    const auto seite = [&](int nr) { return qint64(nr - 1) * seitengroesse; };
    // the bookings' root is an interior page: its right-most child is a leaf
    ASSERT_EQ(quint8(gesund[seite(buchungen)]), 0x05);
    const int blatt = static_cast<int>(be32(gesund, seite(buchungen) + 8));
    ASSERT_EQ(quint8(gesund[seite(index)]), 0x02) << "the index has pages below its root";

    QByteArray leereIndexseite(seitengroesse, '\0');
    leereIndexseite[0] = 0x0a; // an index leaf without cells
    leereIndexseite[5] = char(seitengroesse >> 8);
    leereIndexseite[6] = char(seitengroesse & 0xff);
    struct Schaden {
        const char* name;
        int nr;
        QByteArray inhalt;
    };
    const Schaden schaeden[] = {
        {"a leaf of the bookings zeroed", blatt, QByteArray(seitengroesse, '\0')},
        {"the root of the covering index emptied", index, leereIndexseite},
        {"a leaf of the bookings duplicated", blatt + 1, gesund.mid(seite(blatt), seitengroesse)},
    };
    for (const Schaden& s : schaeden) {
        QByteArray inhalt = gesund;
        inhalt.replace(seite(s.nr), seitengroesse, s.inhalt);
        {
            QFile f(db);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(inhalt);
        }
        QDir(datei("Datensicherung")).removeRecursively();
        for (const QStringList& befehl :
             {QStringList{"buchung", "neu", "--datum", "03.03.2026", "--betrag", "1", "--satz",
                          "20", "--bk", "1"},
              QStringList{"bk", "neu", "Neu", "N"}, QStringList{"summen"},
              QStringList{"bericht", "verprobung", "--zeitraum", "13"}}) {
            const CliErgebnis r = cli.run(befehl);
            const std::string was = std::string(s.name) + ": " + befehl.join(' ').toStdString();
            EXPECT_EQ(r.status, 1) << was;
            EXPECT_TRUE(r.err.startsWith(QStringLiteral("Die Datenbank %1 ist beschädigt")
                                             .arg(QDir::toNativeSeparators(db))))
                << was << ": " << r.err.toStdString();
            EXPECT_EQ(bytes(db), inhalt) << was;
        }
        EXPECT_EQ(cli.run({"pruefen"}).status, 1) << s.name;
    }
}

} // namespace
