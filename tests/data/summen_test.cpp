#include "data/summen.h"
#include "fixture.h"

#include <functional>

namespace {

// One client with its year 2026, a second year and a second client, each
// with one booking circle.
class SummenTest : public VelmoraFixture {
protected:
    void SetUp() override {
        VelmoraFixture::SetUp();
        ersterMandant();
        m = dm->gibMandant();
        z = dm->gibZeitraum();
        bk = kreis(m, "Allgemein", "A");
        vorjahr = dm->zeitraumAnlegen(m, 2025);
        anderer = dm->mandantAnlegen("Zweiter", false);
        andererZeitraum = dm->zeitraumAnlegen(anderer, 2026);
        andererKreis = kreis(anderer, "Allgemein", "A");
    }

    // The booking helpers of the fixture plus the postings the tax logic
    // would derive for them.
    void einnahme(int mandant, int zeitraum, int kreisId, const QString& betrag, int satz,
                  const QString& steuer) {
        const int b = buchung(mandant, zeitraum, "2026-03-01", betrag, satz, kreisId, true);
        bewegung(mandant, b, 1000 + satz, steuer);
    }
    void ausgabe(const QString& betrag, int satz, const QString& steuer) {
        const int b = buchung(m, z, "2026-03-01", betrag, satz, bk, false);
        bewegung(m, b, 2000 + satz, steuer);
    }
    void igErwerb(const QString& netto, const QString& steuer) {
        const int b = buchung(m, z, "2026-03-01", netto, 20, bk, false, 1, 2);
        bewegung(m, b, 1021, steuer);
        bewegung(m, b, 2021, steuer);
    }
    void drittland(const QString& betrag) {
        const int b = buchung(m, z, "2026-03-01", betrag, 20, bk, false, 2, 1);
        bewegung(m, b, 3000, betrag);
    }

    static QStringList texte(const Summen& s) {
        return {s.Einnahmen.formatEuro(), s.Ust.formatEuro(), s.Ausgaben.formatEuro(),
                s.Vst.formatEuro()};
    }

    int m = -1, z = -1, bk = -1, vorjahr = -1, anderer = -1, andererZeitraum = -1,
        andererKreis = -1;
};

TEST_F(SummenTest, EachKindOfBookingLandsInItsTotals) {
    struct Fall {
        const char* name;
        std::function<void()> buchen;
        QStringList erwartet; // Einnahmen, Ust, Ausgaben, Vst
    };
    const std::vector<Fall> faelle = {
        {"no bookings", [] {}, {"0,00 €", "0,00 €", "0,00 €", "0,00 €"}},
        {"income 120.00 at 20 %",
         [this] { einnahme(m, z, bk, "120,00", 20, "20,00"); },
         {"120,00 €", "20,00 €", "0,00 €", "0,00 €"}},
        {"expense 120.00 at 20 %",
         [this] { ausgabe("120,00", 20, "20,00"); },
         {"0,00 €", "0,00 €", "120,00 €", "20,00 €"}},
        // the acquisition tax owed is output tax, its deduction input tax, each once
        {"intra-community acquisition 100.00",
         [this] { igErwerb("100,00", "20,00"); },
         {"0,00 €", "20,00 €", "100,00 €", "20,00 €"}},
        {"third-country import 50.00",
         [this] { drittland("50,00"); },
         {"0,00 €", "0,00 €", "0,00 €", "50,00 €"}},
        {"other client and other year",
         [this] {
             einnahme(anderer, andererZeitraum, andererKreis, "500,00", 20, "83,33");
             einnahme(m, vorjahr, bk, "700,00", 20, "116,67");
         },
         {"0,00 €", "0,00 €", "0,00 €", "0,00 €"}},
        // the lists leave it out, the totals do not
        {"booking whose circle is missing",
         [this] { einnahme(m, z, 999, "60,00", 20, "10,00"); },
         {"60,00 €", "10,00 €", "0,00 €", "0,00 €"}},
        {"thousands and cents add up exactly",
         [this] {
             einnahme(m, z, bk, "1.234.567,89", 0, "0");
             einnahme(m, z, bk, "0,11", 0, "0");
             ausgabe("0,01", 0, "0");
         },
         {"1.234.568,00 €", "0,00 €", "0,01 €", "0,00 €"}},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.name);
        SetUp(); // a fresh database for each case
        f.buchen();
        EXPECT_EQ(texte(SummenBerechnen(dm->db(), z, m)), f.erwartet);
    }
}

TEST_F(SummenTest, OutputMinusInputTaxIsTheYearsVatBalance) {
    einnahme(m, z, bk, "1.200,00", 20, "200,00");
    einnahme(m, z, bk, "110,00", 10, "10,00");
    ausgabe("240,00", 20, "40,00");
    igErwerb("300,00", "60,00");
    drittland("45,50");
    const Summen s = SummenBerechnen(dm->db(), z, m);
    EXPECT_EQ(texte(s), QStringList({"1.310,00 €", "270,00 €", "540,00 €", "145,50 €"}));

    // the VAT verification: revenue tax + acquisition tax - input tax
    // (2000 to 2999 without 2021) - import tax - acquisition tax deducted
    const auto summe = [this](const QString& bedingung) {
        return Currency::fromUnits(
            wert("select coalesce(sum(St_Betrag), 0) from t_kontenbewegungen where mandant = " +
                 QString::number(m) + " and " + bedingung)
                .toLongLong());
    };
    const Currency ust = summe("Konten_Nr < 2000 and Konten_Nr <> 1021");
    const Currency eu = summe("Konten_Nr = 1021");
    const Currency vst = summe("Konten_Nr between 2000 and 2999 and Konten_Nr <> 2021");
    const Currency einfuhr = summe("Konten_Nr = 3000");
    EXPECT_EQ(s.Ust - s.Vst, (ust + eu) - vst - einfuhr - eu);
}

TEST_F(SummenTest, ADeletedBookingLeavesBothItsTotals) {
    einnahme(m, z, bk, "120,00", 20, "20,00");
    const int b = buchung(m, z, "2026-04-01", "60,00", 20, bk, true);
    bewegung(m, b, 1020, "10,00");
    EXPECT_EQ(texte(SummenBerechnen(dm->db(), z, m))[0], "180,00 €");
    dm->db().execute("delete from T_Buchungen where ID = " + QString::number(b));
    dm->db().execute("delete from t_kontenbewegungen where Buchungen_id = " + QString::number(b));
    EXPECT_EQ(texte(SummenBerechnen(dm->db(), z, m)),
              QStringList({"120,00 €", "20,00 €", "0,00 €", "0,00 €"}));
}

TEST_F(SummenTest, HugeRowsFromEarlierVersionsNeverOverflowTheSum) {
    // 5e14 euro each: SQLite's own Sum stops at the second row with "integer overflow"
    for (const char* betrag : {"500000000000000", "500000000000000", "-500000000000000"})
        einnahme(m, z, bk, QLatin1String(betrag), 20, betrag);
    const Summen s = SummenBerechnen(dm->db(), z, m);
    EXPECT_EQ(s.Einnahmen.units(), 5'000'000'000'000'000'000LL);
    EXPECT_EQ(s.Ust.units(), 5'000'000'000'000'000'000LL);
    // beyond 64 bits a total cannot be shown: a message, never a wrong figure
    einnahme(m, z, bk, "500000000000000", 20, "0");
    einnahme(m, z, bk, "500000000000000", 20, "0");
    EXPECT_THROW(SummenBerechnen(dm->db(), z, m), DatenbankFehler);
    // negative amounts split into halves exactly, too
    neueDatenbank();
    ersterMandant();
    const int k = kreis(dm->gibMandant(), "A", "A");
    for (const char* betrag : {"-0,01", "-429496,7296", "12,34"})
        einnahme(dm->gibMandant(), dm->gibZeitraum(), k, QLatin1String(betrag), 0, "0");
    EXPECT_EQ(SummenBerechnen(dm->db(), dm->gibZeitraum(), dm->gibMandant()).Einnahmen.units(),
              -100 - 4294967296LL + 123400);
}

TEST_F(SummenTest, ADatabaseErrorIsThrownNotTurnedIntoZero) {
    einnahme(m, z, bk, "120,00", 20, "20,00");
    dm->db().execute("alter table t_kontenbewegungen rename to t_weg");
    EXPECT_THROW(SummenBerechnen(dm->db(), z, m), DatenbankFehler);
}

TEST_F(SummenTest, ZeitraumJahrReadsTheYearOfTheClientOnly) {
    EXPECT_EQ(ZeitraumJahr(dm->db(), z, m), 2026);
    EXPECT_EQ(ZeitraumJahr(dm->db(), vorjahr, m), 2025);
    EXPECT_THROW(ZeitraumJahr(dm->db(), andererZeitraum, m), DatenbankFehler);
    EXPECT_THROW(ZeitraumJahr(dm->db(), -1, m), DatenbankFehler);
}

} // namespace
