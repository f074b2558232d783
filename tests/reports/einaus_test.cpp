#include "auswertungtest.h"
#include "reports/auswertung.h"
#include "reports/einaus.h"
#include "reports/trep_einaus.h"
#include "reports/trep_einausdetail.h"

#include <QProcess>
#include <QTemporaryDir>

namespace {

using reportengine::PageModel;

struct Szenario {
    const char* name;
    std::vector<AuswertungTest::Beleg> belege; // bk 1: "Einkauf" instead of "Erlöse"
    bool nurEinkauf;                           // the one circle "Einkauf" chosen
    QStringList zeilen;                        // below the page header
};

class EinAusSzenario : public AuswertungTest, public ::testing::WithParamInterface<Szenario> {};

TEST_P(EinAusSzenario, LinesTotalsAndResult) {
    const Szenario& s = GetParam();
    for (Beleg b : s.belege) {
        b.bk = b.bk == 1 ? einkauf : erloese;
        buche(b);
    }
    T_RepDaten daten;
    TRep_EinAus rep(daten);
    const PageModel m = einaus::auswertungErzeugen(*dm, rep, daten, s.nurEinkauf ? einkauf : 0);
    const QStringList zeilen = reportengine::textLines(m);
    ASSERT_GE(zeilen.size(), 3) << s.name;
    EXPECT_EQ(zeilen.mid(0, 3),
              QStringList({"Einnahmen - Ausgaben Rechnung\tTischlerei Huber\tSeite 1 von 1",
                           "Jahr 2026", "Netto\tBrutto"}))
        << s.name;
    EXPECT_EQ(zeilen.mid(3), s.zeilen) << s.name << "\n" << zeilen.join('\n').toStdString();
    // a second run of the same report starts again from zero
    EXPECT_EQ(reportengine::textLines(
                  einaus::auswertungErzeugen(*dm, rep, daten, s.nurEinkauf ? einkauf : 0)),
              zeilen)
        << s.name;
}

const AuswertungTest::Beleg kErloes{"10.01.2026", "1200", 20};
const AuswertungTest::Beleg kAusgabe{"12.01.2026", "480", 20, false, false, false, 1};

INSTANTIATE_TEST_SUITE_P(
    Faelle, EinAusSzenario,
    ::testing::Values(
        Szenario{"Einnahmen und Ausgaben",
                 {kErloes, kAusgabe},
                 false,
                 {"Einnahmen", "Erlöse\t1.000,00\t1.200,00", "Summe Einnahmen\t1.000,00\t1.200,00",
                  "Ausgaben", "Einkauf\t400,00\t480,00", "Summe Ausgaben\t400,00\t480,00",
                  "Ergebnis\t600,00\t720,00"}},
        Szenario{"nur Ausgaben",
                 {{"12.01.2026", "240", 20, false, false, false, 1}},
                 false,
                 {"Ausgaben", "Einkauf\t200,00\t240,00", "Summe Ausgaben\t200,00\t240,00",
                  "Ergebnis\t-200,00\t-240,00"}},
        Szenario{"innergemeinschaftlicher Erwerb einmal",
                 {{"12.01.2026", "1000", 20, false, true, false, 1}},
                 false,
                 {"Ausgaben", "Einkauf\t1.000,00\t1.000,00", "Summe Ausgaben\t1.000,00\t1.000,00",
                  "Ergebnis\t-1.000,00\t-1.000,00"}},
        // posted like the acquisition, counted once as it is
        Szenario{
            "Reverse Charge und Bauleistung einmal",
            {{"12.01.2026", "300", 20, false, true, false, 1, "", 0, steuerschuld::ReverseCharge},
             {"13.01.2026", "500", 10, false, true, false, 1, "", 0, steuerschuld::Bauleistung}},
            false,
            {"Ausgaben", "Einkauf\t800,00\t800,00", "Summe Ausgaben\t800,00\t800,00",
             "Ergebnis\t-800,00\t-800,00"}},
        Szenario{"Drittland",
                 {{"12.01.2026", "150", 0, false, false, true, 1}},
                 false,
                 {"Ausgaben", "Einkauf\t0,00\t150,00", "Summe Ausgaben\t0,00\t150,00",
                  "Ergebnis\t0,00\t-150,00"}},
        Szenario{"ein Kreis",
                 {kErloes, kAusgabe, {"02.03.2026", "110", 10, true, false, false, 1}},
                 true,
                 {"Einnahmen", "Einkauf\t100,00\t110,00", "Summe Einnahmen\t100,00\t110,00",
                  "Ausgaben", "Einkauf\t400,00\t480,00", "Summe Ausgaben\t400,00\t480,00",
                  "Ergebnis\t-300,00\t-370,00"}},
        Szenario{"ohne Buchungen", {}, false, {"Ergebnis\t0,00\t0,00"}}));

class EinAusDetailTest : public AuswertungTest {
protected:
    void SetUp() override {
        AuswertungTest::SetUp();
        buero = kreis(mandant, QStringLiteral("Büro"), QStringLiteral("BU"));
        buche({
            {"10.01.2026", "1200", 20, true, false, false, erloese, "Honorar", 1},
            {"05.02.2026", "600", 20, true, false, false, erloese, "Beratung", 2},
            {"03.01.2026", "240", 20, false, false, false, einkauf, "Material", 3},
            {"04.01.2026", "120", 20, false, false, false, buero, "Papier", 4},
            {"20.01.2026", "1000", 20, false, true, false, einkauf, "Ware", 5},
        });
        // another fiscal year's booking never shows
        const int vorjahr = dm->zeitraumAnlegen(mandant, 2025);
        Buchung alt;
        alt.mandant = mandant;
        alt.Wirtschaftsjahr = vorjahr;
        alt.Buchungsdatum = QDate(2025, 5, 5);
        alt.Betrag = *Currency::parse("999");
        alt.BK = erloese;
        Buchungsschreiber(*dm).neueBuchungSpeichern(alt, Belegnummernwahl::Naechste);
    }
    QStringList details(int k) {
        einaus::detailDatenSetzen(*dm, daten);
        TRep_EinAusDetail rep(dm->db(), daten);
        rep.setKreis(k);
        return reportengine::textLines(einaus::detailsErzeugen(*dm, rep, daten));
    }
    int buero = 0;
    T_RepDaten daten;
};

TEST_F(EinAusDetailTest, NestedSumsPerCircleSideAndResult) {
    const QStringList kopf = {"Einnahmen - Ausgaben Rechnung\tTischlerei Huber\tSeite 1 von 1",
                              "Jahr 2026 alle Buchungskreise\t",
                              "Beleg-Nr.\tBelegdatum\tBelegtext\tNetto\tBrutto"};
    EXPECT_EQ(details(0), kopf + QStringList({
                                     "Einnahmen",
                                     "Erlöse",
                                     "1\t10.01.2026\tHonorar\t1.000,00\t1.200,00",
                                     "2\t05.02.2026\tBeratung\t500,00\t600,00",
                                     "Summe\tErlöse\t1.500,00\t1.800,00",
                                     "Summe\tEinnahmen\t1.500,00\t1.800,00",
                                     "Ausgaben",
                                     "Büro",
                                     "4\t04.01.2026\tPapier\t100,00\t120,00",
                                     "Summe\tBüro\t100,00\t120,00",
                                     "Einkauf",
                                     "3\t03.01.2026\tMaterial\t200,00\t240,00",
                                     "5\t20.01.2026\tWare\t1.000,00\t1.000,00",
                                     "Summe\tEinkauf\t1.200,00\t1.240,00",
                                     "Summe\tAusgaben\t1.300,00\t1.360,00",
                                     "Ergebnis\t200,00\t440,00",
                                 }));
    const QStringList einkaufAllein = details(einkauf);
    EXPECT_EQ(einkaufAllein.value(1), "Jahr 2026 - Einkauf\t");
    EXPECT_EQ(einkaufAllein.mid(3), QStringList({
                                        "Ausgaben",
                                        "Einkauf",
                                        "3\t03.01.2026\tMaterial\t200,00\t240,00",
                                        "5\t20.01.2026\tWare\t1.000,00\t1.000,00",
                                        "Summe\tEinkauf\t1.200,00\t1.240,00",
                                        "Summe\tAusgaben\t1.200,00\t1.240,00",
                                        "Ergebnis\t-1.200,00\t-1.240,00",
                                    }));
}

TEST_F(EinAusDetailTest, ExportHasEveryCircleByDate) {
    einaus::detailDatenSetzen(*dm, daten);
    einaus::detailExportOeffnen(*dm, daten);
    ExportAbfrage& q = dm->Query_Export();
    QStringList zeilen;
    for (int r = -1; r < q.rowCount(); ++r) {
        QStringList z;
        for (int c = 0; c < q.columnCount(); ++c)
            z << (r < 0 ? q.headerData(c, Qt::Horizontal).toString()
                        : q.index(r, c).data().toString());
        zeilen << z.join('|');
    }
    EXPECT_EQ(zeilen, QStringList({
                          "Belegnummer|Buchungsdatum|Text|Netto|Brutto|BKName",
                          "3|03.01.2026|Material|-200|-240|Einkauf",
                          "4|04.01.2026|Papier|-100|-120|Büro",
                          "1|10.01.2026|Honorar|1000|1200|Erlöse",
                          "5|20.01.2026|Ware|-1000|-1000|Einkauf",
                          "2|05.02.2026|Beratung|500|600|Erlöse",
                      }));
}

TEST_F(EinAusDetailTest, OnlyTheCurrentClientsCirclesCanBeChosen) {
    const int fremd = dm->mandantAnlegen(QStringLiteral("Fremd"), false);
    const int fremderKreis = kreis(fremd, QStringLiteral("Einkauf"), QStringLiteral("EK"));
    EXPECT_TRUE(auswertung::kreisVorhanden(*dm, einkauf));
    EXPECT_FALSE(auswertung::kreisVorhanden(*dm, fremderKreis));
    EXPECT_FALSE(auswertung::kreisVorhanden(*dm, fremderKreis + 1));
}

} // namespace

namespace {

TEST_F(EinAusDetailTest, TwoPagesNumberedOfBothAndTheCircleContinued) {
    for (int i = 1; i <= 50; ++i)
        buche(Beleg{"15.06.2026", "12", 20, false, false, false, buero, "Toner"});
    einaus::detailDatenSetzen(*dm, daten);
    TRep_EinAusDetail rep(dm->db(), daten);
    const reportengine::PageModel m = einaus::detailsErzeugen(*dm, rep, daten);
    ASSERT_EQ(m.pages.size(), 2u);
    // page 2 goes on under the side's and the circle's headers
    const QStringList seite2 = reportengine::textLines({m.paperSize, {m.pages[1]}});
    ASSERT_GE(seite2.size(), 6);
    EXPECT_EQ(seite2[0], "Einnahmen - Ausgaben Rechnung\tTischlerei Huber\tSeite 2 von 2");
    EXPECT_EQ(seite2.mid(3, 2), QStringList({"Ausgaben (Fortsetzung)", "Büro (Fortsetzung)"}));
    EXPECT_TRUE(seite2[5].endsWith("\tToner\t10,00\t12,00")) << seite2[5].toStdString();

    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("details.pdf"));
    ASSERT_FALSE(reportengine::writePdf(m, pdf).has_value());
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    ASSERT_TRUE(p.waitForFinished(30000));
    const QStringList text = QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\f'));
    ASSERT_GE(text.size(), 2);
    EXPECT_TRUE(text[0].contains("Seite 1 von 2")) << text[0].toStdString();
    EXPECT_TRUE(text[1].contains("Seite 2 von 2")) << text[1].toStdString();
    EXPECT_TRUE(text[1].contains("Büro (Fortsetzung)"));
    for (const QString& seite : text.mid(0, 2))
        EXPECT_TRUE(seite.contains("Gedruckt am 10.12.2026")) << seite.toStdString();
}

} // namespace
