#include "bank/csvprofil.h"
#include "bankdaten.h"

#include <gtest/gtest.h>

namespace {

CsvProfil semikolon() {
    CsvProfil p;
    p.name = QStringLiteral("Sparkasse");
    p.kopfzeilen = 1;
    p.datum = 1;
    p.text = 3;
    p.betrag = 4;
    p.waehrung = 5;
    p.gegenpartei = 6;
    p.iban = 7;
    return p;
}

CsvProfil komma() {
    CsvProfil p;
    p.name = QStringLiteral("Direktbank");
    p.trenner = QLatin1Char(',');
    p.kodierung = QStringLiteral("utf-8");
    p.kopfzeilen = 2;
    p.datum = 1;
    p.datumsformat = QStringLiteral("yyyy-MM-dd");
    p.gegenpartei = 2;
    p.text = 3;
    p.soll = 4;
    p.haben = 5;
    p.referenz = 6;
    p.dezimalkomma = false;
    return p;
}

// date, amount, currency, counterparty, IBAN, reference, text
using Zeile =
    std::tuple<QDate, const char*, const char*, const char*, const char*, const char*, const char*>;

void vergleichen(const Auszug& a, const std::vector<Zeile>& erwartet) {
    ASSERT_EQ(a.size(), erwartet.size());
    for (std::size_t i = 0; i < a.size(); ++i) {
        SCOPED_TRACE(i + 1);
        const auto& [datum, betrag, ccy, partei, iban, ref, text] = erwartet[i];
        EXPECT_EQ(a[i].zeile, static_cast<int>(i) + 1);
        EXPECT_EQ(a[i].buchungsdatum, datum);
        EXPECT_EQ(a[i].betrag.format(), QLatin1String(betrag));
        EXPECT_EQ(a[i].waehrung, QLatin1String(ccy));
        EXPECT_EQ(a[i].gegenpartei, QString::fromUtf8(partei));
        EXPECT_EQ(a[i].iban, QLatin1String(iban));
        EXPECT_EQ(a[i].referenz, QLatin1String(ref));
        EXPECT_EQ(a[i].text, QString::fromUtf8(text));
        EXPECT_FALSE(a[i].vorgemerkt);
    }
}

} // namespace

TEST(CsvProfil, SemicolonDecimalCommaWindows1252) {
    const Auszug a = csv::lesen(bankdaten::datei("semikolon_1252.csv"), semikolon());
    vergleichen(a,
                {
                    {QDate(2026, 3, 2), "1.234,56", "EUR", "Müller & Söhne GmbH",
                     "AT611904300234573201", "", "Rechnung 2026-017"},
                    {QDate(2026, 3, 3), "-89,90", "EUR", "Österreichische Post AG",
                     "AT131400001234567890", "", "Porto März; Paket"},
                    {QDate(2026, 3, 6), "-3,50", "EUR", "Parkautomat Linz", "", "", "Parkschein"},
                    {QDate(2026, 3, 6), "-3,50", "EUR", "Parkautomat Linz", "", "", "Parkschein"},
                    {QDate(2026, 3, 6), "50,00", "USD", "Acme Inc.", "", "", "Invoice 77"},
                    {QDate(2026, 3, 31), "-5,00", "EUR", "Bank", "", "", "Kontoführung 5 € Spesen"},
                });
}

TEST(CsvProfil, CommaDebitAndCreditColumnsUtf8WithBom) {
    const Auszug a = csv::lesen(bankdaten::datei("komma_utf8.csv"), komma());
    vergleichen(a,
                {
                    {QDate(2026, 3, 2), "1.234,56", "EUR", "Müller & Söhne GmbH", "", "BANK-0001",
                     "Rechnung 2026-017"},
                    {QDate(2026, 3, 3), "-89,90", "EUR", "Österreichische Post AG", "", "BANK-0002",
                     "Porto März, \"Express\""},
                    {QDate(2026, 3, 4), "-200,00", "EUR", "Bäckerei Fürst", "", "BANK-0003",
                     "Bewirtung Jänner"},
                    {QDate(2026, 3, 6), "-3,50", "EUR", "Parkautomat Linz", "", "", "Parkschein"},
                });
}

TEST(CsvProfil, RecordsKeepTheirFileLineForTheProfileEditor) {
    const auto d = csv::datensaetze(bankdaten::datei("komma_utf8.csv"), komma());
    ASSERT_EQ(d.size(), 4u);
    EXPECT_EQ(d[2].zeile, 5); // its text runs over two lines
    EXPECT_EQ(d[3].zeile, 8); // after the empty line
    EXPECT_EQ(d[0].felder.size(), 6);
}

TEST(CsvProfil, UnreadableFieldsNameLineAndColumn) {
    CsvProfil p = semikolon();
    p.kodierung = QStringLiteral("utf-8");
    p.kopfzeilen = 0;
    CsvProfil k = komma();
    k.kopfzeilen = 0;
    const std::tuple<QByteArray, CsvProfil, const char*> faelle[] = {
        {"02.03.2026;x;T;12,5;EUR\n2026-03-03;x;T;1,00;EUR\n", p,
         "(Zeile 2, Spalte 1): „2026-03-03“ ist kein Datum der Form dd.MM.yyyy."},
        {"02.03.2026;x;T;12.5;EUR\n", p, "(Zeile 1, Spalte 4): „12.5“ ist kein Betrag."},
        {"02.03.2026;x;T;1,2,3;EUR\n", p, "(Zeile 1, Spalte 4)"},
        {"02.03.2026;x;T\n", p, "(Zeile 1, Spalte 4): Die Zeile hat nur 3 Spalten."},
        {"02.03.2026;x;\"T;1,00\n", p, "endet in einem Feld in Anführungszeichen (Zeile 2)"},
        {"02.03.2026;x;M\xe4rz;1,00;EUR\n", p, "nicht in UTF-8 kodiert (Zeile 1)"},
        {"2026-03-02,a,b,1.00,2.00,\n", k, "(Zeile 1, Spalte 4): Genau eine"},
        {"2026-03-02,a,b,,,\n", k, "(Zeile 1, Spalte 4): Genau eine"},
    };
    for (const auto& [daten, profil, teil] : faelle) {
        SCOPED_TRACE(teil);
        try {
            csv::lesen(daten, profil);
            ADD_FAILURE() << "read";
        } catch (const KontoauszugFehler& f) {
            EXPECT_TRUE(f.text().contains(QString::fromUtf8(teil))) << f.text().toStdString();
        }
    }
}

TEST(CsvProfil, AmountsInBothNotationsAndTrailingMinus) {
    CsvProfil p = semikolon();
    p.kopfzeilen = 0;
    p.kodierung = QStringLiteral("utf-8");
    const std::pair<const char*, const char*> komma[] = {{"1.234.567,8", "1.234.567,80"},
                                                         {"-0,01", "-0,01"},
                                                         {"12,50-", "-12,50"},
                                                         {"+7", "7,00"},
                                                         {"1 234,5", "1.234,50"}};
    for (const auto& [ein, aus] : komma) {
        const QByteArray zeile = QByteArray("01.01.2026;;T;") + ein + ";EUR\n";
        EXPECT_EQ(csv::lesen(zeile, p).at(0).betrag.format(), QLatin1String(aus)) << ein;
    }
    p.dezimalkomma = false;
    const QByteArray punkt = "01.01.2026;;T;1,234.5;EUR\n";
    EXPECT_EQ(csv::lesen(punkt, p).at(0).betrag.format(), QStringLiteral("1.234,50"));
}

TEST(CsvProfil, IncompleteProfilesAreRefused) {
    CsvProfil ohneDatum = semikolon();
    ohneDatum.datum = 0;
    CsvProfil beides = semikolon();
    beides.soll = 5;
    beides.haben = 6;
    CsvProfil nurSoll = semikolon();
    nurSoll.betrag = 0;
    nurSoll.soll = 4;
    CsvProfil latin = semikolon();
    latin.kodierung = QStringLiteral("latin-9");
    EXPECT_EQ(csv::profilPruefen(semikolon()), QString());
    EXPECT_EQ(csv::profilPruefen(komma()), QString());
    EXPECT_EQ(csv::profilPruefen(ohneDatum),
              QStringLiteral("Die Spalte des Buchungsdatums fehlt."));
    EXPECT_TRUE(csv::profilPruefen(beides).startsWith(QStringLiteral("Anzugeben ist entweder")));
    EXPECT_EQ(csv::profilPruefen(nurSoll),
              QStringLiteral("Soll- und Habenspalte gehören zusammen."));
    EXPECT_TRUE(csv::profilPruefen(latin).contains(QStringLiteral("latin-9")));
}
