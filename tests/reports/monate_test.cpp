#include "auswertungtest.h"
#include "reports/einaus.h"
#include "reports/monate.h"
#include "reports/trep_einaus.h"
#include "reports/trep_monate.h"

namespace {

using reportengine::BandKind;

class MonateTest : public AuswertungTest {
protected:
    void jahr() {
        buche({
            {"10.01.2026", "1200", 20},
            {"20.01.2026", "240", 20, false, false, false, einkauf},
            {"14.02.2026", "1000", 20, false, true, false, einkauf}, // acquired: net 1.000
            {"05.03.2026", "550", 10},
            {"31.03.2026", "96,40", 0, false, false, true, einkauf}, // import: net 0
            {"01.04.2026", "120", 20},
        });
    }
};

TEST_F(MonateTest, MonthsByHandAndTheYearsResultIsTheCircleEvaluations) {
    jahr();
    const monate::Uebersicht u = monate::lesen(*dm);
    EXPECT_EQ(u.jahr, 2026);
    EXPECT_FALSE(u.vorjahr.has_value());
    EXPECT_EQ(u.ergebnis.formatMaske("#,##0.00"), "400,00");

    T_RepDaten daten;
    TRep_Monate rep(daten);
    const reportengine::PageModel m = monate::erzeugen(*dm, rep, daten);
    ASSERT_EQ(m.pages.size(), 1u);
    EXPECT_GT(m.paperSize.width(), m.paperSize.height());
    EXPECT_EQ(zeilenDer(m, BandKind::PageHeader),
              QStringList({"Monatsübersicht\tTischlerei Huber\tSeite 1 von 1", "Jahr 2026",
                           "Monat\tEinnahmen netto\tAusgaben netto\tErgebnis\tKumuliert"}));
    EXPECT_EQ(
        zeilenDer(m, BandKind::Detail),
        QStringList({"Jänner\t1.000,00\t200,00\t800,00\t800,00",
                     "Februar\t0,00\t1.000,00\t-1.000,00\t-200,00",
                     "März\t500,00\t0,00\t500,00\t300,00", "April\t100,00\t0,00\t100,00\t400,00",
                     "Mai\t0,00\t0,00\t0,00\t400,00", "Juni\t0,00\t0,00\t0,00\t400,00",
                     "Juli\t0,00\t0,00\t0,00\t400,00", "August\t0,00\t0,00\t0,00\t400,00",
                     "September\t0,00\t0,00\t0,00\t400,00", "Oktober\t0,00\t0,00\t0,00\t400,00",
                     "November\t0,00\t0,00\t0,00\t400,00", "Dezember\t0,00\t0,00\t0,00\t400,00"}));
    EXPECT_EQ(zeilenDer(m, BandKind::Summary), QStringList({"Summe\t1.600,00\t1.200,00\t400,00"}));

    T_RepDaten kreise;
    TRep_EinAus repKreise(kreise);
    EXPECT_EQ(reportengine::textLines(einaus::auswertungErzeugen(*dm, repKreise, kreise, 0)).last(),
              "Ergebnis\t400,00\t533,60");

    // the chart stands right of the columns, drawn
    ASSERT_EQ(m.pages[0].images.size(), 1u);
    const reportengine::PageImage& bild = m.pages[0].images[0];
    EXPECT_GT(bild.rect.left(), 150.0);
    EXPECT_LE(bild.rect.right(), 287.0);
    ASSERT_FALSE(bild.image.isNull());
    int dunkel = 0;
    for (int y = 0; y < bild.image.height(); y += 7) {
        for (int x = 0; x < bild.image.width(); x += 7)
            dunkel += qGray(bild.image.pixel(x, y)) < 128 ? 1 : 0;
    }
    EXPECT_GT(dunkel, 100);
}

TEST_F(MonateTest, ThePreviousFiscalYearGivesItsCumulativeResult) {
    jahr();
    const int jetzt = zeitraum;
    zeitraum = dm->zeitraumAnlegen(mandant, 2025);
    buche(Beleg{"15.06.2025", "240", 20});
    buche(Beleg{"02.11.2025", "60", 20, false});
    zeitraum = jetzt;
    const monate::Uebersicht u = monate::lesen(*dm);
    ASSERT_TRUE(u.vorjahr.has_value());
    QStringList vorjahr;
    for (const Currency& c : *u.vorjahr)
        vorjahr << c.formatMaske("#,##0.00");
    EXPECT_EQ(vorjahr, QStringList({"0,00", "0,00", "0,00", "0,00", "0,00", "200,00", "200,00",
                                    "200,00", "200,00", "200,00", "150,00", "150,00"}));
    // the year itself is untouched by the other year's bookings
    EXPECT_EQ(u.ergebnis.formatMaske("#,##0.00"), "400,00");
}

} // namespace
