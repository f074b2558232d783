#include "bookings/buchungsschreiber.h"
#include "data/buchung.h"
#include "data/dm_einaus.h"
#include "data/festschreibung.h"
#include "data/protokollliste.h"
#include "export/exportsavedialog.h"
#include "export/tfrm_selection.h"
#include "fixture.h"
#include "reports/protokollbefehle.h"
#include "reports/tmonatsauswahl.h"
#include "reports/tprotokoll.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QWidget>

namespace {

class ProtokollBefehleTest : public VelmoraFixture {
protected:
    void SetUp() override {
        VelmoraFixture::SetUp();
        ersterMandant(QStringLiteral("Huber KG"), 2026);
        const int bk = kreis(dm->gibMandant(), QStringLiteral("Allgemein"), QStringLiteral("A"));
        Buchung b;
        b.mandant = dm->gibMandant();
        b.Wirtschaftsjahr = dm->gibZeitraum();
        b.Buchungsdatum = QDate(2026, 3, 2);
        b.Betrag = *Currency::parse(QStringLiteral("120"));
        b.Steuersatz = 20;
        b.BK = bk;
        b.Text = QStringLiteral("Miete");
        const int id = Buchungsschreiber(*dm).neueBuchungSpeichern(b, Belegnummernwahl::Naechste);
        b.Buchungsdatum = QDate(2026, 5, 2);
        Buchungsschreiber(*dm).neueBuchungSpeichern(b, Belegnummernwahl::Naechste);
        b = *buchungstabelle::lesen(dm->db(), id, dm->gibMandant());
        b.Betrag = *Currency::parse(QStringLiteral("240"));
        Buchungsschreiber(*dm).buchungAendern(b);
        befehle = std::make_unique<ProtokollBefehle>(*umgebung, &fenster);
    }
    void TearDown() override {
        befehle.reset();
        VelmoraFixture::TearDown();
    }

    void monat(int code) {
        ui.answerModal([code](QDialog& d) {
            auto& a = dynamic_cast<TMonatsAuswahl&>(d);
            a.show();
            EXPECT_EQ(a.windowTitle(), "Zeitraum festschreiben");
            EXPECT_FALSE(a.CheckBox_export->isVisibleTo(&a));
            a.RadioButton(code)->click();
            a.hide();
            return int(QDialog::Accepted);
        });
    }
    std::optional<QDate> gesperrt() {
        return festschreibung::bis(dm->db(), dm->gibMandant(), dm->gibZeitraum());
    }

    QWidget fenster;
    std::unique_ptr<ProtokollBefehle> befehle;
};

TEST_F(ProtokollBefehleTest, TheLockAsksWhatItMeansAndNoLeavesTheYearOpen) {
    const QString frage = festschreibung::frage(QDate(2026, 3, 31));
    EXPECT_EQ(frage, "Zeitraum bis 31.03.2026 festschreiben?\r\rDanach kann keine Buchung mit "
                     "einem Datum bis zu diesem Tag mehr angelegt, geändert oder gelöscht werden. "
                     "Korrekturen werden als neue Buchungen mit einem späteren Datum gebucht.\r"
                     "Die Festschreibung kann nicht aufgehoben werden.");
    monat(13);
    ui.answerQuestion(UserSeam::No);
    befehle->ZeitraumFestschreiben1Click();
    EXPECT_FALSE(gesperrt());

    monat(13);
    ui.answerQuestion(UserSeam::Yes);
    befehle->ZeitraumFestschreiben1Click();
    EXPECT_EQ(gesperrt(), QDate(2026, 3, 31));
    EXPECT_EQ(ui.texts("question"), QStringList({frage, frage}));
    EXPECT_EQ(ui.texts("message"), QStringList{"Der Zeitraum bis 31.03.2026 ist festgeschrieben."});

    // an earlier month is no question; a cancelled dialog nothing at all
    ui.clearShown();
    monat(2);
    befehle->ZeitraumFestschreiben1Click();
    ui.answerModal([](QDialog&) { return int(QDialog::Rejected); });
    befehle->ZeitraumFestschreiben1Click();
    EXPECT_EQ(ui.pending(), 0u);
    EXPECT_TRUE(ui.texts("question").isEmpty());
    EXPECT_EQ(ui.texts("message"),
              QStringList{"Das Wirtschaftsjahr ist bereits bis 31.03.2026 festgeschrieben."});
    EXPECT_EQ(anzahl("T_Protokoll", "Aktion = 'festgeschrieben'"), 1);
}

TEST_F(ProtokollBefehleTest, TheLogWindowListsMarksFiltersAndExports) {
    const QString datei = dir() + "protokoll.TXT";
    ui.answerModal([&](QDialog& d) {
        auto& w = dynamic_cast<TProtokoll&>(d);
        w.show();
        const QAbstractItemModel* m = w.Grid_Protokoll->model();
        EXPECT_EQ(m->rowCount(), 3);
        EXPECT_EQ(m->headerData(7, Qt::Horizontal).toString(), "Betrag");
        // newest first: the change, its amount marked and its old value told
        EXPECT_EQ(m->index(0, 2).data().toString(), "geändert");
        EXPECT_EQ(m->index(0, 7).data().toString(), "240,00");
        EXPECT_TRUE(m->index(0, 7).data(Protokollliste::GeaendertRolle).toBool());
        EXPECT_TRUE(m->index(0, 7).data(Qt::BackgroundRole).isValid());
        EXPECT_FALSE(m->index(0, 6).data(Qt::BackgroundRole).isValid());
        EXPECT_EQ(m->index(0, 7).data(Qt::ToolTipRole).toString(), "vorher: 120,00");
        EXPECT_EQ(m->index(0, 16).data().toString(),
                  "Betrag: 120,00; Steuerbuchungen: 1020: 20,00");
        EXPECT_FALSE(m->index(1, 7).data(Qt::BackgroundRole).isValid());

        w.Edit_Buchung->setText("1");
        w.FilterClick();
        EXPECT_EQ(m->rowCount(), 2);
        w.Edit_Von->setText("11.12.2026");
        w.FilterClick();
        EXPECT_EQ(m->rowCount(), 0);
        w.Edit_Von->setText("31.02.2026");
        w.FilterClick();
        EXPECT_EQ(m->rowCount(), 0) << "a bad date leaves the list as it was";
        w.Edit_Von->clear();
        w.Edit_Buchung->clear();
        w.FilterClick();
        EXPECT_EQ(m->rowCount(), 3);

        ui.answerModal([](QDialog& d) {
            auto& s = dynamic_cast<Tfrm_Selection&>(d);
            // the tab-separated text instead of the preselected workbook
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
        w.ExportClick();
        w.hide();
        return int(QDialog::Rejected);
    });
    befehle->Aenderungsprotokoll1Click();
    EXPECT_EQ(ui.pending(), 0u);
    EXPECT_EQ(ui.texts("message"), QStringList{"'31.02.2026' ist kein gültiges Datum."});
    QFile f(datei);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QString text = QString::fromLatin1(f.readAll());
    EXPECT_NE(text.indexOf("geändert\t1\t02.03.2026"), -1) << text.toStdString();
    EXPECT_NE(text.indexOf("Betrag: 120,00"), -1);
}

} // namespace
