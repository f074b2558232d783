#include "data/db.h"
#include "export/exportsavedialog.h"
#include "export/tdbgridexport.h"
#include "export/tfrm_selection.h"
#include "fixture.h"
#include "reports/anlagenverzeichnis.h"
#include "reports/tabelle.h"
#include "reports/tanlagenverzeichnis.h"
#include "reports/tformanlage.h"
#include "reports/tforme1a.h"
#include "toolkit/dateedit.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTest>
#include <functional>

namespace {

using anlagenverzeichnis::Eintrag;

// The asset window driven as the user would: the dialog answered through
// the scripted seam, the register read back from the database.
class Anlagenfenster : public VelmoraFixture {
protected:
    void SetUp() override {
        VelmoraFixture::SetUp();
        neueDatenbank();
        ersterMandant(QStringLiteral("Huber KG"), 2026);
        mandant = dm->gibMandant();
        fenster = std::make_unique<TAnlagenverzeichnis>(*umgebung);
        fenster->laden();
    }
    // The dialog filled by fuellen, then OK (or Cancel).
    void dialog(std::function<void(TFormAnlage&)> fuellen, bool ok = true) {
        ui.answerModal([fuellen = std::move(fuellen), ok](QDialog& d) {
            auto& f = dynamic_cast<TFormAnlage&>(d);
            fuellen(f);
            return static_cast<int>(ok ? QDialog::Accepted : QDialog::Rejected);
        });
    }
    void abbrechen() {
        dialog([](TFormAnlage&) {}, false);
    }
    static void neueWerte(TFormAnlage& f, const char* bez, const QDate& datum, const char* kosten,
                          int jahre) {
        f.Edit_Bezeichnung->setText(QString::fromUtf8(bez));
        f.Datum_Anschaffung->setDate(datum);
        f.Edit_Kosten->setText(QString::fromUtf8(kosten));
        f.Spin_Nutzungsdauer->setValue(jahre);
    }
    QStringList zeilen() const {
        QStringList out;
        for (const QStringList& z : fenster->liste().tabelle().texte())
            out << z.join(QLatin1Char('\t'));
        return out;
    }
    void auswaehlen(const QString& bezeichnung) {
        for (int r = 0; r < fenster->liste().rowCount(); ++r)
            if (fenster->liste().index(r, 0).data().toString() == bezeichnung)
                fenster->Grid_Anlagen->setCurrentIndex(fenster->liste().index(r, 0));
    }
    int mandant = 0;
    std::unique_ptr<TAnlagenverzeichnis> fenster;
};

TEST_F(Anlagenfenster, NewChangeDisposalAndDeleteThroughTheDialog) {
    EXPECT_EQ(fenster->LabelJahr->text(), "Geschäftsjahr 2026");
    EXPECT_EQ(zeilen(), QStringList({"Summe\t\t0,00\t0,00\t0,00\t0,00\t0,00"}));

    // 2.400,00 from March over three years: the full 800,00; 1.200,00 from
    // September over four: half of 300,00
    dialog([](TFormAnlage& f) {
        EXPECT_EQ(f.windowTitle(), "Neue Anlage");
        EXPECT_EQ(f.Datum_Anschaffung->date(), QDate(2026, 12, 10)) << "today as the default";
        neueWerte(f, "Laptop", QDate(2026, 3, 15), "2.400,00", 3);
        f.Edit_Lieferant->setText(QStringLiteral("Elektro Maier"));
    });
    fenster->SchalterNeuClick();
    dialog([](TFormAnlage& f) { neueWerte(f, "Regal", QDate(2026, 9, 1), "1200", 4); });
    fenster->SchalterNeuClick();
    EXPECT_EQ(zeilen(), QStringList({"Laptop\t15.03.2026\t2.400,00\t0,00\t0,00\t800,00\t1.600,00",
                                     "Regal\t01.09.2026\t1.200,00\t0,00\t0,00\t150,00\t1.050,00",
                                     "Summe\t\t3.600,00\t0,00\t0,00\t950,00\t2.650,00"}));
    EXPECT_EQ(fenster->liste().index(1, 0).data().toString(), "Regal") << "the new one selected";
    EXPECT_EQ(*fenster->ausgewaehlt(), fenster->liste().schluessel(1));
    const int laptop = fenster->liste().schluessel(0);
    EXPECT_EQ(anlagenverzeichnis::lesen(dm->db(), mandant, laptop).lieferant, "Elektro Maier");

    // a change: degressive 30 %, 720,00 in the first year
    auswaehlen(QStringLiteral("Laptop"));
    dialog([](TFormAnlage& f) {
        EXPECT_EQ(f.windowTitle(), "Anlage ändern");
        EXPECT_EQ(f.Edit_Kosten->text(), "2.400,00");
        EXPECT_EQ(f.Edit_Lieferant->text(), "Elektro Maier");
        EXPECT_FALSE(f.Spin_Satz->isEnabled());
        f.Combo_Methode->setCurrentIndex(1);
        EXPECT_TRUE(f.Spin_Satz->isEnabled());
        f.Spin_Satz->setValue(30);
    });
    fenster->SchalterAendernClick();
    EXPECT_EQ(zeilen()[0], "Laptop\t15.03.2026\t2.400,00\t0,00\t0,00\t720,00\t1.680,00");
    EXPECT_EQ(anlagenverzeichnis::lesen(dm->db(), mandant, laptop).anlage.degressivSatz, 30);

    // the shelf leaves in November: half of 300,00 written off, the rest leaves
    auswaehlen(QStringLiteral("Regal"));
    dialog([](TFormAnlage& f) {
        EXPECT_EQ(f.windowTitle(), "Abgang der Anlage");
        EXPECT_EQ(f.Edit_Abgang->text(), "10.12.2026") << "today proposed";
        EXPECT_FALSE(f.Edit_Kosten->isEnabled());
        f.Edit_Abgang->setText(QStringLiteral("20.11.2026"));
        f.Edit_Erloes->setText(QStringLiteral("500"));
    });
    fenster->SchalterAbgangClick();
    EXPECT_EQ(zeilen()[1], "Regal\t01.09.2026\t1.200,00\t0,00\t1.050,00\t150,00\t0,00");
    const Eintrag regal =
        anlagenverzeichnis::lesen(dm->db(), mandant, fenster->liste().schluessel(1));
    EXPECT_EQ(*regal.anlage.abgang, QDate(2026, 11, 20));
    EXPECT_EQ(regal.erloes->format(), "500,00");
    EXPECT_EQ(regal.anlage.kosten.format(), "1.200,00") << "the rest unchanged";

    // delete asks, and No keeps the asset
    ui.answerQuestion(UserSeam::No);
    fenster->SchalterLoeschenClick();
    EXPECT_EQ(anzahl(QStringLiteral("T_Anlagen")), 2);
    ui.answerQuestion(UserSeam::Yes);
    fenster->SchalterLoeschenClick();
    EXPECT_EQ(ui.texts("question").last(),
              "Soll die Anlage \"Regal\" aus dem Anlagenverzeichnis gelöscht werden?");
    EXPECT_EQ(anzahl(QStringLiteral("T_Anlagen")), 1);
    EXPECT_EQ(zeilen().size(), 2);

    // the totals row is no asset: nothing to change or delete there
    fenster->Grid_Anlagen->setCurrentIndex(fenster->liste().index(1, 0));
    EXPECT_FALSE(fenster->ausgewaehlt());
    fenster->SchalterAendernClick();
    fenster->SchalterLoeschenClick();
    EXPECT_EQ(ui.pending(), 0u);
    EXPECT_TRUE(ui.texts("error").isEmpty());
}

TEST_F(Anlagenfenster, ARefusalIsToldTheDialogComesBackAndNothingIsStored) {
    struct Fall {
        const char* was;
        std::function<void(TFormAnlage&)> fuellen;
        QString meldung;
    };
    const std::vector<Fall> faelle = {
        {"degressive car",
         [](TFormAnlage& f) {
             neueWerte(f, "Pkw", QDate(2026, 2, 1), "30000", 8);
             f.Combo_Art->setCurrentIndex(3);
             f.Combo_Methode->setCurrentIndex(1);
         },
         "Ein PKW wird nur emissionsfrei degressiv abgeschrieben."},
        {"used asset degressive",
         [](TFormAnlage& f) {
             neueWerte(f, "Presse", QDate(2026, 2, 1), "5000", 5);
             f.Check_Gebraucht->setChecked(true);
             f.Combo_Methode->setCurrentIndex(1);
         },
         "Gebrauchte Anlagen werden nicht degressiv abgeschrieben."},
        {"no description", [](TFormAnlage& f) { neueWerte(f, "", QDate(2026, 2, 1), "5000", 5); },
         "Die Bezeichnung der Anlage fehlt."},
        {"cost not a number",
         [](TFormAnlage& f) { neueWerte(f, "Presse", QDate(2026, 2, 1), "5x", 5); }, ""},
        {"no cost", [](TFormAnlage& f) { neueWerte(f, "Presse", QDate(2026, 2, 1), "", 5); },
         "Geben Sie die Kosten der Anlage an."},
        {"disposal date",
         [](TFormAnlage& f) {
             neueWerte(f, "Presse", QDate(2026, 2, 1), "5000", 5);
             f.Edit_Abgang->setText(QStringLiteral("31.02.2026"));
         },
         "'31.02.2026' ist kein gültiges Datum."},
        {"switch year",
         [](TFormAnlage& f) {
             neueWerte(f, "Presse", QDate(2026, 2, 1), "5000", 5);
             f.Combo_Methode->setCurrentIndex(1);
             f.Edit_LinearAb->setText(QStringLiteral("26"));
         },
         "'26' ist kein Jahr."},
        {"proceeds without disposal",
         [](TFormAnlage& f) {
             neueWerte(f, "Presse", QDate(2026, 2, 1), "5000", 5);
             f.Edit_Erloes->setText(QStringLiteral("100"));
         },
         "Ein Erlös gehört zu einem Abgang."},
    };
    for (const Fall& fall : faelle) {
        SCOPED_TRACE(fall.was);
        ui.clearShown();
        dialog(fall.fuellen);
        // shown again with what was typed, then cancelled
        QString wiederGezeigt;
        dialog([&wiederGezeigt](TFormAnlage& f) { wiederGezeigt = f.Edit_Bezeichnung->text(); },
               false);
        fenster->SchalterNeuClick();
        ASSERT_EQ(ui.texts("message").size(), 1);
        if (!fall.meldung.isEmpty())
            EXPECT_EQ(ui.texts("message")[0], fall.meldung);
        else
            EXPECT_FALSE(ui.texts("message")[0].isEmpty());
        EXPECT_EQ(wiederGezeigt.isEmpty(), QString::fromUtf8(fall.was) == "no description");
        EXPECT_EQ(anzahl(QStringLiteral("T_Anlagen")), 0);
        EXPECT_EQ(ui.pending(), 0u);
    }
    // the emission-free car may go degressive
    dialog([](TFormAnlage& f) {
        neueWerte(f, "E-Auto", QDate(2026, 2, 1), "40000", 8);
        f.Combo_Art->setCurrentIndex(4);
        f.Combo_Methode->setCurrentIndex(1);
        f.Spin_Satz->setValue(30);
    });
    fenster->SchalterNeuClick();
    EXPECT_EQ(zeilen()[0], "E-Auto\t01.02.2026\t40.000,00\t0,00\t0,00\t12.000,00\t28.000,00");
}

TEST_F(Anlagenfenster, TheBookingPaidWithProposesItsNetAndAnotherYearIsTold) {
    const int bk = kreis(mandant, QStringLiteral("Anlagen"), QStringLiteral("AN"));
    // 1.440,00 gross at 20 %: 1.200,00 net
    const int b = buchung(mandant, dm->gibZeitraum(), QStringLiteral("2026-04-02"),
                          QStringLiteral("1440"), 20, bk, false);
    bewegung(mandant, b, 2020, QStringLiteral("240"));
    const int einnahme = buchung(mandant, dm->gibZeitraum(), QStringLiteral("2026-04-03"),
                                 QStringLiteral("120"), 20, bk, true);
    bewegung(mandant, einnahme, 1020, QStringLiteral("20"));
    dialog([b, einnahme](TFormAnlage& f) {
        neueWerte(f, "Drucker", QDate(2026, 4, 2), "", 4);
        f.Edit_Buchung->setText(QString::number(einnahme));
        f.BuchungVerlassen();
        EXPECT_EQ(f.Edit_Kosten->text(), "");
        f.Edit_Buchung->setText(QString::number(b));
        f.BuchungVerlassen();
        EXPECT_EQ(f.Edit_Kosten->text(), "1.200,00");
        // a cost typed over the proposal stays while the booking stays
        f.Edit_Kosten->setText(QStringLiteral("1.100,00"));
        f.BuchungVerlassen();
        EXPECT_EQ(f.Edit_Kosten->text(), "1.100,00");
    });
    fenster->SchalterNeuClick();
    EXPECT_EQ(ui.texts("message"),
              QStringList({QStringLiteral("Die Buchung %1 ist eine Einnahme, keine Anschaffung.")
                               .arg(einnahme)}));
    const Eintrag e = anlagenverzeichnis::lesen(dm->db(), mandant, fenster->liste().schluessel(0));
    EXPECT_EQ(*e.buchungsid, b);
    EXPECT_EQ(e.anlage.kosten.format(), "1.100,00");

    // an asset of next year is stored and its absence from this year's list told
    ui.clearShown();
    dialog([](TFormAnlage& f) { neueWerte(f, "Kasse", QDate(2027, 1, 5), "900", 3); });
    fenster->SchalterNeuClick();
    EXPECT_EQ(ui.texts("message"),
              QStringList({"Die Anlage \"Kasse\" ist gespeichert; sie gehört nicht zum "
                           "Anlagenverzeichnis des Jahres 2026."}));
    EXPECT_EQ(anzahl(QStringLiteral("T_Anlagen")), 2);
    EXPECT_EQ(zeilen().size(), 2);
}

TEST_F(Anlagenfenster, TheGridIsExportedWithItsTotals) {
    dialog([](TFormAnlage& f) { neueWerte(f, "Laptop", QDate(2026, 3, 15), "2400", 3); });
    fenster->SchalterNeuClick();
    fenster->DBGridExport1().Options.exclude(xoShowProgress);
    const QString datei = dir() + QStringLiteral("anlagen.txt");
    ui.answerModal([](QDialog& d) {
        auto& s = dynamic_cast<Tfrm_Selection&>(d);
        s.SelectionCombo->setCurrentIndex(s.SelectionCombo->findText("Text (Tab getrennt)"));
        s.btn_Selection->click();
        return s.result();
    });
    ui.answerModal([datei](QDialog& d) {
        auto& s = dynamic_cast<ExportSaveDialog&>(d);
        s.selectFile(datei);
        s.accept();
        return s.result();
    });
    fenster->SchalterExportClick();
    QFile f(dir() + QStringLiteral("anlagen.TXT"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(),
              QByteArray("Bezeichnung\tAnschaffung\tKosten\tBuchwert Beginn\tAbgang\tAfA\tBuchwert "
                         "Ende\r\n"
                         "Laptop\t15.03.2026\t2.400,00\t0,00\t0,00\t800,00\t1.600,00\r\n"
                         "Summe\t\t2.400,00\t0,00\t0,00\t800,00\t1.600,00\r\n"));
    EXPECT_TRUE(ui.texts("error").isEmpty());
    EXPECT_EQ(ui.pending(), 0u);
}

// The control that holds the keyboard focus, by name.
QString fokus() {
    QWidget* w = QApplication::focusWidget();
    return w ? w->objectName() : QStringLiteral("?");
}

// Tab from the first control visits exactly reihenfolge and comes back to
// it; Shift+Tab the same way backwards.
void tabReihe(QWidget& fenster, const QStringList& reihenfolge) {
    fenster.show();
    QApplication::setActiveWindow(&fenster);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&fenster));
    fenster.findChild<QWidget*>(reihenfolge[0])->setFocus();
    QStringList vor{fokus()};
    for (qsizetype i = 1; i < reihenfolge.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        vor << fokus();
    }
    EXPECT_EQ(vor, reihenfolge);
    QStringList zurueck{fokus()};
    for (qsizetype i = 1; i < reihenfolge.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        zurueck << fokus();
    }
    std::reverse(zurueck.begin(), zurueck.end());
    EXPECT_EQ(zurueck, reihenfolge);
}

TEST_F(Anlagenfenster, EveryLabelAndButtonHasAMnemonicOfItsOwn) {
    TFormE1a e1a;
    for (QWidget* fenster :
         std::initializer_list<QWidget*>{fenster.get(), &fenster->FormAnlage(), &e1a}) {
        SCOPED_TRACE(fenster->objectName().toStdString());
        QStringList buchstaben;
        QStringList texte;
        // its own controls, not those of a dialog it owns
        for (QLabel* l : fenster->findChildren<QLabel*>())
            if (l->buddy() && l->window() == fenster)
                texte << l->text();
        for (QAbstractButton* b : fenster->findChildren<QAbstractButton*>())
            if (b->window() == fenster && !b->text().isEmpty() && b->text() != "OK" &&
                b->text() != "Abbrechen")
                texte << b->text();
        for (const QString& t : texte) {
            const QString taste =
                QKeySequence::mnemonic(t).toString().section(QLatin1Char('+'), -1).toUpper();
            EXPECT_FALSE(taste.isEmpty()) << t.toStdString();
            EXPECT_FALSE(buchstaben.contains(taste)) << t.toStdString() << " twice";
            buchstaben << taste;
        }
        EXPECT_GE(buchstaben.size(), 3);
    }
}

TEST_F(Anlagenfenster, TheKeyboardReachesEveryControl) {
    // the window: the list, its six buttons, back to the list
    tabReihe(*fenster,
             {"Grid_Anlagen", "SchalterNeu", "SchalterAendern", "SchalterAbgang",
              "SchalterLoeschen", "SchalterExport", "SchalterSchliessen", "Grid_Anlagen"});
    fenster->hide();

    // the dialog, linear: rate and switch year are passed by
    TFormAnlage& d = fenster->FormAnlage();
    d.setEintrag({}, TFormAnlage::Modus::Neu);
    const QStringList linear{"Edit_Bezeichnung",  "Datum_Anschaffung", "Edit_Buchung",
                             "Edit_Kosten",       "Edit_Lieferant",    "Spin_Nutzungsdauer",
                             "Combo_Methode",     "Combo_Art",         "Check_Gebraucht",
                             "Edit_Abgang",       "Edit_Erloes",       "SchalterOK",
                             "SchalterAbbrechen", "Edit_Bezeichnung"};
    tabReihe(d, linear);
    d.hide();
    // degressive: both join after the method
    d.Combo_Methode->setCurrentIndex(1);
    QStringList degressiv = linear;
    degressiv.insert(7, "Spin_Satz");
    degressiv.insert(8, "Edit_LinearAb");
    tabReihe(d, degressiv);
    d.hide();
    // a disposal: only its date, the proceeds and the buttons
    Eintrag e;
    e.bezeichnung = QStringLiteral("Laptop");
    e.anlage.anschaffung = QDate(2026, 3, 15);
    d.setEintrag(e, TFormAnlage::Modus::Abgang);
    tabReihe(d, {"Edit_Abgang", "Edit_Erloes", "SchalterOK", "SchalterAbbrechen", "Edit_Abgang"});
    d.hide();

    // the window's keys: Enter changes, Del deletes the selected asset
    dialog([](TFormAnlage& f) { neueWerte(f, "Laptop", QDate(2026, 3, 15), "2400", 3); });
    fenster->SchalterNeuClick();
    fenster->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(fenster.get()));
    fenster->Grid_Anlagen->setFocus();
    fenster->Grid_Anlagen->setCurrentIndex(fenster->liste().index(0, 0));
    bool geaendert = false;
    dialog([&geaendert](TFormAnlage& f) { geaendert = f.windowTitle() == "Anlage ändern"; }, false);
    QTest::keyClick(fenster->Grid_Anlagen, Qt::Key_Return);
    EXPECT_TRUE(geaendert);
    ui.answerQuestion(UserSeam::Yes);
    QTest::keyClick(fenster->Grid_Anlagen, Qt::Key_Delete);
    EXPECT_EQ(anzahl(QStringLiteral("T_Anlagen")), 0);
    EXPECT_EQ(ui.pending(), 0u);
}

} // namespace
