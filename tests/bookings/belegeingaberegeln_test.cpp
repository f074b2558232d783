#include "bookings/belegeingaberegeln.h"
#include "data/buchung.h"

#include <QString>
#include <gtest/gtest.h>
#include <vector>

namespace {

using S = Belegeingaberegeln;

// Boxes as a word: E A U D K G for ticked Einnahme, Ausgabe, EU, Drittland,
// KFZ, Gebaeude, "-" for clear; then "+" when the flags are available.
std::string zustand(const Belegeingaberegeln& r) {
    std::string s;
    const char* zeichen = "EAUDKG";
    for (int i = 0; i < 6; ++i)
        s += r.an(static_cast<S::Schalter>(i)) ? zeichen[i] : '-';
    s += r.flagsVerfuegbar() ? '+' : ' ';
    return s;
}

struct Fall {
    const char* name;
    int start; // IstEinnahme the booking opens with
    std::vector<std::pair<S::Schalter, bool>> schritte;
    std::string erwartet;
    const char* label;
    std::optional<int> satz; // rate set by the rules
};

} // namespace

TEST(Belegeingaberegeln, RulesRunOnChangesOfState) {
    const Fall faelle[] = {
        {"income opens", 1, {}, "E----- ", "Brutto", std::nullopt},
        {"expense opens", 2, {}, "-A----+", "Brutto", std::nullopt},
        {"Einnahme cleared ticks Ausgabe", 1, {{S::Einnahme, false}}, "-A----+", "Brutto", {}},
        {"Ausgabe cleared ticks Einnahme", 2, {{S::Ausgabe, false}}, "E----- ", "Brutto", {}},
        {"EU ticked", 2, {{S::EU, true}}, "-AU---+", "(Netto)", 20},
        {"EU then Drittland", 2, {{S::EU, true}, {S::Drittland, true}}, "-A-D--+", "(Brutto)", 0},
        {"Drittland then EU", 2, {{S::Drittland, true}, {S::EU, true}}, "-AU---+", "(Netto)", 20},
        {"EU cleared", 2, {{S::EU, true}, {S::EU, false}}, "-A----+", "(Brutto)", 20},
        {"KFZ and Gebaeude exclude",
         2,
         {{S::KFZ, true}, {S::Gebaeude, true}},
         "-A---G+",
         "Brutto",
         {}},
        {"Gebaeude then KFZ", 2, {{S::Gebaeude, true}, {S::KFZ, true}}, "-A--K-+", "Brutto", {}},
        {"EU clears KFZ", 2, {{S::KFZ, true}, {S::EU, true}}, "-AU---+", "(Netto)", 20},
        {"Drittland clears Gebaeude",
         2,
         {{S::Gebaeude, true}, {S::Drittland, true}},
         "-A-D--+",
         "Brutto",
         0},
        {"KFZ after EU keeps EU", 2, {{S::EU, true}, {S::KFZ, true}}, "-AU-K-+", "(Netto)", 20},
        {"Gebaeude after Drittland keeps it",
         2,
         {{S::Drittland, true}, {S::Gebaeude, true}},
         "-A-D-G+",
         "Brutto",
         0},
        {"Einnahme clears and disables the flags",
         2,
         {{S::KFZ, true}, {S::Einnahme, true}},
         "E----- ",
         "Brutto",
         {}},
        {"Einnahme on an EU expense",
         2,
         {{S::EU, true}, {S::Einnahme, true}},
         "E----- ",
         "(Brutto)",
         20},
        {"no flag on an income", 1, {{S::EU, true}, {S::KFZ, true}}, "E----- ", "Brutto", {}},
        {"ticking a ticked box runs nothing",
         2,
         {{S::EU, true}, {S::Drittland, true}, {S::Drittland, true}},
         "-A-D--+",
         "(Brutto)",
         0},
        {"clearing a clear box runs nothing", 2, {{S::EU, false}}, "-A----+", "Brutto", {}},
    };
    for (const Fall& f : faelle) {
        Belegeingaberegeln r;
        r.setzen(f.start == 1 ? S::Einnahme : S::Ausgabe, true);
        r.nimmSteuersatz();
        for (const auto& [s, an] : f.schritte)
            r.setzen(s, an);
        EXPECT_EQ(zustand(r), f.erwartet) << f.name;
        EXPECT_EQ(r.bruttoNetto().toStdString(), f.label) << f.name;
        EXPECT_EQ(r.nimmSteuersatz(), f.satz) << f.name;
        EXPECT_EQ(r.nimmSteuersatz(), std::nullopt) << f.name; // once
    }
}

TEST(Belegeingaberegeln, LoadingAStoredBookingRunsNoRule) {
    Buchung b;
    b.IstEinnahme = 2;
    b.IstEU = 1;
    b.Steuersatz = 10;
    Belegeingaberegeln r;
    r.laden(b);
    EXPECT_EQ(zustand(r), "-AU---+");
    EXPECT_EQ(r.bruttoNetto().toStdString(), "(Netto)");
    EXPECT_EQ(r.nimmSteuersatz(), std::nullopt); // the stored rate 10 stands

    b = Buchung{};
    r.laden(b);
    EXPECT_EQ(zustand(r), "E----- ");

    Buchung raus;
    r.setzen(S::Einnahme, false);
    r.setzen(S::Drittland, true);
    r.setzen(S::KFZ, true);
    r.uebernehmen(raus);
    EXPECT_EQ(raus.IstEinnahme, 2);
    EXPECT_EQ(raus.IstDrittland, 1);
    EXPECT_EQ(raus.IstKFZ, 1);
    EXPECT_EQ(raus.IstEU, 2);
    EXPECT_EQ(raus.IstGebaeude, 2);
}

TEST(Belegeingaberegeln, AFreshModelHasNeitherKind) {
    Belegeingaberegeln r;
    EXPECT_EQ(zustand(r), "------ ");
    EXPECT_EQ(r.bruttoNetto().toStdString(), "Brutto");
    Buchung b;
    r.uebernehmen(b);
    EXPECT_EQ(b.IstEinnahme, 2); // an empty choice is an expense, as the postings read it
}

// Reverse charge (R) and construction (B) exclude each other, EU and
// Drittland; both take the net amount and propose 20.
TEST(Belegeingaberegeln, ReverseChargeAndConstructionBoxes) {
    const auto voll = [](const Belegeingaberegeln& r) {
        std::string s = zustand(r);
        s += r.an(S::ReverseCharge) ? 'R' : '-';
        s += r.an(S::Bauleistung) ? 'B' : '-';
        return s;
    };
    const Fall faelle[] = {
        {"RC ticked", 2, {{S::ReverseCharge, true}}, "-A----+R-", "(Netto)", 20},
        {"Bau ticked", 2, {{S::Bauleistung, true}}, "-A----+-B", "(Netto)", 20},
        {"RC then Bau",
         2,
         {{S::ReverseCharge, true}, {S::Bauleistung, true}},
         "-A----+-B",
         "(Netto)",
         20},
        {"EU then RC", 2, {{S::EU, true}, {S::ReverseCharge, true}}, "-A----+R-", "(Netto)", 20},
        {"RC then EU", 2, {{S::ReverseCharge, true}, {S::EU, true}}, "-AU---+--", "(Netto)", 20},
        {"Bau then Drittland",
         2,
         {{S::Bauleistung, true}, {S::Drittland, true}},
         "-A-D--+--",
         "(Brutto)",
         0},
        {"Drittland then Bau",
         2,
         {{S::Drittland, true}, {S::Bauleistung, true}},
         "-A----+-B",
         "(Netto)",
         20},
        {"RC clears KFZ",
         2,
         {{S::KFZ, true}, {S::ReverseCharge, true}},
         "-A----+R-",
         "(Netto)",
         20},
        {"RC cleared",
         2,
         {{S::ReverseCharge, true}, {S::ReverseCharge, false}},
         "-A----+--",
         "(Brutto)",
         20},
        {"Einnahme clears Bau",
         2,
         {{S::Bauleistung, true}, {S::Einnahme, true}},
         "E----- --",
         "(Brutto)",
         20},
        {"not on an income", 1, {{S::ReverseCharge, true}}, "E----- --", "Brutto", {}},
    };
    for (const Fall& f : faelle) {
        Belegeingaberegeln r;
        r.setzen(f.start == 1 ? S::Einnahme : S::Ausgabe, true);
        r.nimmSteuersatz();
        for (const auto& [s, an] : f.schritte)
            r.setzen(s, an);
        EXPECT_EQ(voll(r), f.erwartet) << f.name;
        EXPECT_EQ(r.bruttoNetto().toStdString(), f.label) << f.name;
        EXPECT_EQ(r.nimmSteuersatz(), f.satz) << f.name;
    }

    // stored as an acquisition with its kind, and loaded back into its own box
    for (const int art : {steuerschuld::ReverseCharge, steuerschuld::Bauleistung}) {
        Belegeingaberegeln r;
        r.setzen(S::Ausgabe, true);
        r.setzen(art == steuerschuld::ReverseCharge ? S::ReverseCharge : S::Bauleistung, true);
        Buchung b;
        r.uebernehmen(b);
        EXPECT_EQ(b.IstEU, 1);
        EXPECT_EQ(b.Steuerschuld, art);
        Belegeingaberegeln geladen;
        geladen.laden(b);
        EXPECT_EQ(voll(geladen), voll(r));
        EXPECT_EQ(geladen.bruttoNetto().toStdString(), "(Netto)");
        geladen.setzen(S::EU, true);
        geladen.uebernehmen(b);
        EXPECT_EQ(b.IstEU, 1);
        EXPECT_EQ(b.Steuerschuld, std::nullopt);
    }
}
