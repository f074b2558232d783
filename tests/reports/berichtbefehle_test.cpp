#include "bookings/buchungsschreiber.h"
#include "data/buchung.h"
#include "fixture.h"
#include "reportengine/pagepainter.h"
#include "reportengine/previewwindow.h"
#include "reports/berichtbefehle.h"
#include "reports/tmonatsauswahl.h"

#include <QCheckBox>
#include <QRadioButton>

namespace {

class BerichtBefehleTest : public VelmoraFixture {
protected:
    void SetUp() override {
        VelmoraFixture::SetUp();
        ersterMandant(QStringLiteral("Huber KG"), 2026);
        befehle = std::make_unique<BerichtBefehle>(*umgebung, nullptr);
    }
    void einnahme(const QDate& datum, const char* betrag) {
        Buchung b;
        b.mandant = dm->gibMandant();
        b.Wirtschaftsjahr = dm->gibZeitraum();
        b.Buchungsdatum = datum;
        b.Betrag = *Currency::parse(QString::fromLatin1(betrag));
        b.Steuersatz = 20;
        if (!bk)
            bk = kreis(dm->gibMandant(), QStringLiteral("Allgemein"), QStringLiteral("A"));
        b.BK = bk;
        Buchungsschreiber(*dm).neueBuchungSpeichern(b, Belegnummernwahl::Naechste);
    }
    int bk = 0;
    // Shows the period dialog as the program would and picks a code.
    void periode(int code, bool* exportSichtbar = nullptr) {
        ui.answerModal([code, exportSichtbar](QDialog& d) {
            auto& auswahl = dynamic_cast<TMonatsAuswahl&>(d);
            auswahl.show();
            EXPECT_TRUE(auswahl.RadioButton(17)->isChecked());
            if (exportSichtbar)
                *exportSichtbar = auswahl.CheckBox_export->isVisible();
            auswahl.RadioButton(code)->click();
            auswahl.hide();
            return static_cast<int>(QDialog::Accepted);
        });
    }
    std::unique_ptr<BerichtBefehle> befehle;
};

TEST_F(BerichtBefehleTest, ThePeriodChosenIsPreviewed) {
    einnahme(QDate(2026, 3, 31), "1200");
    einnahme(QDate(2026, 4, 1), "600");
    bool exportSichtbar = true;
    periode(3, &exportSichtbar);
    QStringList zeilen;
    ui.answerModal([&zeilen](QDialog& d) {
        auto& vorschau = dynamic_cast<reportengine::PreviewWindow&>(d);
        zeilen = reportengine::textLines(vorschau.model());
        EXPECT_EQ(vorschau.windowTitle(), "Umsatzsteuerverprobung März 2026");
        return 0;
    });
    befehle->USTVerprobung1Click();
    EXPECT_FALSE(exportSichtbar);
    ASSERT_GE(zeilen.size(), 4);
    EXPECT_EQ(zeilen[1], "März 2026");
    EXPECT_EQ(zeilen[3], "Erlöse 20%\t\t1.000,00\t200,00");
    EXPECT_EQ(zeilen.last(), "Zahllast\t200,00");
    EXPECT_EQ(ui.pending(), 0u);
}

TEST_F(BerichtBefehleTest, CancelNoPostingsAndFailures) {
    ui.answerModal([](QDialog&) { return static_cast<int>(QDialog::Rejected); });
    befehle->USTVerprobung1Click();
    EXPECT_TRUE(ui.texts("message").isEmpty());

    periode(5);
    befehle->USTVerprobung1Click();
    EXPECT_EQ(ui.texts("message"),
              QStringList({"Es gibt für diesen Zeitraum (noch) keine Einnahmen!"}));

    einnahme(QDate(2026, 5, 2), "120");
    dm->db().execute(QStringLiteral("alter table T_Buchungen rename column IstGebaeude to x"));
    periode(5);
    befehle->USTVerprobung1Click(); // no preview is shown: no modal answer needed
    ASSERT_EQ(ui.texts("error").size(), 1);
    EXPECT_TRUE(ui.texts("error")[0].startsWith(
        "Die Umsatzsteuerverprobung konnte nicht erstellt werden.\r"));
    EXPECT_EQ(ui.pending(), 0u);
}

} // namespace
