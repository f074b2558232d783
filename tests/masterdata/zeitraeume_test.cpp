#include "stammdatenfixture.h"

#include "data/festschreibung.h"
#include "masterdata/dblookuplistbox.h"
#include "masterdata/mandanten.h"
#include "masterdata/tformzeitraum.h"
#include "masterdata/zeitraeume.h"
#include "masterdata/zeitraumbefehle.h"

#include <QLabel>
#include <QPushButton>
#include <functional>

namespace {

const QString kNurZahlen = QStringLiteral("Es dürfen nur Zahlen angegeben werden");
const QString kAktiv = QStringLiteral(
    "Das aktive Wirtschaftsjahr kann nicht gelöscht werden. \rBitte zuerst mit Doppelklick das "
    "Wirtschaftsjahr wechseln. \rDanach das zu löschende Wirtschaftsjahr markieren.");
const QString kFrage1 =
    QStringLiteral("Soll das markierte Wirtschaftsjahr \rwirklich gelöscht werden?");
const QString kFrage2 = QStringLiteral("Soll das markierte Wirtschaftsjahr \rwirklich endgültig "
                                       "gelöscht werden?\rEs gibt kein Rückgängig!!!");
const QString kGeloescht = QStringLiteral("Das Wirtschaftsjahrwurde vollständig gelöscht!?");

} // namespace

TEST(JahrAusText, AnyIntegerCountsAsAYear) {
    const std::pair<const char*, std::optional<int>> faelle[] = {
        {"2024", 2024},
        {"99", 99},
        {"20245", 20245},
        {"0", 0},
        {"-12", -12},
        {" 2024 ", 2024},
        {"+2024", 2024},
        {"02024", 2024},
        {"", std::nullopt},
        {" ", std::nullopt},
        {"zwanzig", std::nullopt},
        {"20.24", std::nullopt},
        {"2024,0", std::nullopt},
        {"2e3", std::nullopt},
        {"0x7E8", std::nullopt},
        {"20 24", std::nullopt},
        {"99999999999", std::nullopt},
    };
    for (const auto& [text, jahr] : faelle)
        EXPECT_EQ(TDM_EinAus::jahrAusText(QString::fromUtf8(text)), jahr) << text;
}

class ZeitraeumeTest : public StammdatenFixture {
protected:
    void SetUp() override {
        StammdatenFixture::SetUp();
        alpha = dm->gibMandant();
        aktuell = dm->gibZeitraum();
        befehle = std::make_unique<ZeitraumBefehle>(*umgebung, *fenster);
    }
    void TearDown() override {
        befehle.reset();
        StammdatenFixture::TearDown();
    }

    // Opens the dialog, marks `markiert` (if given), runs `handlung` in it
    // and answers whether the dialog closed itself with OK.
    bool imDialog(std::optional<int> markiert, std::function<void(TFormZeitraum&)> handlung) {
        bool geschlossen = false;
        ui.answerModal([=, &geschlossen](QDialog& d) {
            auto& dialog = dynamic_cast<TFormZeitraum&>(d);
            if (markiert)
                dialog.DBLookupListBox1->setKeyValue(*markiert);
            handlung(dialog);
            geschlossen = dialog.result() == QDialog::Accepted;
            return dialog.result();
        });
        befehle->Wirtschaftsjahrauswhlen1Click();
        return geschlossen;
    }
    int zeitraumNummer(int mandant) {
        return wert(QStringLiteral("select ZeitraumNummer from T_Einstellungen where mandant = %1")
                        .arg(mandant))
            .toInt();
    }

    std::unique_ptr<ZeitraumBefehle> befehle;
    int alpha = -1;
    int aktuell = -1;
};

TEST_F(ZeitraeumeTest, DialogShowsClientYearsNewestFirstAndMarksTheCurrentOne) {
    zeitraeume::anlegen(*dm, alpha, "2024");
    zeitraeume::anlegen(*dm, alpha, "2027");
    const int beta = *mandanten::anlegen(*dm, "Beta").id;
    zeitraeume::anlegen(*dm, beta, "2020");
    imDialog(std::nullopt, [&](TFormZeitraum& d) {
        EXPECT_EQ(d.windowTitle(), "Wirtschaftsjahre");
        EXPECT_EQ(d.Label_Mandant->text(), "Alpha");
        EXPECT_EQ(d.LabelAktuellesJahr->text(), "2026");
        EXPECT_EQ(d.Label2->text() + " " + d.Label3->text(),
                  "Durch Doppelklick das Wirtschaftsjahr auswählen");
        EXPECT_EQ(d.NeuesJahr->text(), "Neues Jahr anlegen");
        EXPECT_EQ(d.BitBtn1->text(), "Wirtschaftsjahr löschen");
        EXPECT_EQ(d.Schliessen->text(), "S&chließen");
        QStringList gelistet;
        for (int row = 0; row < d.DBLookupListBox1->model()->rowCount(); ++row)
            gelistet << d.DBLookupListBox1->model()
                            ->index(row, d.DBLookupListBox1->modelColumn())
                            .data()
                            .toString();
        EXPECT_EQ(gelistet, QStringList({"2027", "2026", "2024"}));
        EXPECT_EQ(d.DBLookupListBox1->keyValue(), aktuell);
        EXPECT_EQ(d.DBLookupListBox1->markedText(), "2026");
    });
    ASSERT_EQ(fenster->anzeigen.size(), 1u);
}

TEST_F(ZeitraeumeTest, CreatingAYear) {
    struct Fall {
        std::optional<QString> eingabe;
        QString meldung;
        QList<int> jahreDanach;
    };
    const Fall faelle[] = {
        {"2026", "Das Jahr 2026 existiert bereits", {2026}},
        {" 2026", "Das Jahr  2026 existiert bereits", {2026}},
        {"2025", "", {2025, 2026}},
        {"99", "", {99, 2026}},
        {"20245", "", {2026, 20245}},
        {"-3", "", {-3, 2026}},
        {"abc", kNurZahlen, {2026}},
        {"", kNurZahlen, {2026}},
        {"20.24", kNurZahlen, {2026}},
        {"99999999999", kNurZahlen, {2026}},
        {std::nullopt, "", {2026}},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.eingabe.value_or("(Abbrechen)").toStdString());
        SetUp();

        ui.answerInput(f.eingabe);
        const bool geschlossen = imDialog(std::nullopt, [&](TFormZeitraum& d) {
            d.NeuesJahrClick();
            // the dialog stays open, lists the new year and keeps the current one marked
            EXPECT_EQ(d.DBLookupListBox1->model()->rowCount(), f.jahreDanach.size());
            EXPECT_EQ(d.DBLookupListBox1->keyValue(), aktuell);
            EXPECT_EQ(d.LabelAktuellesJahr->text(), "2026");
        });
        EXPECT_FALSE(geschlossen);
        EXPECT_EQ(ui.texts("input"),
                  QStringList({"Neues Wirtschaftsjahr|Jahreszahl (zb: 2008)|2026"}));
        EXPECT_EQ(meldungen(), f.meldung.isEmpty() ? QStringList() : QStringList({f.meldung}));
        EXPECT_EQ(jahre(alpha), f.jahreDanach);
        EXPECT_EQ(dm->gibZeitraum(), aktuell);
        EXPECT_EQ(anzahl("T_Einstellungen"), 1);
        EXPECT_EQ(fenster->anzeigen.size(), 1u);
        ui.clearShown();
    }
}

TEST_F(ZeitraeumeTest, TheSameYearForTwoClientsGetsTwoIdentifiers) {
    const int beta = *mandanten::anlegen(*dm, "Beta").id;
    const zeitraeume::Angelegt neu = zeitraeume::anlegen(*dm, beta, "2026");
    ASSERT_TRUE(neu.id);
    EXPECT_NE(*neu.id, aktuell);
    EXPECT_EQ(jahre(alpha), QList<int>({2026}));
    EXPECT_EQ(jahre(beta), QList<int>({2026}));
    EXPECT_EQ(zeitraeume::anlegen(*dm, beta, "2026").meldung, "Das Jahr 2026 existiert bereits");
}

class ZeitraumLoeschenTest : public ZeitraeumeTest {
protected:
    void SetUp() override {
        ZeitraeumeTest::SetUp();
        alt = *zeitraeume::anlegen(*dm, alpha, "2025").id;
        const int bk = kreis(alpha, "Erlöse", "E");
        altBuchungen = {buchung(alpha, alt, "2025-02-01", "120,00", 20, bk, true),
                        buchung(alpha, alt, "2025-03-01", "110,00", 10, bk, false)};
        bewegung(alpha, altBuchungen[0], 1020, "20,00");
        bewegung(alpha, altBuchungen[1], 2010, "10,00");
        const int jetzt = buchung(alpha, aktuell, "2026-02-01", "60,00", 20, bk, true);
        bewegung(alpha, jetzt, 1020, "10,00");
        beta = *mandanten::anlegen(*dm, "Beta").id;
        const int betaJahr = dm->ersterZeitraumAnlegen(beta, 2025);
        const int betaBk = kreis(beta, "Erlöse", "E");
        bewegung(beta, buchung(beta, betaJahr, "2025-02-01", "12,00", 20, betaBk, true), 1020,
                 "2,00");
    }

    int alt = -1;
    int beta = -1;
    std::vector<int> altBuchungen;
};

TEST_F(ZeitraumLoeschenTest, DeletingTheMarkedYear) {
    struct Fall {
        const char* name;
        bool aktuellMarkiert;
        std::vector<UserSeam::Button> antworten;
        QStringList fragen;
        QStringList meldungen;
        bool geloescht;
    };
    const Fall faelle[] = {
        {"current year", true, {}, {}, {kAktiv}, false},
        {"first No", false, {UserSeam::No}, {kFrage1}, {}, false},
        {"second No", false, {UserSeam::Yes, UserSeam::No}, {kFrage1, kFrage2}, {}, false},
        {"both Yes", false, {UserSeam::Yes, UserSeam::Yes}, {kFrage1, kFrage2}, {kGeloescht}, true},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.name);
        SetUp();

        for (UserSeam::Button b : f.antworten)
            ui.answerQuestion(b);
        const bool geschlossen = imDialog(f.aktuellMarkiert ? aktuell : alt, [&](TFormZeitraum& d) {
            d.BitBtn1Click();
            EXPECT_EQ(d.DBLookupListBox1->model()->rowCount(), f.geloescht ? 1 : 2);
            EXPECT_EQ(d.DBLookupListBox1->keyValue(), aktuell);
        });
        EXPECT_FALSE(geschlossen);
        EXPECT_EQ(ui.texts("question"), f.fragen);
        EXPECT_EQ(meldungen(), f.meldungen);
        EXPECT_TRUE(ui.texts("error").isEmpty());
        const QString imAltenJahr = QStringLiteral("Wirtschaftsjahr = %1").arg(alt);
        EXPECT_EQ(anzahl("T_Zeitraum", QStringLiteral("id = %1").arg(alt)), f.geloescht ? 0 : 1);
        EXPECT_EQ(anzahl("T_Buchungen", imAltenJahr), f.geloescht ? 0 : 2);
        EXPECT_EQ(anzahl("t_kontenbewegungen", QStringLiteral("Buchungen_id in (%1, %2)")
                                                   .arg(altBuchungen[0])
                                                   .arg(altBuchungen[1])),
                  f.geloescht ? 0 : 2);
        // the current year and the other client keep everything
        EXPECT_EQ(anzahl("T_Buchungen"), f.geloescht ? 2 : 4);
        EXPECT_EQ(anzahl("t_kontenbewegungen"), f.geloescht ? 2 : 4);
        EXPECT_EQ(jahre(beta), QList<int>({2025}));
        EXPECT_EQ(dm->gibZeitraum(), aktuell);
        EXPECT_EQ(fenster->anzeigen.size(), 1u);
        ui.clearShown();
    }
}

TEST_F(ZeitraumLoeschenTest, ALockedYearAsksOnceMoreAndItsDeletionIsLogged) {
    festschreibung::festschreiben(*dm, alpha, alt, QDate(2025, 6, 30));
    const QString frage3 = "Das markierte Wirtschaftsjahr ist bis 30.06.2025 festgeschrieben.\r"
                           "Seine Buchungen bleiben im Änderungsprotokoll erhalten.\rSoll es "
                           "trotzdem gelöscht werden?";
    for (const UserSeam::Button dritte : {UserSeam::No, UserSeam::Yes}) {
        ui.clearShown();
        for (UserSeam::Button b : {UserSeam::Yes, UserSeam::Yes, dritte})
            ui.answerQuestion(b);
        imDialog(alt, [](TFormZeitraum& d) { d.BitBtn1Click(); });
        EXPECT_EQ(ui.texts("question"), QStringList({kFrage1, kFrage2, frage3}));
        EXPECT_EQ(anzahl("T_Zeitraum", QStringLiteral("id = %1").arg(alt)),
                  dritte == UserSeam::Yes ? 0 : 1);
    }
    EXPECT_EQ(anzahl("T_Protokoll", "Aktion = 'Wirtschaftsjahr gelöscht'"), 1);
    EXPECT_EQ(anzahl("T_Protokoll", "Aktion = 'gelöscht'"), 2);
    EXPECT_EQ(meldungen(), QStringList{kGeloescht});
}

TEST_F(ZeitraumLoeschenTest, AFailedDeletionShowsTheErrorAndKeepsEverything) {
    dm->db().execute("create trigger sperre before delete on T_Zeitraum "
                     "begin select raise(abort, 'gesperrt'); end");
    ui.answerQuestion(UserSeam::Yes);
    ui.answerQuestion(UserSeam::Yes);
    imDialog(alt, [](TFormZeitraum& d) { d.BitBtn1Click(); });
    // the trigger's text follows the German sentence, never alone
    EXPECT_EQ(ui.texts("error"),
              QStringList({"Die Änderung verletzt eine Regel der Datenbank " + dm->db().path() +
                           " und wurde nicht gespeichert. Bitte prüfen Sie die Eingaben. "
                           "(gesperrt)"}));
    EXPECT_TRUE(meldungen().isEmpty());
    EXPECT_EQ(anzahl("T_Buchungen", QStringLiteral("Wirtschaftsjahr = %1").arg(alt)), 2);
    EXPECT_EQ(anzahl("t_kontenbewegungen"), 4);
}

TEST_F(ZeitraumLoeschenTest, YearsOfAnotherClientAreNeitherDeletedNorMadeCurrent) {
    const int betaJahr = *zeitraeume::zeitraumVonJahr(*dm, beta, 2025);
    EXPECT_EQ(zeitraeume::loeschenVerweigert(*dm, betaJahr), zeitraeume::meldungUnbekannt());
    EXPECT_EQ(zeitraeume::setzen(*dm, betaJahr, alpha), zeitraeume::meldungUnbekannt());
    EXPECT_EQ(zeitraeume::loeschenVerweigert(*dm, alt), std::nullopt);
    EXPECT_EQ(dm->gibZeitraum(), aktuell);
}

TEST_F(ZeitraumLoeschenTest, DoubleClickMakesTheMarkedYearCurrentAndCloses) {
    const bool geschlossen = imDialog(alt, [&](TFormZeitraum& d) {
        d.DBLookupListBox1DblClick();
        EXPECT_EQ(d.LabelAktuellesJahr->text(), "2025");
    });
    EXPECT_TRUE(geschlossen);
    EXPECT_EQ(zeitraumNummer(alpha), alt);
    EXPECT_EQ(anzahl("T_Einstellungen", QStringLiteral("mandant = %1").arg(alpha)), 1);
    EXPECT_EQ(zeitraumNummer(beta), *zeitraeume::zeitraumVonJahr(*dm, beta, 2025));
    ASSERT_EQ(fenster->anzeigen.size(), 1u);
    EXPECT_EQ(fenster->anzeigen[0].jahr, 2025);
    EXPECT_TRUE(meldungen().isEmpty());
}

TEST_F(ZeitraeumeTest, AClientWithoutYearsWhileOthersHaveSome) {
    const int beta = *mandanten::anlegen(*dm, "Beta").id;
    mandanten::wechseln(*dm, beta);
    ui.answerInput(QStringLiteral("2030"));
    const bool geschlossen = imDialog(std::nullopt, [&](TFormZeitraum& d) {
        EXPECT_EQ(d.Label_Mandant->text(), "Beta");
        EXPECT_EQ(d.LabelAktuellesJahr->text(), "");
        EXPECT_EQ(d.DBLookupListBox1->model()->rowCount(), 0);
        // nothing is marked: neither switching nor deleting does anything
        d.DBLookupListBox1DblClick();
        d.BitBtn1Click();
        EXPECT_EQ(d.result(), QDialog::Rejected);
        EXPECT_TRUE(ui.texts("question").isEmpty());
        EXPECT_TRUE(meldungen().isEmpty());

        d.NeuesJahrClick();
        ASSERT_EQ(d.DBLookupListBox1->model()->rowCount(), 1);
        d.DBLookupListBox1->setKeyValue(*zeitraeume::zeitraumVonJahr(*dm, beta, 2030));
        d.DBLookupListBox1DblClick();
    });
    EXPECT_TRUE(geschlossen);
    // its settings row is made with the first year it chooses
    EXPECT_EQ(anzahl("T_Einstellungen", QStringLiteral("mandant = %1").arg(beta)), 1);
    EXPECT_EQ(dm->gibJahr(), 2030);
    EXPECT_EQ(zeitraumNummer(alpha), aktuell);
    EXPECT_EQ(fenster->anzeigen.back().mandant, "Beta");
    EXPECT_EQ(fenster->anzeigen.back().jahr, 2030);
}
