#include "belegtest.h"

#include "bookings/buchungspruefung.h"
#include "bookings/steuerbuchungen.h"
#include "data/steuersatz.h"

using namespace buchungspruefung;

class BuchungspruefungTest : public BelegFixture {};

TEST_F(BuchungspruefungTest, EveryKindTakesOnlyTheRatesTheDialogOffers) {
    struct K {
        Buchungsart art;
        double satz;
        bool ok;
        bool ohneDE; // without the German rates
    };
    const K faelle[] = {
        {Buchungsart::Einnahme, 20, true, true},     {Buchungsart::Einnahme, 13, true, true},
        {Buchungsart::Einnahme, 12, true, true},     {Buchungsart::Ausgabe, 0, true, true},
        {Buchungsart::Ausgabe, 19, true, false},     {Buchungsart::Einnahme, 7, true, false},
        {Buchungsart::Einnahme, 15, false, false},   {Buchungsart::Ausgabe, 15, false, false},
        {Buchungsart::Einnahme, 21, false, false}, // would be 1021
        {Buchungsart::Ausgabe, 21, false, false},    {Buchungsart::Einnahme, -20, false, false},
        {Buchungsart::IgErwerb, 10, true, true},     {Buchungsart::IgErwerb, 1000, false, false},
        {Buchungsart::IgErwerb, -20, false, false},  {Buchungsart::IgErwerb, 19, true, false},
        {Buchungsart::Einfuhr, 20, true, true},      {Buchungsart::Einfuhr, 15, false, false},
        {Buchungsart::Einfuhr, 32767, false, false}, {Buchungsart::Einnahme, 4.9, true, true},
        {Buchungsart::Ausgabe, 4.9, true, true},     {Buchungsart::IgErwerb, 4.9, true, true},
        {Buchungsart::Einnahme, 4.8, false, false},  {Buchungsart::Einnahme, 2.5, false, false},
    };
    for (const bool de : {true, false}) {
        dm->db()
            .sql(QStringLiteral("update T_Stammdaten set SteuerDE = :de where mandant = :m"))
            .bind("de", de ? 1 : 0)
            .bind("m", mandant)
            .exec();
        for (const K& k : faelle) {
            const QString fehler = steuersatzPruefen(dm->db(), k.art, k.satz, mandant);
            const bool ok = de ? k.ok : k.ohneDE;
            if (ok)
                EXPECT_TRUE(fehler.isEmpty()) << k.satz << " DE " << de;
            else
                EXPECT_EQ(fehler,
                          QStringLiteral("Für den Steuersatz %1 % gibt es kein Steuerkonto.")
                              .arg(steuersatz::text(k.satz)))
                    << " DE " << de;
        }
    }
}

TEST_F(BuchungspruefungTest, AmountLimitsKeepEveryTotalExact) {
    const QString zuGross = QStringLiteral("Der Betrag darf höchstens 99.999.999,99 betragen.");
    const QString zuGenau =
        QStringLiteral("Der Betrag darf höchstens zwei Nachkommastellen haben.");
    const std::pair<const char*, QString> faelle[] = {
        {"99.999.999,99", QString()}, {"-99.999.999,99", QString()}, {"100.000.000", zuGross},
        {"-100000000,00", zuGross},   {"500000000000000", zuGross},  {"12,345", zuGenau},
        {"0,001", zuGenau},           {"12,340", QString()}, // trailing zero is still two decimals
        {"1.234", QString()},         {"0,01", QString()},
    };
    for (const auto& [text, fehler] : faelle)
        EXPECT_EQ(betrag(QLatin1String(text)).fehler, fehler) << text;
}

TEST_F(BuchungspruefungTest, TypedNumbers) {
    EXPECT_EQ(buchungspruefung::steuersatz(QStringLiteral(" 20 ")).wert, 20);
    EXPECT_EQ(buchungspruefung::steuersatz(QString()).fehler,
              QStringLiteral("Sie müssen im Feld Steuersatz einen Wert angeben!"));
    EXPECT_EQ(buchungspruefung::steuersatz(QStringLiteral("zwanzig")).fehler,
              QStringLiteral("'zwanzig' ist kein gültiger Steuersatz."));
    EXPECT_FALSE(buchungspruefung::steuersatz(QStringLiteral("40000"))
                     .ok()); // beyond the small-integer column
    // one decimal, with comma or point; compared in tenths
    for (const char* t : {"4,9", "4.9", " 4,9 "})
        EXPECT_EQ(steuersatz::zehntel(*buchungspruefung::steuersatz(QLatin1String(t)).wert), 49)
            << t;
    EXPECT_EQ(steuersatz::zehntel(*buchungspruefung::steuersatz(QStringLiteral("2,5")).wert), 25);
    for (const char* t : {"4,95", "4,", ",9", "4,9%", "4 9", "1e1"})
        EXPECT_EQ(buchungspruefung::steuersatz(QLatin1String(t)).fehler,
                  QStringLiteral("'%1' ist kein gültiger Steuersatz.").arg(QLatin1String(t)))
            << t;

    EXPECT_EQ(belegnummer(QStringLiteral("2147483647")).wert, 2147483647);
    EXPECT_EQ(belegnummer(QStringLiteral("-3")).wert, -3);
    EXPECT_TRUE(belegnummer(QStringLiteral("  ")).ok());
    EXPECT_EQ(belegnummer(QStringLiteral("  ")).wert, std::nullopt);
    EXPECT_EQ(belegnummer(QStringLiteral("2147483648")).fehler,
              QStringLiteral("'2147483648' ist keine gültige Belegnummer."));
    EXPECT_FALSE(belegnummer(QStringLiteral("12a")).ok());

    EXPECT_EQ(betrag(QString()).fehler, betragFehlt());
    EXPECT_EQ(betrag(QStringLiteral("1.234,56")).wert->units(), 12345600);
    EXPECT_EQ(betrag(QStringLiteral("abc")).fehler,
              QStringLiteral("'abc' ist kein gültiger Betrag."));
}

TEST_F(BuchungspruefungTest, CircleDateAndText) {
    const int fremd = kreis(mandant + 1, QStringLiteral("Fremd"), QStringLiteral("F"));
    EXPECT_TRUE(buchungskreis(dm->db(), buero, mandant).isEmpty());
    EXPECT_EQ(buchungskreis(dm->db(), std::nullopt, mandant), buchungskreisFehlt());
    EXPECT_FALSE(buchungskreis(dm->db(), fremd, mandant).isEmpty());
    EXPECT_FALSE(buchungskreisVorhanden(dm->db(), fremd, mandant));

    EXPECT_TRUE(belegdatum(QDate(2026, 12, 31), 2026).isEmpty());
    EXPECT_EQ(belegdatum(QDate(2025, 12, 31), 2026),
              QStringLiteral("Das Belegdatum 31.12.2025 liegt nicht im Wirtschaftsjahr 2026."));

    EXPECT_TRUE(text(QString(100, QLatin1Char('x'))).isEmpty());
    EXPECT_FALSE(text(QString(101, QLatin1Char('x'))).isEmpty());
    // characters, not UTF-16 units: 100 emoji fit, 101 do not
    const QString emoji = QString::fromUtf8("\xF0\x9F\x91\x8D");
    EXPECT_TRUE(text(emoji.repeated(100)).isEmpty());
    EXPECT_FALSE(text(emoji.repeated(101)).isEmpty());
}

TEST_F(BuchungspruefungTest, WholeRecordForTheCommandLine) {
    Buchung b = beleg("100", 20, true);
    EXPECT_TRUE(buchungspruefung::buchung(dm->db(), b, 2026).isEmpty());
    b.Steuersatz = 15;
    EXPECT_EQ(buchungspruefung::buchung(dm->db(), b, 2026),
              "Für den Steuersatz 15 % gibt es kein Steuerkonto.");
    b.Steuersatz = 20;
    b.Buchungsdatum = QDate(2027, 1, 1);
    EXPECT_EQ(buchungspruefung::buchung(dm->db(), b, 2026),
              "Das Belegdatum 01.01.2027 liegt nicht im Wirtschaftsjahr 2026.");
    b.BK.reset();
    EXPECT_EQ(buchungspruefung::buchung(dm->db(), b, 2026), buchungskreisFehlt());
}
