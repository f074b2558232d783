#include "reports/anlagen.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

using anlagen::Anlage;
using anlagen::Art;

Currency eur(const char* text) {
    return *Currency::parse(QString::fromUtf8(text));
}

Anlage anlage(const QDate& datum, const char* kosten, int nutzungsdauer) {
    Anlage a;
    a.anschaffung = datum;
    a.kosten = eur(kosten);
    a.nutzungsdauer = nutzungsdauer;
    return a;
}

// One year of an asset: book value at the start, disposal, depreciation, at the end.
struct Soll {
    int jahr;
    const char* beginn;
    const char* abgang;
    const char* afa;
    const char* ende;
};

void pruefeJahre(const Anlage& a, const std::vector<Soll>& jahre) {
    for (const Soll& s : jahre) {
        SCOPED_TRACE(s.jahr);
        const anlagen::Jahr j = anlagen::rechnen(a, s.jahr);
        EXPECT_TRUE(j.vorhanden);
        EXPECT_EQ(j.buchwertBeginn.format(), s.beginn);
        EXPECT_EQ(j.abgang.format(), s.abgang);
        EXPECT_EQ(j.afa.format(), s.afa);
        EXPECT_EQ(j.buchwertEnde.format(), s.ende);
        // each line balances: start + cost of the year - disposal - depreciation = end
        const Currency zugang = s.jahr == a.anschaffung.year() ? a.kosten : Currency();
        EXPECT_EQ(j.buchwertBeginn + zugang - j.abgang - j.afa, j.buchwertEnde);
    }
}

TEST(Anlagen, LinearFullYearWhenBoughtInTheFirstHalfHalfOtherwise) {
    // 3.000,00 over 3 years: 1.000,00 a year
    pruefeJahre(anlage({2024, 3, 15}, "3000", 3),
                {{2024, "0,00", "0,00", "1.000,00", "2.000,00"},
                 {2025, "2.000,00", "0,00", "1.000,00", "1.000,00"},
                 {2026, "1.000,00", "0,00", "1.000,00", "0,00"},
                 {2027, "0,00", "0,00", "0,00", "0,00"}});
    // from 01.07 half a year first, the rest in a fourth year
    pruefeJahre(anlage({2024, 7, 1}, "3000", 3),
                {{2024, "0,00", "0,00", "500,00", "2.500,00"},
                 {2025, "2.500,00", "0,00", "1.000,00", "1.500,00"},
                 {2026, "1.500,00", "0,00", "1.000,00", "500,00"},
                 {2027, "500,00", "0,00", "500,00", "0,00"}});
    // 30.06 is still the first half
    EXPECT_EQ(anlagen::rechnen(anlage({2024, 6, 30}, "3000", 3), 2024).afa.format(), "1.000,00");
    EXPECT_FALSE(anlagen::rechnen(anlage({2024, 6, 30}, "3000", 3), 2023).vorhanden);
}

TEST(Anlagen, RoundedOnceHalfUpAndTheLastYearTakesTheRest) {
    // 2.000,10 / 4 = 500,025 -> 500,03; last year 2.000,10 - 3 x 500,03 = 500,01
    pruefeJahre(anlage({2024, 1, 2}, "2000,10", 4), {{2024, "0,00", "0,00", "500,03", "1.500,07"},
                                                     {2026, "1.000,04", "0,00", "500,03", "500,01"},
                                                     {2027, "500,01", "0,00", "500,01", "0,00"}});
    // half a year: 2.000,10 / 4 / 2 = 250,0125 -> 250,01 (not half of 500,03)
    EXPECT_EQ(anlagen::rechnen(anlage({2024, 8, 20}, "2000,10", 4), 2024).afa.format(), "250,01");
}

TEST(Anlagen, DisposalInTheFirstHalfHalfAYearInTheSecondTheFullYear) {
    Anlage a = anlage({2024, 2, 10}, "4000", 4);
    a.abgang = QDate(2026, 6, 30);
    pruefeJahre(a, {{2025, "3.000,00", "0,00", "1.000,00", "2.000,00"},
                    {2026, "2.000,00", "1.500,00", "500,00", "0,00"}});
    EXPECT_FALSE(anlagen::rechnen(a, 2027).vorhanden);
    a.abgang = QDate(2026, 7, 1);
    pruefeJahre(a, {{2026, "2.000,00", "1.000,00", "1.000,00", "0,00"}});
    // bought and sold within six months: half a year
    Anlage kurz = anlage({2024, 2, 10}, "4000", 4);
    kurz.abgang = QDate(2024, 8, 10);
    pruefeJahre(kurz, {{2024, "0,00", "3.500,00", "500,00", "0,00"}});
}

TEST(Anlagen, LowValueAssetsAreWrittenOffInTheirYear) {
    pruefeJahre(anlage({2023, 5, 10}, "1000", 4), {{2023, "0,00", "0,00", "1.000,00", "0,00"},
                                                   {2024, "0,00", "0,00", "0,00", "0,00"}});
    // one cent more is depreciated: 1.000,01 / 4 = 250,0025 -> 250,00
    pruefeJahre(anlage({2023, 5, 10}, "1000,01", 4), {{2023, "0,00", "0,00", "250,00", "750,01"},
                                                      {2026, "250,01", "0,00", "250,01", "0,00"}});
    // before 2023 the limit was 800,00
    pruefeJahre(anlage({2022, 12, 31}, "800", 2), {{2022, "0,00", "0,00", "800,00", "0,00"}});
    // 800,01 bought in the second half: 800,01 / 2 / 2 = 200,0025 -> 200,00
    pruefeJahre(anlage({2022, 12, 31}, "800,01", 2), {{2022, "0,00", "0,00", "200,00", "600,01"},
                                                      {2023, "600,01", "0,00", "400,01", "200,00"},
                                                      {2024, "200,00", "0,00", "200,00", "0,00"}});
}

TEST(Anlagen, DegressiveThenSwitchedToLinear) {
    Anlage a = anlage({2021, 3, 15}, "10000", 6);
    a.degressivSatz = 30;
    a.linearAb = 2025;
    ASSERT_FALSE(anlagen::pruefen(a));
    // 30 % of the book value for four years, then 2.401,00 over the two years left
    pruefeJahre(a, {{2021, "0,00", "0,00", "3.000,00", "7.000,00"},
                    {2022, "7.000,00", "0,00", "2.100,00", "4.900,00"},
                    {2023, "4.900,00", "0,00", "1.470,00", "3.430,00"},
                    {2024, "3.430,00", "0,00", "1.029,00", "2.401,00"},
                    {2025, "2.401,00", "0,00", "1.200,50", "1.200,50"},
                    {2026, "1.200,50", "0,00", "1.200,50", "0,00"}});
    // without the switch the last year of the life takes the rest
    a.linearAb.reset();
    pruefeJahre(a, {{2025, "2.401,00", "0,00", "720,30", "1.680,70"},
                    {2026, "1.680,70", "0,00", "1.680,70", "0,00"}});
    // bought in the second half: half of 30 %
    Anlage spaet = anlage({2021, 9, 1}, "10000", 6);
    spaet.degressivSatz = 30;
    pruefeJahre(spaet, {{2021, "0,00", "0,00", "1.500,00", "8.500,00"},
                        {2022, "8.500,00", "0,00", "2.550,00", "5.950,00"}});
}

TEST(Anlagen, DegressiveRefusedWhereTheLawExcludesIt) {
    struct Fall {
        Art art;
        bool gebraucht;
        QDate datum;
        int satz;
        bool erlaubt;
    };
    const std::vector<Fall> faelle = {
        {Art::Sonstig, false, {2020, 7, 1}, 30, true},
        {Art::PkwEmissionsfrei, false, {2024, 1, 1}, 30, true},
        {Art::Sonstig, false, {2024, 1, 1}, 31, false},
        {Art::Sonstig, false, {2020, 6, 30}, 30, false},
        {Art::Pkw, false, {2024, 1, 1}, 30, false},
        {Art::Gebaeude, false, {2024, 1, 1}, 10, false},
        {Art::Firmenwert, false, {2024, 1, 1}, 10, false},
        {Art::Sonstig, true, {2024, 1, 1}, 20, false},
    };
    for (const Fall& f : faelle) {
        Anlage a = anlage(f.datum, "50000", 8);
        a.art = f.art;
        a.gebraucht = f.gebraucht;
        a.degressivSatz = f.satz;
        SCOPED_TRACE(static_cast<int>(f.art) * 1000 + f.satz);
        EXPECT_EQ(!anlagen::pruefen(a).has_value(), f.erlaubt);
    }
    // a car bought linearly is fine
    Anlage pkw = anlage({2024, 1, 1}, "50000", 8);
    pkw.art = Art::Pkw;
    EXPECT_FALSE(anlagen::pruefen(pkw));
    EXPECT_EQ(*anlagen::pruefen([] {
        Anlage a = anlage({2024, 1, 1}, "50000", 8);
        a.art = Art::Pkw;
        a.degressivSatz = 30;
        return a;
    }()),
              "Ein PKW wird nur emissionsfrei degressiv abgeschrieben.");
}

} // namespace
