#include "fixture.h"
#include "sicherung/datensicherung.h"
#include "sicherung/sicherungsstatus.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>

namespace {

QByteArray inhalt(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly)
               ? QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256)
               : QByteArray();
}

class DatensicherungTest : public VelmoraFixture {
protected:
    void SetUp() override {
        VelmoraFixture::SetUp();
        ersterMandant();
        buchung(dm->gibMandant(), dm->gibZeitraum(), "2026-03-01", "120,00", 20, 0, true);
    }

    QDateTime um(int sekunde) const {
        return QDateTime(QDate(2026, 12, 10), QTime(10, 0)).addSecs(sekunde);
    }
    QStringList ordnerInhalt() const {
        return QDir(dir() + "Datensicherung").entryList(QDir::Files, QDir::Name);
    }
    // Rows of a table in a copy, through a connection of its own.
    int zeilen(const QString& path, const QString& table) {
        Datenbank db(QStringLiteral("sicherung_test"));
        db.open(path, true);
        Sql q = db.sql(QStringLiteral("select count(*) from ") + table);
        q.exec();
        return q.next() ? q.value(0).toInt() : -1;
    }
    // Enough pages for the copy to take several steps.
    void vieleBuchungen(int anzahl) {
        Transaktion t(dm->db());
        for (int i = 0; i < anzahl; ++i)
            dm->db()
                .sql(QStringLiteral(
                    "insert into T_Buchungen (ID, mandant, Text) values (:id, 1, :t)"))
                .bind("id", 1000 + i)
                .bind("t", QString(400, QLatin1Char('x')))
                .exec();
        t.commit();
    }
    QString programm() const { return QStringLiteral(VELMORA_BUILD_DIR "/datensicherung"); }
    int programmLaufen() {
        QProcess p;
        p.setWorkingDirectory(dir());
        p.start(programm(), {});
        EXPECT_TRUE(p.waitForFinished(30'000));
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    }
};

TEST_F(DatensicherungTest, AVerifiedCopyAppearsAndTheWorkingDatabaseStaysAsItWas) {
    const QByteArray vorher = inhalt(dbPath());
    Datensicherung s(dir());
    const QString kopie = s.sichern(um(0));
    EXPECT_EQ(kopie, dir() + "Datensicherung/Velmora_tab_2026-12-10_100000.mdb");
    EXPECT_EQ(ordnerInhalt(), QStringList{"Velmora_tab_2026-12-10_100000.mdb"})
        << "no unfinished copy and no log stay behind";
    EXPECT_EQ(zeilen(kopie, "T_Buchungen"), 1);
    EXPECT_EQ(zeilen(kopie, "T_Mandant"), 1);
    EXPECT_TRUE(TDM_EinAus::keineVelmoraDatenbank(kopie).isEmpty());
    EXPECT_EQ(inhalt(dbPath()), vorher);

    // a second copy in the same second never replaces the first
    const QByteArray erste = inhalt(kopie);
    EXPECT_EQ(s.sichern(um(0)), dir() + "Datensicherung/Velmora_tab_2026-12-10_100000_2.mdb");
    EXPECT_EQ(s.sichern(um(0)), dir() + "Datensicherung/Velmora_tab_2026-12-10_100000_3.mdb");
    EXPECT_EQ(inhalt(kopie), erste);
}

TEST_F(DatensicherungTest, ThirtyOneRunsKeepTheNewestThirty) {
    Datensicherung s(dir());
    // numbered copies sort after their plain name, "_10" after "_9"
    for (int i = 0; i < 10; ++i)
        s.sichern(um(0));
    for (int i = 1; i <= 21; ++i)
        s.sichern(um(i));
    const QStringList kopien = s.kopien();
    ASSERT_EQ(kopien.size(), Datensicherung::Behalten);
    EXPECT_EQ(kopien.front(), "Velmora_tab_2026-12-10_100000_2.mdb");
    EXPECT_EQ(kopien[8], "Velmora_tab_2026-12-10_100000_10.mdb");
    EXPECT_EQ(kopien.back(), "Velmora_tab_2026-12-10_100021.mdb");
    EXPECT_EQ(ordnerInhalt().size(), Datensicherung::Behalten);

    // a clock set back: the new copy stays, the oldest other goes
    const QString frueher = s.sichern(QDateTime(QDate(2020, 1, 1), QTime(8, 0)));
    EXPECT_TRUE(QFile::exists(frueher));
    EXPECT_EQ(s.kopien().size(), Datensicherung::Behalten);
    EXPECT_FALSE(s.kopien().contains("Velmora_tab_2026-12-10_100000_2.mdb"));
}

TEST_F(DatensicherungTest, AFailureLeavesEveryCopyLogsTheReasonAndEndsWithStatusOne) {
    Datensicherung s(dir());
    s.sichern(um(0));
    s.sichern(um(1));
    const QStringList kopien = s.kopien();
    const QByteArray erste = inhalt(s.ordner() + "/" + kopien[0]);
    dm.reset();
    umgebung.reset();

    const struct {
        const char* fall;
        std::function<void()> anrichten;
        const char* grund;
    } faelle[] = {
        {"damaged",
         [&] {
             // a page of the bookings table overwritten
             QFile f(dbPath());
             ASSERT_TRUE(f.open(QIODevice::ReadWrite));
             const qint64 seiten = f.size() / 4096;
             for (qint64 seite = 2; seite < seiten; ++seite) {
                 f.seek(seite * 4096 + 8);
                 f.write(QByteArray(200, '\x55'));
             }
         },
         "Velmora_tab.mdb ist beschädigt oder nicht lesbar"},
        {"truncated",
         [&] {
             QFile::remove(dbPath());
             ASSERT_TRUE(QFile::copy(QStringLiteral(VELMORA_TEMPLATE_PATH), dbPath()));
             QFile::setPermissions(dbPath(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
             QFile f(dbPath());
             ASSERT_TRUE(f.open(QIODevice::ReadWrite));
             f.resize(f.size() - 4096);
         },
         "Velmora_tab.mdb ist beschädigt oder nicht lesbar"},
        {"foreign",
         [&] {
             QFile f(dbPath());
             ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
             f.write("Kassabuch 2026\n");
         },
         "ist keine Velmora-Datenbank"},
        {"missing", [&] { QFile::remove(dbPath()); }, "wurde im Verzeichnis"},
    };
    int zeile = 0;
    for (const auto& fall : faelle) {
        fall.anrichten();
        EXPECT_EQ(programmLaufen(), 1) << fall.fall;
        EXPECT_EQ(s.kopien(), kopien) << fall.fall;
        EXPECT_EQ(ordnerInhalt().size(), kopien.size() + 2)
            << fall.fall << ": only the log and the note for the next start are new";
        const auto hinweis = sicherungsstatus::letzterFehler(dir());
        ASSERT_TRUE(hinweis.has_value()) << fall.fall;
        EXPECT_TRUE(hinweis->contains(fall.grund)) << hinweis->toStdString();
        QFile log(s.logDatei());
        ASSERT_TRUE(log.open(QIODevice::ReadOnly));
        const QStringList zeilen = QString::fromUtf8(log.readAll()).split('\n', Qt::SkipEmptyParts);
        ASSERT_EQ(zeilen.size(), ++zeile) << fall.fall;
        EXPECT_TRUE(zeilen.back().contains(fall.grund)) << zeilen.back().toStdString();
        // "2026-12-10 10:00:00 ..."
        EXPECT_TRUE(QDateTime::fromString(zeilen.back().left(19), "yyyy-MM-dd HH:mm:ss").isValid())
            << zeilen.back().toStdString();
    }
    EXPECT_EQ(inhalt(s.ordner() + "/" + kopien[0]), erste);
}

TEST_F(DatensicherungTest, TheProgramBacksUpItsWorkingDirectory) {
    // a good run forgets the failure of the run before
    ASSERT_TRUE(sicherungsstatus::merken(dir(), um(0), QStringLiteral("Platte voll")));
    EXPECT_EQ(programmLaufen(), 0);
    EXPECT_EQ(sicherungsstatus::letzterFehler(dir()), std::nullopt);
    const QStringList kopien = Datensicherung(dir()).kopien();
    ASSERT_EQ(kopien.size(), 1);
    EXPECT_EQ(zeilen(dir() + "Datensicherung/" + kopien[0], "T_Buchungen"), 1);
    EXPECT_FALSE(QFile::exists(Datensicherung(dir()).logDatei()));
}

TEST_F(DatensicherungTest, VelmoraMayOpenAndWriteTheDatabaseWhileTheCopyRuns) {
    vieleBuchungen(3000);
    Datensicherung s(dir());
    int schritte = 0;
    s.setZwischenschritt([&] {
        if (++schritte != 1)
            return;
        // as the next start of Velmora would: open and book, without waiting
        TDM_EinAus velmora(dir(), ui, clock);
        velmora.db().setBusyTimeout(0);
        velmora.ADO_VelmoraConnect();
        Transaktion t(velmora.db());
        velmora.db()
            .sql(QStringLiteral("insert into T_Buchungen (ID, mandant) values (99999, 1)"))
            .exec();
        t.commit();
    });
    const QString kopie = s.sichern(um(0));
    EXPECT_GT(schritte, 1);
    // the copy starts again after the change and holds it
    EXPECT_EQ(zeilen(kopie, "T_Buchungen"), 3002);
    EXPECT_EQ(anzahl("T_Buchungen"), 3002);
}

TEST_F(DatensicherungTest, AnInterruptedCopyLeavesNoHalfWrittenFile) {
    vieleBuchungen(3000);
    Datensicherung s(dir());
    const QString alt = s.sichern(um(0));
    s.setZwischenschritt(
        [] { throw DatenbankFehler(QStringLiteral("Der Datenträger ist voll.")); });
    EXPECT_THROW(s.sichern(um(1)), DatenbankFehler);
    EXPECT_EQ(ordnerInhalt(), QStringList{QFileInfo(alt).fileName()});
}

} // namespace
