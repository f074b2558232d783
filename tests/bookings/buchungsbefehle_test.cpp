#include "belegtest.h"

#include "bookings/belegeingabevorgaben.h"
#include "bookings/buchungsbefehle.h"
#include "bookings/buchungskreisbefehle.h"
#include "bookings/storno.h"
#include "data/festschreibung.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <functional>

namespace {

using Eingabe = std::function<void(TFormBelegeingabe&)>;

const QString kAenderung =
    QStringLiteral("Wollen sie die Änderungen an dieser Buchung wirklich durchführen ?");

} // namespace

class BuchungsbefehleTest : public BelegFixture {
protected:
    void SetUp() override {
        BelegFixture::SetUp();
        kreise = std::make_unique<BuchungskreisBefehle>(*umgebung, nullptr);
        befehle = std::make_unique<BuchungsBefehle>(*umgebung, fenster, *kreise);
    }

    // A scripted showing of the booking dialog: eingabe fills it, knopf closes it.
    void dialog(Eingabe eingabe, QPushButton* TFormBelegeingabe::*knopf) {
        ui.answerModal([eingabe, knopf](QDialog& d) {
            auto& f = static_cast<TFormBelegeingabe&>(d);
            eingabe(f);
            (f.*knopf)->click();
            return f.result();
        });
    }
    static Eingabe betrag(const QString& text, const QString& kreis = QStringLiteral("Büro")) {
        return [text, kreis](TFormBelegeingabe& f) {
            f.DBEdit_Betrag->setText(text);
            f.DBLookupComboBox1->setCurrentIndex(f.DBLookupComboBox1->findText(kreis));
        };
    }
    QString sektion() const { return TDM_EinAus::buchenAbschnitt(mandant); }
    int buchungen() { return anzahl("T_Buchungen"); }

    FakeHauptfenster fenster;
    std::unique_ptr<BuchungskreisBefehle> kreise;
    std::unique_ptr<BuchungsBefehle> befehle;
};

TEST_F(BuchungsbefehleTest, RunWithWeiterbuchenThenCancel) {
    dialog(
        [](TFormBelegeingabe& f) {
            betrag("120")(f);
            f.DBCombo_Steuersatz->setEditText("20");
            f.DBComboText->setEditText("Honorar");
        },
        &TFormBelegeingabe::SchalterOK_WEITER);
    QStringList zweiter;
    dialog(
        [&](TFormBelegeingabe& f) {
            // the next dialog opens at once, pre-filled with the remembered entries
            zweiter << f.DBCombo_Steuersatz->currentText() << f.DBComboText->currentText()
                    << f.DBLookupComboBox1->currentText() << f.DBEditBelegnummer->text()
                    << f.windowTitle();
            f.DBEdit_Betrag->setText("60");
        },
        &TFormBelegeingabe::SchalterOK_WEITER);
    dialog(betrag("999"), &TFormBelegeingabe::SchalterCancel);

    befehle->Buchen1Click();
    EXPECT_EQ(ui.pending(), 0u);
    EXPECT_EQ(zweiter, (QStringList{"20", "Honorar", "Büro", "2", "Belegeingabe - Neue Buchung"}));
    EXPECT_EQ(buchungen(), 2);
    EXPECT_EQ(bewegungen(1), QStringList{"1020:200000"});
    EXPECT_EQ(bewegungen(2), QStringList{"1020:100000"});
    EXPECT_EQ(wert("select Belegnummer from T_Buchungen where ID = 2").toInt(), 2);
    EXPECT_EQ(wert("select mandant from T_Buchungen where ID = 2").toInt(), mandant);
    EXPECT_EQ(fenster.aufrufe, (QStringList{"QueryEin", "QueryAus", "Berechne", "QueryEin",
                                            "QueryAus", "Berechne"}));
    // cancelling forgets rate and text; circle, date and income stay remembered
    EXPECT_FALSE(ini->hasKey(sektion(), "Steuersatz"));
    EXPECT_FALSE(ini->hasKey(sektion(), "Buchungstext"));
    EXPECT_EQ(ini->readString(sektion(), "Buchungskreis"), QString::number(buero));
    EXPECT_EQ(ini->readString(sektion(), "Belegdatum"), "10.12.2026");
    EXPECT_EQ(ini->readString(sektion(), "IstEinnahme"), "1");
}

TEST_F(BuchungsbefehleTest, PlainOkEndsTheRunAndForgetsRateAndText) {
    dialog(
        [](TFormBelegeingabe& f) {
            betrag("50")(f);
            f.DBCheckBoxAus->click();
            f.DBCombo_Steuersatz->setEditText("10");
        },
        &TFormBelegeingabe::SchalterOK);
    befehle->Buchen1Click();
    EXPECT_EQ(ui.pending(), 0u);
    EXPECT_EQ(bewegungen(1), QStringList{"2010:45500"});
    EXPECT_FALSE(ini->hasKey(sektion(), "Steuersatz"));

    QStringList naechster;
    dialog(
        [&](TFormBelegeingabe& f) {
            naechster << f.DBCombo_Steuersatz->currentText() << f.DBComboText->currentText()
                      << (f.DBCheckBoxAus->isChecked() ? "Ausgabe" : "Einnahme");
        },
        &TFormBelegeingabe::SchalterCancel);
    befehle->Buchen1Click();
    EXPECT_EQ(naechster, (QStringList{"0", "", "Ausgabe"}));
    EXPECT_EQ(buchungen(), 1);
}

TEST_F(BuchungsbefehleTest, ConfirmedChangeKeepsTheIdAndReplacesThePostings) {
    const int id = buchung(mandant, zeitraum, "2026-03-01", "100,00", 20, erloese, true);
    bewegung(mandant, id, 1020, "16,67");
    const int andere = buchung(mandant, zeitraum, "2026-03-02", "10,00", 0, erloese, true);
    bewegung(mandant, andere, 1000, "0,00");

    dialog(
        [](TFormBelegeingabe& f) {
            f.DBCheckBoxAus->click();
            f.DBCheckBoxEU->click();
            f.DBEdit_Betrag->setText("1000");
        },
        &TFormBelegeingabe::SchalterOK);
    ui.answerQuestion(UserSeam::Ok);
    befehle->GridDblClick(true, id);

    EXPECT_EQ(ui.texts("question"), QStringList{kAenderung});
    EXPECT_EQ(buchungen(), 2);
    const Buchung b = *buchungstabelle::lesen(dm->db(), id, mandant);
    EXPECT_EQ(b.IstEinnahme, 2);
    EXPECT_EQ(b.IstEU, 1);
    EXPECT_EQ(b.Steuersatz, 20);
    EXPECT_EQ(b.Betrag.units(), 10000000);
    EXPECT_EQ(bewegungen(id), (QStringList{"1021:2000000", "2021:2000000"}));
    EXPECT_EQ(wert(QStringLiteral("select min(id) from t_kontenbewegungen where Buchungen_id = %1")
                       .arg(id))
                  .toInt(),
              3);
    EXPECT_EQ(fenster.aufrufe, (QStringList{"QueryEin", "QueryAus", "Berechne"}));
    EXPECT_FALSE(ini->hasKey(sektion(), "IstEinnahme")); // a change remembers nothing
}

TEST_F(BuchungsbefehleTest, DeclinedOrCancelledChangeLeavesEverything) {
    const int id = buchung(mandant, zeitraum, "2026-03-01", "100,00", 20, erloese, true);
    bewegung(mandant, id, 1020, "16,67");
    const Buchung vorher = *buchungstabelle::lesen(dm->db(), id, mandant);

    dialog(betrag("5"), &TFormBelegeingabe::SchalterOK);
    ui.answerQuestion(UserSeam::Cancel);
    befehle->GridDblClick(false, id);
    dialog(betrag("6"), &TFormBelegeingabe::SchalterCancel);
    befehle->GridDblClick(false, id);

    EXPECT_EQ(ui.pending(), 0u);
    EXPECT_EQ(buchungstabelle::lesen(dm->db(), id, mandant), vorher);
    EXPECT_EQ(bewegungen(id), QStringList{"1020:166700"});
    EXPECT_TRUE(fenster.aufrufe.isEmpty());
}

TEST_F(BuchungsbefehleTest, EmptyListsAndVanishedRows) {
    befehle->GridDblClick(true, std::nullopt);
    befehle->GridEntfernen(false, std::nullopt);
    EXPECT_TRUE(ui.shown().empty());

    befehle->GridDblClick(true, 42); // no modal is scripted: none may open
    EXPECT_EQ(ui.texts("message"), QStringList{"Die Buchung ist nicht mehr vorhanden."});
    EXPECT_TRUE(ui.texts("modal").isEmpty());

    // another client's booking of that identifier is not this client's row
    const int fremd = buchung(mandant + 1, zeitraum, "2026-03-01", "1,00", 0, buero, true);
    ui.clearShown();
    befehle->GridDblClick(true, fremd);
    EXPECT_EQ(ui.texts("message"), QStringList{"Die Buchung ist nicht mehr vorhanden."});
}

TEST_F(BuchungsbefehleTest, DeletionAsksTwice) {
    const int ein = buchung(mandant, zeitraum, "2026-03-01", "100,00", 20, erloese, true);
    bewegung(mandant, ein, 1020, "16,67");
    const int aus = buchung(mandant, zeitraum, "2026-03-01", "100,00", 20, buero, false);
    bewegung(mandant, aus, 2020, "16,67");

    ui.answerQuestion(UserSeam::No);
    befehle->GridEntfernen(true, ein);
    ui.answerQuestion(UserSeam::Yes);
    ui.answerQuestion(UserSeam::Cancel);
    befehle->GridEntfernen(true, ein);
    EXPECT_EQ(buchungen(), 2);
    EXPECT_TRUE(fenster.aufrufe.isEmpty());
    EXPECT_EQ(ui.texts("question"),
              (QStringList{"Wollen Sie die ausgewählte Einnahme wirklich löschen?",
                           "Wollen Sie die ausgewählte Einnahme wirklich löschen?",
                           "Wirklich löschen?"}));

    ui.clearShown();
    ui.answerQuestion(UserSeam::Yes);
    ui.answerQuestion(UserSeam::Yes);
    befehle->GridEntfernen(false, aus);
    EXPECT_EQ(
        ui.texts("question"),
        (QStringList{"Wollen Sie die ausgewählte Ausgabe wirklich löschen?", "Wirklich löschen?"}));
    EXPECT_EQ(buchungen(), 1);
    EXPECT_TRUE(bewegungen(aus).isEmpty());
    EXPECT_EQ(bewegungen(ein).size(), 1);
    EXPECT_EQ(fenster.aufrufe, (QStringList{"QueryAus", "Berechne"}));

    // a later booking that receives the freed identifier starts without postings
    dialog(betrag("10"), &TFormBelegeingabe::SchalterOK);
    befehle->Buchen1Click();
    EXPECT_EQ(bewegungen(aus), QStringList{"1000:0"});
}

TEST_F(BuchungsbefehleTest, FailedWriteRollsBackAndReopensWithTheEntries) {
    postingsSchlagenFehl();
    dialog(
        [](TFormBelegeingabe& f) {
            betrag("1.234,56", "Erlöse")(f);
            f.DBCombo_Steuersatz->setEditText("10");
            f.DBComboText->setEditText("Honorar");
            f.DBEditBelegnummer->setText("77");
        },
        &TFormBelegeingabe::SchalterOK);
    QStringList wieder;
    dialog(
        [&](TFormBelegeingabe& f) {
            wieder << f.DBEdit_Betrag->text() << f.DBCombo_Steuersatz->currentText()
                   << f.DBComboText->currentText() << f.DBEditBelegnummer->text()
                   << f.DBLookupComboBox1->currentText() << f.windowTitle();
            schreibfehlerWeg();
        },
        &TFormBelegeingabe::SchalterOK);

    befehle->Buchen1Click();
    EXPECT_EQ(ui.pending(), 0u);
    EXPECT_EQ(ui.texts("error").size(), 1);
    EXPECT_TRUE(ui.texts("error").front().contains("Schreibfehler"));
    EXPECT_EQ(wieder, (QStringList{"1234,56", "10", "Honorar", "77", "Erlöse",
                                   "Belegeingabe - Neue Buchung"}));
    EXPECT_EQ(buchungen(), 1);
    EXPECT_EQ(wert("select Text from T_Buchungen").toString(), QStringLiteral("Honorar"));
    EXPECT_EQ(bewegungen(1), QStringList{"1010:1122300"});
    EXPECT_EQ(fenster.aufrufe, (QStringList{"QueryEin", "QueryAus", "Berechne"}));
}

TEST_F(BuchungsbefehleTest, FailedChangeOrDeletionChangesNothing) {
    const int id = buchung(mandant, zeitraum, "2026-03-01", "100,00", 20, erloese, true);
    bewegung(mandant, id, 1020, "16,67");
    const Buchung vorher = *buchungstabelle::lesen(dm->db(), id, mandant);
    postingsSchlagenFehl();

    dialog(betrag("500"), &TFormBelegeingabe::SchalterOK);
    ui.answerQuestion(UserSeam::Ok);
    QString wieder;
    dialog([&](TFormBelegeingabe& f) { wieder = f.DBEdit_Betrag->text(); },
           &TFormBelegeingabe::SchalterCancel);
    befehle->GridDblClick(true, id);
    EXPECT_EQ(wieder, QStringLiteral("500,00"));
    EXPECT_EQ(ui.texts("error").size(), 1);
    EXPECT_EQ(buchungstabelle::lesen(dm->db(), id, mandant), vorher);
    EXPECT_EQ(bewegungen(id), QStringList{"1020:166700"});

    schreibfehlerWeg();
    postingsSchlagenFehl(QStringLiteral("DELETE"));
    ui.answerQuestion(UserSeam::Yes);
    ui.answerQuestion(UserSeam::Yes);
    befehle->GridEntfernen(true, id);
    EXPECT_EQ(ui.texts("error").size(), 2);
    EXPECT_EQ(buchungen(), 1);
    EXPECT_EQ(bewegungen(id), QStringList{"1020:166700"});
    EXPECT_TRUE(fenster.aufrufe.isEmpty());
    EXPECT_EQ(ui.pending(), 0u);
}

TEST_F(BuchungsbefehleTest, UnreadableCircleListIsReportedNotThrown) {
    dm->BuchungskreiseFiltern(mandant); // the shared list holds the circles once read
    dm->db().execute(QStringLiteral("ALTER TABLE T_BKreis RENAME TO T_BKreis_weg"));
    QStringList kreiseImDialog;
    dialog(
        [&](TFormBelegeingabe& f) {
            for (int i = 0; i < f.DBLookupComboBox1->count(); ++i)
                kreiseImDialog << f.DBLookupComboBox1->itemText(i);
            f.DBEdit_Betrag->setText("10");
            f.SchalterOK->click(); // no circle to choose: refused, the dialog stays
            EXPECT_NE(f.result(), QDialog::Accepted);
        },
        &TFormBelegeingabe::SchalterCancel);
    EXPECT_NO_THROW(befehle->Buchen1Click());
    EXPECT_EQ(ui.pending(), 0u);
    EXPECT_EQ(ui.texts("error").size(), 1);
    EXPECT_TRUE(kreiseImDialog.isEmpty()); // not the list of an earlier reading
    EXPECT_EQ(buchungen(), 0);
}

TEST_F(BuchungsbefehleTest, ALockedBookingIsOnlyShownAndCanBeReversed) {
    const int id = buchung(mandant, zeitraum, "2026-03-10", "100,00", 20, erloese, true);
    bewegung(mandant, id, 1020, "16,67");
    festschreibung::festschreiben(*dm, mandant, zeitraum, QDate(2026, 3, 31));
    const int vorher = buchungen();
    const auto ansehen = [this](int ergebnis, QStringList& knoepfe) {
        ui.answerModal([ergebnis, &knoepfe](QDialog& d) {
            auto& f = static_cast<TFormBelegeingabe&>(d);
            EXPECT_TRUE(f.istNurLesen());
            EXPECT_TRUE(f.LabelGesperrt->text().startsWith("Festgeschrieben bis 31.03.2026:"));
            EXPECT_EQ(f.DBEdit_Betrag->text(), "100,00");
            for (QWidget* w : f.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
                if (qobject_cast<QPushButton*>(w) && !w->isHidden() && w->isEnabled())
                    knoepfe << w->objectName();
                if (qobject_cast<QCheckBox*>(w) || qobject_cast<QLineEdit*>(w) ||
                    qobject_cast<QComboBox*>(w)) {
                    EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
                }
            }
            // OK cannot be reached, not even through the dialog's result
            f.done(QDialog::Accepted);
            EXPECT_EQ(f.result(), QDialog::Rejected);
            return ergebnis;
        });
    };
    QStringList knoepfe;
    ansehen(QDialog::Rejected, knoepfe);
    befehle->GridDblClick(true, id);
    knoepfe.sort();
    EXPECT_EQ(knoepfe, (QStringList{"SchalterSchliessen", "SchalterStornieren"}));
    EXPECT_TRUE(ui.texts("question").isEmpty()) << "nothing is asked about a change";
    EXPECT_EQ(buchungen(), vorher);

    // "Stornieren": the counter-booking on today's date, 10.12.2026
    knoepfe.clear();
    ansehen(TFormBelegeingabe::Stornieren, knoepfe);
    befehle->GridDblClick(true, id);
    EXPECT_EQ(buchungen(), vorher + 1);
    EXPECT_EQ(ui.texts("message"),
              QStringList{"Die Gegenbuchung wurde mit dem Datum 10.12.2026 gebucht."});
    EXPECT_EQ(fenster.aufrufe, (QStringList{"QueryEin", "QueryAus", "Berechne"}));
}

TEST_F(BuchungsbefehleTest, DeletingALockedBookingIsRefusedBeforeAnyQuestion) {
    const int gesperrt = buchung(mandant, zeitraum, "2026-03-31", "100,00", 20, erloese, true);
    const int offen = buchung(mandant, zeitraum, "2026-04-01", "100,00", 20, erloese, true);
    festschreibung::festschreiben(*dm, mandant, zeitraum, QDate(2026, 3, 31));
    befehle->GridEntfernen(true, gesperrt);
    EXPECT_TRUE(ui.texts("question").isEmpty());
    EXPECT_EQ(ui.texts("message"),
              QStringList{festschreibung::meldungGesperrt(QDate(2026, 3, 31))});
    EXPECT_EQ(buchungen(), 2);
    // the first open day still asks, twice
    ui.answerQuestion(UserSeam::Yes);
    ui.answerQuestion(UserSeam::Yes);
    befehle->GridEntfernen(true, offen);
    EXPECT_EQ(ui.texts("question").size(), 2);
    EXPECT_EQ(buchungen(), 1);
}

TEST(Storno, TheFirstOpenDayOfALockedYear) {
    const struct {
        QDate heute;
        std::optional<QDate> bis;
        std::optional<QDate> tag;
    } faelle[] = {
        {QDate(2026, 12, 10), QDate(2026, 3, 31), QDate(2026, 12, 10)}, // today is open
        {QDate(2026, 3, 31), QDate(2026, 3, 31), QDate(2026, 4, 1)},    // today is locked
        {QDate(2026, 2, 1), QDate(2026, 6, 30), QDate(2026, 7, 1)},
        {QDate(2027, 1, 15), QDate(2026, 9, 30), QDate(2026, 12, 31)}, // after the year
        {QDate(2025, 11, 3), QDate(2026, 1, 31), QDate(2026, 2, 1)},   // before the year
        {QDate(2027, 1, 15), QDate(2026, 12, 31), std::nullopt},       // all locked
        {QDate(2026, 5, 5), std::nullopt, QDate(2026, 5, 5)},
    };
    for (const auto& f : faelle)
        EXPECT_EQ(storno::ersterOffenerTag(f.heute, 2026, f.bis), f.tag)
            << f.heute.toString(Qt::ISODate).toStdString();
}
