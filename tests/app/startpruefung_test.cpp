#include "app/startpruefung.h"
#include "app/tform_velmora.h"
#include "app/velmoraapp.h"
#include "fixture.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QFile>
#include <QLabel>
#include <QStatusBar>
#include <QTest>

namespace {

QByteArray hashOf(const QString& path) {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

// A year of bookings written straight into the file; then the fixture's
// connection goes, so the program starts on the file alone.
class Startpruefungstest : public VelmoraFixture {
protected:
    void buchungenAnlegen(int anzahl) {
        ersterMandant();
        const int m = dm->gibMandant();
        const int z = dm->gibZeitraum();
        const int bk = kreis(m, QStringLiteral("Erlöse"), QStringLiteral("E"));
        dm->db().execute(QStringLiteral("update T_Stammdaten set GanzerName = 'Max Muster'"));
        Transaktion t(dm->db());
        dm->db().execute(
            QStringLiteral(
                "with recursive n(i) as (select 1 union all select i + 1 from n where i < %1) "
                "insert into T_Buchungen (ID, mandant, Wirtschaftsjahr, Buchungsdatum, "
                "Belegnummer, Text, Steuersatz, Betrag, BK, IstEinnahme, IstEU, IstDrittland, "
                "IstKFZ, IstGebaeude) select i, %2, %3, '2026-03-01', i, 'Buchung ' || i, 20, "
                "1200000, %4, 1 + (i % 2), 2, 2, 2, 2 from n")
                .arg(anzahl)
                .arg(m)
                .arg(z)
                .arg(bk));
        dm->db().execute(QStringLiteral(
            "insert into t_kontenbewegungen (mandant, id, Buchungen_id, Konten_Nr, St_Betrag) "
            "select mandant, ID, ID, case IstEinnahme when 1 then 1020 else 2020 end, 200000 "
            "from T_Buchungen"));
        t.commit();
        umgebung.reset();
        dm.reset();
    }

    // The root page of the covering index of the totals overwritten.
    void summenindexZerstoeren() {
        int seite = 0;
        int groesse = 0;
        {
            Datenbank db(QStringLiteral("lesen"));
            db.open(dbPath());
            Sql q = db.sql(QStringLiteral(
                "select rootpage from sqlite_master where name = 'ix_buchungen_summen'"));
            q.exec();
            ASSERT_TRUE(q.next());
            seite = q.value(0).toInt();
            Sql g = db.sql(QStringLiteral("pragma page_size"));
            g.exec();
            ASSERT_TRUE(g.next());
            groesse = g.value(0).toInt();
        }
        QFile f(dbPath());
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.seek(qint64(seite - 1) * groesse));
        f.write(QByteArray(groesse, '\0'));
    }

    static void aufUrteilWarten(const Startpruefung& p) {
        for (int i = 0; i < 3000 && p.laeuft(); ++i)
            QTest::qWait(10);
        QCoreApplication::processEvents();
    }

    QString schreiben(TDM_EinAus& modul) {
        try {
            Transaktion t(modul.db());
            modul.db().execute(QStringLiteral("update T_Mandant set Bezeichnung = 'Neu'"));
            t.commit();
        } catch (const DatenbankFehler& e) {
            return e.text();
        }
        return {};
    }
};

TEST_F(Startpruefungstest, ADamagedIndexIsFoundAtStartAndEveryWriteRefused) {
    buchungenAnlegen(400);
    summenindexZerstoeren();
    const QByteArray vorher = hashOf(dbPath());

    ScriptedUserSeam programmUi;
    VelmoraApp app(dir(), dir(), programmUi, clock);
    ASSERT_TRUE(app.starten()) << "the start-up reads nothing of the damaged index";
    Startpruefung& pruefung = *app.Form_Velmora().startpruefung();

    // a write at once waits for the verdict and is refused with it
    const QString abgelehnt = schreiben(app.DM_EinAus());
    const QString beginn = QStringLiteral("Die Datenbank %1 ist beschädigt oder nicht lesbar: ")
                               .arg(QDir::toNativeSeparators(dbPath()));
    EXPECT_TRUE(abgelehnt.startsWith(beginn)) << abgelehnt.toStdString();
    ASSERT_TRUE(pruefung.befund());

    aufUrteilWarten(pruefung);
    EXPECT_EQ(programmUi.texts("error"), QStringList{*pruefung.befund()});
    app.Form_Velmora().Berechne();
    auto* einnahmen = app.Form_Velmora().findChild<QLabel*>(QStringLiteral("Label_Einnahmen"));
    EXPECT_EQ(einnahmen->text(), QStringLiteral("Datenbank beschädigt"));
    EXPECT_FALSE(schreiben(app.DM_EinAus()).isEmpty());
    EXPECT_EQ(hashOf(dbPath()), vorher);
}

TEST_F(Startpruefungstest, ASoundLargeFileIsCheckedBehindTheListsAndThenWritten) {
    buchungenAnlegen(100000);
    ScriptedUserSeam programmUi;
    VelmoraApp app(dir(), dir(), programmUi, clock);
    ASSERT_TRUE(app.starten());
    TForm_Velmora& form = app.Form_Velmora();
    // the verdict comes through the event loop: until then the status says so
    EXPECT_EQ(form.statusBar()->currentMessage(), Startpruefung::statusText());
    form.Berechne();
    EXPECT_EQ(form.findChild<QLabel*>(QStringLiteral("Label_Einnahmen"))->text(),
              QStringLiteral("6.000.000,00 €"));

    aufUrteilWarten(*form.startpruefung());
    EXPECT_FALSE(form.startpruefung()->befund());
    EXPECT_TRUE(form.statusBar()->currentMessage().isEmpty());
    EXPECT_EQ(schreiben(app.DM_EinAus()), QString());
    EXPECT_TRUE(programmUi.texts("error").isEmpty());
}

TEST_F(Startpruefungstest, ClosingCancelsACheckStillRunning) {
    buchungenAnlegen(100000);
    ScriptedUserSeam programmUi;
    {
        VelmoraApp app(dir(), dir(), programmUi, clock);
        ASSERT_TRUE(app.starten());
        app.Form_Velmora().startpruefung()->abbrechen();
        EXPECT_FALSE(app.Form_Velmora().startpruefung()->laeuft());
        // a cancelled check judges nothing: writes go on
        EXPECT_EQ(schreiben(app.DM_EinAus()), QString());
    }
    EXPECT_TRUE(programmUi.texts("error").isEmpty());
}

} // namespace
