#include "fixture.h"
#include "sicherung/datensicherung.h"
#include "sicherung/sicherungsstatus.h"
#include "sicherung/wiederherstellung.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>

namespace {

QByteArray inhalt(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly)
               ? QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256)
               : QByteArray();
}

class WiederherstellungTest : public VelmoraFixture {
protected:
    void SetUp() override {
        VelmoraFixture::SetUp();
        ersterMandant();
        neueBuchung("120,00");
    }
    void neueBuchung(const QString& betrag) {
        buchung(dm->gibMandant(), dm->gibZeitraum(), "2026-03-01", betrag, 20, 0, true);
    }
    int buchungen() {
        Sql q = dm->db().sql(QStringLiteral("select count(*) from T_Buchungen"));
        q.exec();
        return q.next() ? q.value(0).toInt() : -1;
    }
    QDateTime um(int minute) const {
        return QDateTime(QDate(2026, 12, 10), QTime(10, 0)).addSecs(60 * minute);
    }
    QString ordner() const { return dir() + "Datensicherung"; }
    QStringList ordnerInhalt() const { return QDir(ordner()).entryList(QDir::Files, QDir::Name); }
};

TEST_F(WiederherstellungTest, ACopyComesBackAfterTheCurrentStateWasSaved) {
    const QString eins = Datensicherung(dir()).sichern(um(0));
    neueBuchung("5,00");
    neueBuchung("7,00");
    ASSERT_EQ(buchungen(), 3);

    const QString vorher = wiederherstellung::zurueckspielen(dir(), eins, um(5));
    EXPECT_EQ(vorher, ordner() + "/Velmora_tab_2026-12-10_100500.mdb");
    // the open connection of the program sees the restored books
    EXPECT_EQ(buchungen(), 1);
    EXPECT_TRUE(dm->db().integritaetPruefen().isEmpty());

    // the state before is an ordinary copy, listed newest first
    const auto liste = wiederherstellung::liste(dir());
    ASSERT_EQ(liste.size(), 2u);
    EXPECT_EQ(liste[0].pfad, vorher);
    EXPECT_EQ(liste[0].zeit, um(5));
    EXPECT_EQ(liste[0].buchungen, 3);
    EXPECT_EQ(liste[0].bytes, QFileInfo(vorher).size());
    EXPECT_EQ(liste[1].pfad, eins);
    EXPECT_EQ(liste[1].zeit, um(0));
    EXPECT_EQ(liste[1].buchungen, 1);
    EXPECT_EQ(ordnerInhalt(), (QStringList{"Velmora_tab_2026-12-10_100000.mdb",
                                           "Velmora_tab_2026-12-10_100500.mdb"}))
        << "nothing unfinished stays behind";

    // and back again
    wiederherstellung::zurueckspielen(dir(), vorher, um(6));
    EXPECT_EQ(buchungen(), 3);
}

TEST_F(WiederherstellungTest, TheOldestOfAFullFolderCanBeRestored) {
    Datensicherung s(dir());
    const QString aelteste = s.sichern(um(0));
    neueBuchung("5,00");
    for (int i = 1; i < Datensicherung::Behalten; ++i)
        s.sichern(um(i));
    ASSERT_EQ(s.kopien().size(), Datensicherung::Behalten);
    // the backup made first prunes the chosen copy from the folder
    wiederherstellung::zurueckspielen(dir(), aelteste, um(40));
    EXPECT_EQ(buchungen(), 1);
    EXPECT_FALSE(QFile::exists(aelteste));
}

TEST_F(WiederherstellungTest, ADamagedCopyIsRefusedAndNothingChanges) {
    const QString eins = Datensicherung(dir()).sichern(um(0));
    {
        QFile f(eins);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        f.resize(f.size() - 1024);
    }
    QFile fremd(ordner() + "/Velmora_tab_2026-12-10_110000.mdb");
    ASSERT_TRUE(fremd.open(QIODevice::WriteOnly));
    fremd.write("kein SQLite");
    fremd.close();
    neueBuchung("5,00");
    const QByteArray arbeit = inhalt(dbPath());
    const QStringList davor = ordnerInhalt();
    for (const QString& kopie : {eins, fremd.fileName()}) {
        try {
            wiederherstellung::zurueckspielen(dir(), kopie, um(5));
            ADD_FAILURE() << "restored " << kopie.toStdString();
        } catch (const DatenbankFehler& e) {
            EXPECT_TRUE(e.text().startsWith("Die Sicherung " + kopie +
                                            " ist beschädigt und wird nicht zurückgespielt."))
                << e.text().toStdString();
        }
        EXPECT_EQ(inhalt(dbPath()), arbeit);
        EXPECT_EQ(ordnerInhalt(), davor);
    }
    // the list says which copies cannot be read
    const auto liste = wiederherstellung::liste(dir());
    ASSERT_EQ(liste.size(), 2u);
    EXPECT_EQ(liste[0].buchungen, std::nullopt);
}

TEST_F(WiederherstellungTest, NoRestoreWhileAnotherProgramHoldsTheDatabase) {
    const QString eins = Datensicherung(dir()).sichern(um(0));
    neueBuchung("5,00");
    const QByteArray arbeit = inhalt(dbPath());
    {
        QSqlDatabase anderes = QSqlDatabase::addDatabase("QSQLITE", "anderes_programm");
        anderes.setDatabaseName(dbPath());
        ASSERT_TRUE(anderes.open());
        QSqlQuery q(anderes);
        ASSERT_TRUE(q.exec("BEGIN"));
        ASSERT_TRUE(q.exec("select count(*) from T_Buchungen"));
        ASSERT_TRUE(q.next());
        try {
            wiederherstellung::zurueckspielen(dir(), eins, um(5));
            ADD_FAILURE() << "restored under a lock";
        } catch (const DatenbankFehler& e) {
            EXPECT_EQ(e.text(), datenbankmeldung::gesperrt(dbPath()));
        }
        q.exec("ROLLBACK");
        q.finish();
        anderes.close();
    }
    QSqlDatabase::removeDatabase("anderes_programm");
    EXPECT_EQ(inhalt(dbPath()), arbeit);
    EXPECT_EQ(ordnerInhalt(), QStringList{"Velmora_tab_2026-12-10_100000.mdb"})
        << "no copy of the current state either";
    EXPECT_EQ(buchungen(), 2);
}

TEST_F(WiederherstellungTest, AFailedBackupIsRememberedUntilTheNextGoodOne) {
    EXPECT_EQ(sicherungsstatus::letzterFehler(dir()), std::nullopt);
    ASSERT_TRUE(sicherungsstatus::merken(dir(), um(0), "Der Datenträger ist voll.\rZweite Zeile"));
    EXPECT_EQ(sicherungsstatus::letzterFehler(dir()),
              QStringLiteral("Die Datensicherung vom 10.12.2026 10:00 ist fehlgeschlagen: Der "
                             "Datenträger ist voll. Zweite Zeile"));
    ASSERT_TRUE(sicherungsstatus::merken(dir(), um(1), QString()));
    EXPECT_EQ(sicherungsstatus::letzterFehler(dir()), std::nullopt);
    EXPECT_TRUE(sicherungsstatus::merken(dir(), um(2), QString()));
}

} // namespace
