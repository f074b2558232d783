#include "bookings/steuerbuchungen.h"
#include "data/buchung.h"

#include <gtest/gtest.h>

namespace {

Buchung beleg(const char* betrag, int satz, int einnahme, int eu = 2, int dritt = 2) {
    Buchung b;
    b.Betrag = *Currency::parse(QString::fromLatin1(betrag));
    b.Steuersatz = satz;
    b.IstEinnahme = einnahme;
    b.IstEU = eu;
    b.IstDrittland = dritt;
    return b;
}

// Postings as stored: account and currency units of the rounded double.
std::vector<std::pair<int, std::int64_t>> gespeichert(const Buchung& b) {
    std::vector<std::pair<int, std::int64_t>> r;
    for (const Steuerbuchung& s : SteuerbuchungenAbleiten(b))
        r.emplace_back(s.Konten_Nr, Currency::fromDouble(s.St_Betrag)->units());
    return r;
}

struct Fall {
    const char* name;
    Buchung buchung;
    std::vector<std::pair<int, std::int64_t>> erwartet;
};

} // namespace

TEST(SteuerBuchen, WorkedValuesToTheCent) {
    const Fall faelle[] = {
        {"Einnahme 120 zu 20", beleg("120,00", 20, 1), {{1020, 200000}}},
        {"Ausgabe 100 zu 20", beleg("100,00", 20, 2), {{2020, 166700}}},
        {"Ausgabe 50 zu 10", beleg("50,00", 10, 2), {{2010, 45500}}},
        {"Einnahme 100 zu 13", beleg("100,00", 13, 1), {{1013, 115000}}},
        {"Einnahme 80 zu 0", beleg("80,00", 0, 1), {{1000, 0}}},
        {"binary 0.025 rounds down", beleg("0,15", 20, 1), {{1020, 200}}},
        {"binary 0.005 rounds down", beleg("0,03", 20, 1), {{1020, 0}}},
        {"ig Erwerb 1000", beleg("1000,00", 20, 2, 1), {{1021, 2000000}, {2021, 2000000}}},
        {"ig Erwerb 333.33", beleg("333,33", 20, 2, 1), {{1021, 666700}, {2021, 666700}}},
        {"Einfuhr 250.55", beleg("250,55", 13, 2, 2, 1), {{3000, 2505500}}},
        // a quotient in double would land on .5 and go to even: a cent off
        {"binary 16.73499.. rounds down", beleg("100,41", 20, 1), {{1020, 167300}}},
        {"binary 16.76500.. rounds up", beleg("100,59", 20, 1), {{1020, 167700}}},
        {"binary 0.01499.. rounds down", beleg("0,09", 20, 1), {{1020, 100}}},
        {"ig Erwerb 10.05499..", beleg("100,55", 10, 2, 1), {{1021, 100500}, {2021, 100500}}},
    };
    for (const Fall& f : faelle)
        EXPECT_EQ(gespeichert(f.buchung), f.erwartet) << f.name;
}

TEST(SteuerBuchen, ClassificationOrder) {
    struct K {
        int einnahme, eu, dritt;
        Buchungsart art;
    };
    const K faelle[] = {
        {1, 1, 2, Buchungsart::Einnahme}, // an income ignores the flags
        {1, 2, 1, Buchungsart::Einnahme}, {2, 1, 1, Buchungsart::Einfuhr},
        {2, 1, 2, Buchungsart::IgErwerb}, {2, 2, 2, Buchungsart::Ausgabe},
        {0, 0, 0, Buchungsart::Ausgabe}, // anything but 1 is no: an expense
        {2, 2, 1, Buchungsart::Einfuhr},
    };
    for (const K& k : faelle)
        EXPECT_EQ(klassifiziere(k.einnahme, k.eu, k.dritt), k.art)
            << k.einnahme << "/" << k.eu << "/" << k.dritt;
}

TEST(SteuerBuchen, EdgeCasesOfTheKinds) {
    // income with IstEU = 1 is posted as income
    EXPECT_EQ(gespeichert(beleg("120,00", 20, 1, 1)),
              (std::vector<std::pair<int, std::int64_t>>{{1020, 200000}}));
    // expense with both flags: import only, the whole amount
    EXPECT_EQ(gespeichert(beleg("99,99", 20, 2, 1, 1)),
              (std::vector<std::pair<int, std::int64_t>>{{3000, 999900}}));
    // rate 0 expense still has its posting with 0
    EXPECT_EQ(gespeichert(beleg("42,00", 0, 2)),
              (std::vector<std::pair<int, std::int64_t>>{{2000, 0}}));
    // import at rate 20 ignores the rate
    EXPECT_EQ(gespeichert(beleg("250,55", 20, 2, 2, 1)),
              (std::vector<std::pair<int, std::int64_t>>{{3000, 2505500}}));
    // intra-community at rate 10: amount x 10 / 100, accounts independent of the rate
    EXPECT_EQ(gespeichert(beleg("500,00", 10, 2, 1)),
              (std::vector<std::pair<int, std::int64_t>>{{1021, 500000}, {2021, 500000}}));
    // a credit yields the same tax with negative sign
    EXPECT_EQ(gespeichert(beleg("-120,00", 20, 1)),
              (std::vector<std::pair<int, std::int64_t>>{{1020, -200000}}));
}

TEST(SteuerBuchen, Round2TakesTheNearestCentOfTheBinaryValue) {
    EXPECT_EQ(round2(2.675), 2.67);   // binary 2.67499..: down, though x / 0.01 in double is 267.5
    EXPECT_EQ(round2(16.765), 16.77); // binary 16.76500..: up, not to the even 16.76
    EXPECT_EQ(round2(-16.765), -16.77);
    EXPECT_EQ(round2(-16.666666666666657), -16.67);
    EXPECT_EQ(round2(1.005), 1.0); // binary below the half
    // an exact binary half cent: the double 0.01 lies above 0.01, the
    // quotient below the half
    EXPECT_EQ(round2(0.125), 0.12);
    EXPECT_EQ(round2(0.375), 0.37);
}

TEST(SteuerBuchen, RateAccounts) {
    EXPECT_EQ(steuerkontoFuer(Buchungsart::Einnahme, 20), 1020);
    EXPECT_EQ(steuerkontoFuer(Buchungsart::Ausgabe, 7), 2007);
    EXPECT_EQ(steuerkontoFuer(Buchungsart::IgErwerb, 20), std::nullopt);
    EXPECT_EQ(steuerkontoFuer(Buchungsart::Einfuhr, 15), std::nullopt);
}

namespace {

Buchung beleg49(const char* betrag, int einnahme, int eu = 2) {
    Buchung b = beleg(betrag, 20, einnahme, eu);
    b.Steuersatz = 4.9;
    return b;
}

} // namespace

// Worked by hand: income tax = B − B / 1,049, acquisition tax = N × 4,9 / 100.
// An income at 4,9 % never lies on a half cent (B × 49 / 1049 = odd / 200
// has no solution in whole cents), an acquisition does.
TEST(SteuerBuchen, TheRateOf4_9WorkedByHand) {
    const Fall faelle[] = {
        {"Einnahme 104,90: 104,90 / 1,049 = 100,00", beleg49("104,90", 1), {{1049, 49000}}},
        {"Einnahme 1.000,00: 46,7111..", beleg49("1000,00", 1), {{1049, 467100}}},
        {"Einnahme 10,00: 0,4671..", beleg49("10,00", 1), {{1049, 4700}}},
        {"Einnahme 20,00: 0,9342..", beleg49("20,00", 1), {{1049, 9300}}},
        {"Ausgabe 104,90", beleg49("104,90", 2), {{2049, 49000}}},
        {"ig Erwerb 1.000,00 netto: 49,00",
         beleg49("1000,00", 2, 1),
         {{1021, 490000}, {2021, 490000}}},
        // exactly 0,735: 15 / 100 and 4,9 are binary 0,1499.. and 4,9000..04; their
        // product rounds to the double 0,73499..987, so the routine gives 0,73 where
        // commercial rounding of the decimal value would give 0,74
        {"ig Erwerb 15,00 netto: 0,735", beleg49("15,00", 2, 1), {{1021, 7300}, {2021, 7300}}},
        // exactly 0,245 and 1,225: here the binary product lies above the half,
        // so routine and commercial rounding agree
        {"ig Erwerb 5,00 netto: 0,245", beleg49("5,00", 2, 1), {{1021, 2500}, {2021, 2500}}},
        {"ig Erwerb 25,00 netto: 1,225", beleg49("25,00", 2, 1), {{1021, 12300}, {2021, 12300}}},
    };
    for (const Fall& f : faelle)
        EXPECT_EQ(gespeichert(f.buchung), f.erwartet) << f.name;
    EXPECT_EQ(steuerkontoFuer(Buchungsart::Einnahme, 4.9), 1049);
    EXPECT_EQ(steuerkontoFuer(Buchungsart::Ausgabe, 4.9), 2049);
}

// Reverse charge and construction post as an acquisition does: the tax owed
// on 1021, the same amount deducted on 2021; a small business (016) owes it
// without the deduction.
TEST(SteuerBuchen, ReverseChargeAndConstruction) {
    struct R {
        const char* name;
        const char* netto;
        double satz;
        int art;
        bool kleinunternehmer;
        std::vector<std::pair<int, std::int64_t>> erwartet;
    };
    const R faelle[] = {
        {"Reverse Charge 500 zu 20",
         "500,00",
         20,
         steuerschuld::ReverseCharge,
         false,
         {{1021, 1000000}, {2021, 1000000}}},
        {"Bauleistung 2.000 zu 20",
         "2000,00",
         20,
         steuerschuld::Bauleistung,
         false,
         {{1021, 4000000}, {2021, 4000000}}},
        {"Reverse Charge 333,33 zu 10: 33,333",
         "333,33",
         10,
         steuerschuld::ReverseCharge,
         false,
         {{1021, 333300}, {2021, 333300}}},
        {"Bauleistung 10 % bei Kleinunternehmer",
         "1000,00",
         10,
         steuerschuld::Bauleistung,
         true,
         {{1021, 1000000}}},
    };
    for (const R& f : faelle) {
        Buchung b = beleg(f.netto, 20, 2, 1);
        b.Steuersatz = f.satz;
        b.Steuerschuld = f.art;
        std::vector<std::pair<int, std::int64_t>> r;
        for (const Steuerbuchung& s : SteuerbuchungenAbleiten(b, f.kleinunternehmer))
            r.emplace_back(s.Konten_Nr, Currency::fromDouble(s.St_Betrag)->units());
        EXPECT_EQ(r, f.erwartet) << f.name;
    }
    // an intra-community acquisition deducts also for a small business
    EXPECT_EQ(SteuerbuchungenAbleiten(beleg("100,00", 20, 2, 1), true).size(), 2u);
}
