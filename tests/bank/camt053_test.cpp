#include "bank/camt053.h"
#include "bankdaten.h"

#include <gtest/gtest.h>

namespace {

// date, amount, currency, pending, reference, end-to-end, counterparty, IBAN, text
struct Erwartet {
    const char* datum;
    const char* betrag;
    const char* waehrung;
    bool vorgemerkt;
    const char* referenz;
    const char* endToEnd;
    const char* gegenpartei;
    const char* iban;
    const char* text;
};

void vergleichen(const Auszug& auszug, const std::vector<Erwartet>& erwartet) {
    ASSERT_EQ(auszug.size(), erwartet.size());
    for (std::size_t i = 0; i < erwartet.size(); ++i) {
        SCOPED_TRACE(i + 1);
        const Auszugszeile& z = auszug[i];
        const Erwartet& e = erwartet[i];
        EXPECT_EQ(z.zeile, static_cast<int>(i) + 1);
        EXPECT_EQ(z.buchungsdatum, QDate::fromString(QLatin1String(e.datum), Qt::ISODate));
        EXPECT_EQ(z.betrag.format(), QString::fromUtf8(e.betrag));
        EXPECT_EQ(z.waehrung, QLatin1String(e.waehrung));
        EXPECT_EQ(z.vorgemerkt, e.vorgemerkt);
        EXPECT_EQ(z.referenz, QString::fromUtf8(e.referenz));
        EXPECT_EQ(z.endToEnd, QString::fromUtf8(e.endToEnd));
        EXPECT_EQ(z.gegenpartei, QString::fromUtf8(e.gegenpartei));
        EXPECT_EQ(z.iban, QString::fromUtf8(e.iban));
        EXPECT_EQ(z.text, QString::fromUtf8(e.text));
    }
}

} // namespace

TEST(Camt053, Version02EveryLineWithItsFields) {
    const Auszug a = camt053::lesen(bankdaten::datei("camt053_02.xml"));
    vergleichen(
        a,
        {
            {"2026-03-02", "1.234,56", "EUR", false, "2026030200001/1", "RE-2026-017",
             "Müller & Söhne GmbH", "AT611904300234573201",
             "Rechnung 2026-017 Danke für den Auftrag"},
            {"2026-03-03", "-89,90", "EUR", false, "2026030300002/1", "", "Österreichische Post AG",
             "AT131400001234567890", "Porto März"},
            {"2026-03-05", "-45,00", "EUR", true, "", "", "Tankstelle Gruber", "", "Kartenzahlung"},
            {"2026-03-04", "-100,00", "EUR", false, "2026030400003/1", "SAMMEL-1", "Hofer KG",
             "AT026000000001349870", "Büromaterial"},
            {"2026-03-04", "-200,00", "EUR", false, "2026030400003/2", "SAMMEL-2", "Bäckerei Fürst",
             "AT203500000000123456", "Bewirtung Jänner"},
            // no remittance lines of its own: the entry's additional information
            {"2026-03-04", "-300,00", "EUR", false, "2026030400003/3", "SAMMEL-3", "Weiß & Co", "",
             "Sammelauftrag 3 Posten"},
            {"2026-03-06", "50,00", "USD", false, "2026030600004/1", "", "Acme Inc.", "",
             "Invoice 77"},
            {"2026-03-06", "-3,50", "EUR", false, "", "", "Parkautomat Linz", "", "Parkschein"},
            {"2026-03-06", "-3,50", "EUR", false, "", "", "Parkautomat Linz", "", "Parkschein"},
        });
    EXPECT_EQ(a[1].valuta, QDate(2026, 3, 4));
}

TEST(Camt053, Version08PartiesBelowPtyAndAmountsInTheDetails) {
    const Auszug a = camt053::lesen(bankdaten::datei("camt053_08.xml"));
    vergleichen(
        a, {
               {"2026-03-03", "-89,90", "EUR", false, "2026030300002/1", "",
                "Österreichische Post AG", "AT131400001234567890", "Porto März"},
               {"2026-03-06", "-3,50", "EUR", false, "", "", "Parkautomat Linz", "", "Parkschein"},
               {"2026-03-06", "-3,50", "EUR", false, "", "", "Parkautomat Linz", "", "Parkschein"},
               {"2026-03-06", "-3,50", "EUR", false, "", "", "Parkautomat Linz", "", "Parkschein"},
               {"2026-03-09", "480,00", "EUR", false, "2026030900006/1", "", "Dr. Jürgen Kräuter",
                "DE89370400440532013000", "Honorar Februar"},
               {"2026-03-10", "150,00", "EUR", true, "", "", "Lehner OG", "", "Anzahlung"},
               {"2026-03-10", "-25,00", "EUR", false, "2026031000007/1", "LS-A", "Stadtwerke Gmünd",
                "", "Strom"},
               {"2026-03-10", "-30,00", "EUR", false, "2026031000007/2", "LS-B", "Stadtwerke Gmünd",
                "", "Wasser"},
               {"2026-03-10", "-20,00", "EUR", false, "2026031000007/3", "LS-C", "Stadtwerke Gmünd",
                "", "Müllabfuhr"},
               {"2026-03-10", "-120,00", "CHF", false, "2026031000008/1", "", "Zürcher Messe AG",
                "", "Standmiete"},
           });
    EXPECT_EQ(a[4].valuta, QDate(2026, 3, 9));
}

TEST(Camt053, Version04IsRead) {
    const QByteArray xml =
        "<Document xmlns=\"urn:iso:std:iso:20022:tech:xsd:camt.053.001.04\"><BkToCstmrStmt>"
        "<Stmt><Ntry><Amt Ccy=\"EUR\">0.5</Amt><CdtDbtInd>CRDT</CdtDbtInd><Sts>BOOK</Sts>"
        "<BookgDt><Dt>2026-01-31</Dt></BookgDt><AcctSvcrRef>Z1</AcctSvcrRef>"
        "<AddtlNtryInf>Zinsen</AddtlNtryInf></Ntry></Stmt></BkToCstmrStmt></Document>";
    const Auszug a = camt053::lesen(xml);
    ASSERT_EQ(a.size(), 1u);
    EXPECT_EQ(a[0].betrag, Currency::fromUnits(5000));
    EXPECT_EQ(a[0].referenz, QStringLiteral("Z1/1"));
    EXPECT_EQ(a[0].text, QStringLiteral("Zinsen"));
}

TEST(Camt053, RefusedFilesSayWhy) {
    const QByteArray ntry = "<Ntry><Amt Ccy=\"EUR\">1.00</Amt><CdtDbtInd>CRDT</CdtDbtInd>"
                            "<Sts>BOOK</Sts><BookgDt><Dt>2026-03-02</Dt></BookgDt></Ntry>";
    const QByteArray eintrag = "<BkToCstmrStmt><Stmt>" + ntry + "</Stmt></BkToCstmrStmt>";
    auto dokument = [&](const char* ns, const QByteArray& innen) {
        return QByteArray("<Document xmlns=\"urn:iso:std:iso:20022:tech:xsd:") + ns + "\">" +
               innen + "</Document>";
    };
    QByteArray ohneVorzeichen = eintrag;
    ohneVorzeichen.replace("CRDT", "XXXX");
    QByteArray negativ = eintrag;
    negativ.replace("1.00", "-1.00");
    QByteArray ntryNegativ = ntry;
    ntryNegativ.replace("1.00", "-1.00");
    // entries count on across the statements of a file
    const QByteArray zweiAuszuege = "<BkToCstmrStmt><Stmt>" + ntry + ntry + "</Stmt><Stmt>" +
                                    ntryNegativ + "</Stmt></BkToCstmrStmt>";
    const std::pair<QByteArray, const char*> faelle[] = {
        {bankdaten::datei("doctype.xml"), "Zeile 2, Spalte"},
        {bankdaten::datei("doctype.xml"), "DOCTYPE"},
        {bankdaten::datei("entitaet.xml"), "Zeile 2, Spalte"},
        {bankdaten::datei("abgeschnitten.xml"), "Zeile 43, Spalte 29"},
        {dokument("camt.053.001.06", eintrag), "camt.053.001.06 wird nicht unterstützt"},
        {dokument("camt.052.001.02", eintrag), "kein CAMT.053-Kontoauszug"},
        {dokument("camt.053.001.02", ohneVorzeichen), "Buchung 1 ist weder Gutschrift"},
        {dokument("camt.053.001.02", negativ), "Buchung 1 hat keinen lesbaren Betrag"},
        {dokument("camt.053.001.02", zweiAuszuege), "Buchung 3 hat keinen lesbaren Betrag"},
        // a cut file is refused as such, whatever its entries hold
        {dokument("camt.053.001.02", negativ).chopped(20), "Zeile 1, Spalte"},
        {"", "Zeile 1, Spalte"},
    };
    for (const auto& [xml, teil] : faelle) {
        SCOPED_TRACE(teil);
        try {
            camt053::lesen(xml);
            ADD_FAILURE() << "read";
        } catch (const KontoauszugFehler& f) {
            EXPECT_TRUE(f.text().contains(QString::fromUtf8(teil))) << f.text().toStdString();
        }
    }
}
