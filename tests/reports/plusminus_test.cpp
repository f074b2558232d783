#include "auswertungtest.h"
#include "reports/plusminus.h"
#include "reports/trep_plusminus.h"

namespace {

struct Szenario {
    const char* name;
    // bk 0 "Erlöse", 1 "Einkauf", 2 a second circle named "Erlöse"
    std::vector<AuswertungTest::Beleg> belege;
    QStringList zeilen; // below the page header
};

class PlusMinusSzenario : public AuswertungTest, public ::testing::WithParamInterface<Szenario> {};

TEST_P(PlusMinusSzenario, LinesAndResult) {
    const Szenario& s = GetParam();
    const int zweite = kreis(mandant, QStringLiteral("Erlöse"), QStringLiteral("E2"));
    for (Beleg b : s.belege) {
        b.bk = b.bk == 1 ? einkauf : b.bk == 2 ? zweite : erloese;
        buche(b);
    }
    T_RepDaten daten;
    TRep_PlusMinus rep(daten);
    const QStringList zeilen = reportengine::textLines(plusminus::erzeugen(*dm, rep, daten));
    ASSERT_GE(zeilen.size(), 3) << s.name;
    EXPECT_EQ(zeilen.mid(0, 3),
              QStringList({"Plus - Minus Rechnung\tTischlerei Huber\tSeite 1 von 1", "Jahr 2026",
                           "Buchungskreis\tBruttoeinnahmen\tBruttoausgaben\tBrutto "
                           "+/-\tNettoeinnahmen\tNettoausgaben\tNetto +/-"}))
        << s.name;
    EXPECT_EQ(zeilen.mid(3), s.zeilen) << s.name << "\n" << zeilen.join('\n').toStdString();
    // the totals were reset: a second run shows the same
    EXPECT_EQ(reportengine::textLines(plusminus::erzeugen(*dm, rep, daten)), zeilen) << s.name;
}

using B = AuswertungTest::Beleg;

INSTANTIATE_TEST_SUITE_P(
    Faelle, PlusMinusSzenario,
    ::testing::Values(
        Szenario{"Einnahme und Ausgabe",
                 {B{"10.01.2026", "1200", 20}, B{"11.01.2026", "240", 20, false}},
                 {"Erlöse\t1.200,00\t240,00\t960,00\t1.000,00\t200,00\t800,00",
                  "Ergebnis\t1.200,00\t240,00\t960,00\t1.000,00\t200,00\t800,00"}},
        Szenario{"nur Ausgaben",
                 {B{"11.01.2026", "240", 20, false, false, false, 1}},
                 {"Einkauf\t0,00\t240,00\t-240,00\t0,00\t200,00\t-200,00",
                  "Ergebnis\t0,00\t240,00\t-240,00\t0,00\t200,00\t-200,00"}},
        Szenario{"innergemeinschaftlicher Erwerb",
                 {B{"11.01.2026", "1000", 20, false, true, false, 1}},
                 {"Einkauf\t0,00\t1.000,00\t-1.000,00\t0,00\t1.000,00\t-1.000,00",
                  "Ergebnis\t0,00\t1.000,00\t-1.000,00\t0,00\t1.000,00\t-1.000,00"}},
        Szenario{
            "Reverse Charge und Bauleistung wie der Erwerb",
            {B{"11.01.2026", "300", 20, false, true, false, 1, "", 0, steuerschuld::ReverseCharge},
             B{"12.01.2026", "500", 10, false, true, false, 1, "", 0, steuerschuld::Bauleistung}},
            {"Einkauf\t0,00\t800,00\t-800,00\t0,00\t800,00\t-800,00",
             "Ergebnis\t0,00\t800,00\t-800,00\t0,00\t800,00\t-800,00"}},
        // import VAT is input tax, not a cost: net 0
        Szenario{"Drittland",
                 {B{"11.01.2026", "150", 0, false, false, true, 1}},
                 {"Einkauf\t0,00\t150,00\t-150,00\t0,00\t0,00\t0,00",
                  "Ergebnis\t0,00\t150,00\t-150,00\t0,00\t0,00\t0,00"}},
        Szenario{"gleicher Name",
                 {B{"10.01.2026", "1200", 20}, B{"12.01.2026", "600", 20, true, false, false, 2}},
                 {"Erlöse\t1.800,00\t0,00\t1.800,00\t1.500,00\t0,00\t1.500,00",
                  "Ergebnis\t1.800,00\t0,00\t1.800,00\t1.500,00\t0,00\t1.500,00"}},
        Szenario{"Ergebnis ist die Spaltensumme",
                 {B{"10.01.2026", "1200", 20}, B{"11.01.2026", "480", 20, false, false, false, 1},
                  B{"12.01.2026", "1000", 20, false, true, false, 1}},
                 {"Einkauf\t0,00\t1.480,00\t-1.480,00\t0,00\t1.400,00\t-1.400,00",
                  "Erlöse\t1.200,00\t0,00\t1.200,00\t1.000,00\t0,00\t1.000,00",
                  "Ergebnis\t1.200,00\t1.480,00\t-280,00\t1.000,00\t1.400,00\t-400,00"}},
        Szenario{"ohne Buchungen", {}, {"Ergebnis\t0,00\t0,00\t0,00\t0,00\t0,00\t0,00"}}));

} // namespace
