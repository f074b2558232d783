#include "belegtest.h"

#include "bookings/belegeingabevorgaben.h"

class BelegeingabevorgabenTest : public BelegFixture {
protected:
    QString sektion() const { return TDM_EinAus::buchenAbschnitt(mandant); }
};

TEST(Steuersaetze, ByYearAndGermanRates) {
    EXPECT_EQ(steuersaetze(2015, false), (QStringList{"0", "5", "10", "12", "20"}));
    EXPECT_EQ(steuersaetze(2016, false), (QStringList{"0", "5", "10", "13", "20"}));
    EXPECT_EQ(steuersaetze(2015, true), (QStringList{"0", "5", "7", "19", "10", "12", "20"}));
    EXPECT_EQ(steuersaetze(2024, true), (QStringList{"0", "5", "7", "19", "10", "13", "20"}));
    EXPECT_EQ(steuersaetze(2025, false), (QStringList{"0", "5", "10", "13", "20"}));
    EXPECT_EQ(steuersaetze(2026, false), (QStringList{"0", "4,9", "5", "10", "13", "20"}));
    EXPECT_EQ(steuersaetze(2027, true),
              (QStringList{"0", "4,9", "5", "7", "19", "10", "13", "20"}));
}

TEST(Belegdatum, RememberedDateIsClampedToTheYear) {
    EXPECT_EQ(belegdatumImJahr(QDate(2023, 3, 15), 2024), QDate(2024, 1, 1));
    EXPECT_EQ(belegdatumImJahr(QDate(2024, 12, 31), 2024), QDate(2024, 12, 31));
    EXPECT_EQ(belegdatumImJahr(QDate(2024, 1, 1), 2024), QDate(2024, 1, 1));
    EXPECT_EQ(belegdatumImJahr(QDate(2025, 1, 1), 2024), QDate(2024, 1, 1));
    EXPECT_EQ(belegdatumImJahr(QDate(), 2024), QDate(2024, 1, 1));
}

TEST_F(BelegeingabevorgabenTest, FirstBookingOfAClient) {
    const Buchung b = neueBuchung(*dm, *ini, clock.today());
    EXPECT_EQ(b.mandant, mandant);
    EXPECT_EQ(b.ID, 1);
    EXPECT_EQ(b.Wirtschaftsjahr, zeitraum);
    EXPECT_EQ(b.Belegnummer, 1);
    EXPECT_EQ(b.Buchungsdatum, QDate(2026, 12, 10)); // today lies in the year
    EXPECT_EQ(b.IstEinnahme, 1);
    EXPECT_EQ(b.Steuersatz, 0);
    EXPECT_TRUE(b.Text.isEmpty());
    EXPECT_EQ(b.BK, std::nullopt);
    EXPECT_EQ(b.IstEU + b.IstDrittland + b.IstKFZ + b.IstGebaeude, 8);

    // the next numbers follow the table; today outside the year gives 1 January
    buchung(mandant, zeitraum, "2026-02-01", "1,00", 0, buero, true, 2, 2, 41);
    buchung(mandant + 1, zeitraum + 1, "2026-02-01", "1,00", 0, buero, true, 2, 2, 99);
    const Buchung n = neueBuchung(*dm, *ini, QDate(2030, 5, 5));
    EXPECT_EQ(n.ID, 3);
    EXPECT_EQ(n.Belegnummer, 42);
    EXPECT_EQ(n.Buchungsdatum, QDate(2026, 1, 1));
}

TEST_F(BelegeingabevorgabenTest, RememberedEntriesAndTheirDefaults) {
    ini->writeString(sektion(), "Buchungskreis", QString::number(erloese));
    ini->writeString(sektion(), "Belegdatum", "31.12.2026");
    ini->writeString(sektion(), "IstEinnahme", "2");
    ini->writeString(sektion(), "Steuersatz", "10");
    ini->writeString(sektion(), "Buchungstext", "Miete");
    Buchung b = neueBuchung(*dm, *ini, clock.today());
    EXPECT_EQ(b.BK, erloese);
    EXPECT_EQ(b.Buchungsdatum, QDate(2026, 12, 31));
    EXPECT_EQ(b.IstEinnahme, 2);
    EXPECT_EQ(b.Steuersatz, 10);
    EXPECT_EQ(b.Text, QStringLiteral("Miete"));

    // unreadable values and a circle that is gone or another client's fall back
    const int fremd = kreis(mandant + 1, "Fremd", "F");
    ini->writeString(sektion(), "Buchungskreis", QString::number(fremd));
    ini->writeString(sektion(), "Belegdatum", "irgendwann");
    ini->writeString(sektion(), "IstEinnahme", "7");
    ini->writeString(sektion(), "Steuersatz", "");
    b = neueBuchung(*dm, *ini, clock.today());
    EXPECT_EQ(b.BK, std::nullopt);
    EXPECT_EQ(b.Buchungsdatum, QDate(2026, 12, 10));
    EXPECT_EQ(b.IstEinnahme, 1);
    EXPECT_EQ(b.Steuersatz, 0);
}

TEST_F(BelegeingabevorgabenTest, EingabenMerkenKeepsRateAndTextOnlyWhenTheRunGoesOn) {
    Eingaben e;
    e.Buchungskreis = buero;
    e.Belegnummer = "17";
    e.Belegdatum = QDate(2026, 4, 1);
    e.IstEinnahme = 2;
    e.Steuersatz = "10";
    e.Buchungstext = "Papier";
    EingabenMerken(*ini, mandant, e, true);
    EXPECT_EQ(ini->readString(sektion(), "Buchungskreis"), QString::number(buero));
    EXPECT_EQ(ini->readString(sektion(), "Belegnummer"), "17");
    EXPECT_EQ(ini->readString(sektion(), "Belegdatum"), "01.04.2026");
    EXPECT_EQ(ini->readString(sektion(), "IstEinnahme"), "2");
    EXPECT_EQ(ini->readString(sektion(), "Steuersatz"), "10");
    EXPECT_EQ(ini->readString(sektion(), "Buchungstext"), "Papier");

    // nothing selected: the circle key is skipped, the others still written
    e.Buchungskreis.reset();
    e.Belegnummer = "18";
    EingabenMerken(*ini, mandant, e, false);
    EXPECT_EQ(ini->readString(sektion(), "Buchungskreis"), QString::number(buero));
    EXPECT_EQ(ini->readString(sektion(), "Belegnummer"), "18");
    EXPECT_FALSE(ini->hasKey(sektion(), "Steuersatz"));
    EXPECT_FALSE(ini->hasKey(sektion(), "Buchungstext"));

    EingabenMerken(*ini, mandant, e, true);
    merkwerteVergessen(*ini, mandant);
    EXPECT_FALSE(ini->hasKey(sektion(), "Steuersatz"));
    EXPECT_FALSE(ini->hasKey(sektion(), "Buchungstext"));
    EXPECT_TRUE(ini->hasKey(sektion(), "IstEinnahme"));

    QFile f(ini->path());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll().contains("[Buchen Mandant " + QByteArray::number(mandant) + "]"));
}
