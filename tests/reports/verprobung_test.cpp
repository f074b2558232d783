#include "bookings/buchungsschreiber.h"
#include "data/buchung.h"
#include "data/dm_einaus.h"
#include "fixture.h"
#include "reportengine/pagepainter.h"
#include "reports/mandantenname.h"
#include "reports/trep_verprobung.h"
#include "reports/verprobung.h"

#include <map>

namespace {

using reportengine::PageModel;

struct Beleg {
    const char* datum;
    const char* betrag;
    double satz;
    bool einnahme = true;
    bool eu = false;
    bool dritt = false;
    bool kfz = false;
    bool gebaeude = false;
    // another fiscal year (2025) or another client instead of the current ones
    bool anderesJahr = false;
    bool andererMandant = false;
    std::optional<int> schuld = std::nullopt; // reverse charge or construction
};

struct Szenario {
    const char* name;
    int code;
    std::vector<Beleg> belege;
    QStringList details; // detail lines, in any order
    // summary elements and their texts
    std::map<QString, QString> fuss;
};

class VerprobungTest : public VelmoraFixture {
protected:
    void SetUp() override {
        VelmoraFixture::SetUp();
        ersterMandant(QStringLiteral("Huber KG"), 2026);
        mandant = dm->gibMandant();
        zeitraum = dm->gibZeitraum();
        vorjahr = dm->zeitraumAnlegen(mandant, 2025);
        // a second fiscal year of the same calendar year, so that its dates fall in the period
        zweitesJahr = dm->zeitraumAnlegen(mandant, 2026);
        kreisMandant = kreis(mandant, QStringLiteral("Allgemein"), QStringLiteral("A"));
        fremd = dm->mandantAnlegen(QStringLiteral("Fremd"), false);
        fremdesJahr = dm->zeitraumAnlegen(fremd, 2026);
        kreisFremd = kreis(fremd, QStringLiteral("Allgemein"), QStringLiteral("A"));
    }

    void buche(const Beleg& b) {
        Buchung x;
        x.mandant = b.andererMandant ? fremd : mandant;
        x.Buchungsdatum = QDate::fromString(QString::fromLatin1(b.datum), "dd.MM.yyyy");
        // a booking always lies in its fiscal year's calendar year
        x.Wirtschaftsjahr = b.andererMandant                 ? fremdesJahr
                            : b.anderesJahr                  ? zweitesJahr
                            : x.Buchungsdatum.year() == 2025 ? vorjahr
                                                             : zeitraum;
        x.Betrag = *Currency::parse(QString::fromUtf8(b.betrag));
        x.Steuersatz = b.satz;
        x.BK = b.andererMandant ? kreisFremd : kreisMandant;
        x.IstEinnahme = b.einnahme ? 1 : 2;
        x.IstEU = b.eu ? 1 : 2;
        x.IstDrittland = b.dritt ? 1 : 2;
        x.IstKFZ = b.kfz ? 1 : 2;
        x.IstGebaeude = b.gebaeude ? 1 : 2;
        x.Steuerschuld = b.schuld;
        Buchungsschreiber(*dm).neueBuchungSpeichern(x, Belegnummernwahl::Naechste);
    }

    std::optional<PageModel> bericht(int code) {
        TRep_Verprobung rep(dm->db(), daten);
        return verprobung::erzeugen(*dm, rep, daten, code);
    }

    static QStringList zeilenDes(const PageModel& m, reportengine::BandKind kind) {
        PageModel nur;
        for (const auto& p : m.pages) {
            reportengine::Page q;
            for (const auto& b : p.bands) {
                if (b.kind == kind)
                    q.bands.push_back(b);
            }
            nur.pages.push_back(q);
        }
        return reportengine::textLines(nur);
    }

    static QString text(const PageModel& m, const QString& element) {
        for (const auto& p : m.pages)
            for (const auto& b : p.bands)
                for (const auto& t : b.texts)
                    if (t.element == element)
                        return t.text;
        return QStringLiteral("<fehlt>");
    }

    int mandant = 0, zeitraum = 0, vorjahr = 0, zweitesJahr = 0, fremd = 0, fremdesJahr = 0;
    int kreisMandant = 0, kreisFremd = 0;
    T_RepDaten daten;
};

TEST_F(VerprobungTest, ScenariosMatchTheHandComputedFigures) {
    const Beleg e1200{"10.01.2026", "1200", 20};
    const Beleg e110{"20.02.2026", "110", 10};
    const Szenario szenarien[] = {
        {"zwei Sätze im Quartal",
         13,
         {e1200, e110},
         {"Erlöse 20%\t\t1.000,00\t200,00", "Erlöse 10%\t\t100,00\t10,00"},
         {{"LabelBemSumme", "1.100,00"},
          {"LabelUSTSumme", "210,00"},
          {"LabelBemUstInner", "0,00"},
          {"LabelVST", "0,00"},
          {"LabelZahllastGutschrift", "Zahllast"},
          {"LabelFinanzamt", "210,00"}}},
        {"Vorsteuer 300: Z = -90",
         13,
         {e1200, e110, {"15.03.2026", "1800", 20, false}},
         {"Erlöse 20%\t\t1.000,00\t200,00", "Erlöse 10%\t\t100,00\t10,00"},
         {{"LabelVST", "300,00"},
          {"LabelZahllastGutschrift", "Gutschrift"},
          {"LabelFinanzamt", "90,00"}}},
        {"Z genau 0",
         3,
         {{"05.03.2026", "120", 20}, {"06.03.2026", "120", 20, false}},
         {"Erlöse 20%\t\t100,00\t20,00"},
         {{"LabelZahllastGutschrift", "Gutschrift"}, {"LabelFinanzamt", "0,00"}}},
        {"innergemeinschaftlicher Erwerb 1.000,00",
         13,
         {e1200, {"12.02.2026", "1000", 20, false, true}},
         {"Erlöse 20%\t\t1.000,00\t200,00"},
         {{"LabelBemUstInner", "1.000,00"},
          {"LabelUstInner", "200,00"},
          {"LabelBemSumme", "2.000,00"},
          {"LabelUSTSumme", "400,00"},
          {"LabelVST", "0,00"},
          {"LabelVSTInner", "200,00"},
          {"LabelZahllastGutschrift", "Zahllast"},
          {"LabelFinanzamt", "200,00"}}},
        {"KFZ zweimal gezeigt, einmal gezählt",
         13,
         {e1200, {"01.03.2026", "240", 20, false, false, false, true}},
         {"Erlöse 20%\t\t1.000,00\t200,00"},
         {{"LabelVST", "40,00"},
          {"LabelKFZ", "40,00"},
          {"LabelGebaeude", "0,00"},
          {"LabelFinanzamt", "160,00"}}},
        {"Gebäude",
         13,
         {e1200, {"01.03.2026", "1.200,00", 20, false, false, false, false, true}},
         {"Erlöse 20%\t\t1.000,00\t200,00"},
         {{"LabelVST", "200,00"},
          {"LabelGebaeude", "200,00"},
          {"LabelZahllastGutschrift", "Gutschrift"},
          {"LabelFinanzamt", "0,00"}}},
        {"Einfuhrumsatzsteuer 150,00",
         13,
         {e1200, {"02.02.2026", "150", 0, false, false, true}},
         {"Erlöse 20%\t\t1.000,00\t200,00"},
         {{"LabelEinfuhr", "150,00"}, {"LabelVST", "0,00"}, {"LabelFinanzamt", "50,00"}}},
        {"Erlös zu 0 %",
         13,
         {{"10.03.2026", "80", 0}},
         {"Erlöse 0%\t\t80,00\t0,00"},
         {{"LabelBemSumme", "80,00"}, {"LabelUSTSumme", "0,00"}, {"LabelFinanzamt", "0,00"}}},
        {"nur Ausgaben: Bericht mit Gutschrift",
         2,
         {{"10.02.2026", "600", 20, false}},
         {},
         {{"LabelBemSumme", "0,00"},
          {"LabelVST", "100,00"},
          {"LabelZahllastGutschrift", "Gutschrift"},
          {"LabelFinanzamt", "100,00"}}},
        {"nur der Zeitraum, das Jahr und der Mandant zählen",
         13,
         {{"31.03.2026", "120", 20},                                                 // last day
          {"01.04.2026", "1200", 20},                                                // next period
          {"31.12.2025", "1200", 20},                                                // year before
          {"15.02.2026", "1200", 20, true, false, false, false, false, true},        // other year
          {"15.02.2026", "1200", 20, true, false, false, false, false, false, true}, // client
          {"15.02.2026", "600", 20, false, false, false, false, false, false, true}},
         {"Erlöse 20%\t\t100,00\t20,00"},
         {{"LabelBemSumme", "100,00"},
          {"LabelVST", "0,00"},
          {"LabelZahllastGutschrift", "Zahllast"},
          {"LabelFinanzamt", "20,00"}}},
    };
    for (const Szenario& s : szenarien) {
        SCOPED_TRACE(s.name);
        dm->db().execute(QStringLiteral("delete from t_kontenbewegungen"));
        dm->db().execute(QStringLiteral("delete from T_Buchungen"));
        for (const Beleg& b : s.belege)
            buche(b);
        const auto m = bericht(s.code);
        ASSERT_TRUE(m.has_value());
        QStringList details = zeilenDes(*m, reportengine::BandKind::Detail);
        details.sort();
        QStringList erwartet = s.details;
        erwartet.sort();
        EXPECT_EQ(details, erwartet);
        for (const auto& [element, wert] : s.fuss)
            EXPECT_EQ(text(*m, element), wert) << element.toStdString();
    }
}

TEST_F(VerprobungTest, TitleAndSummaryPrintAsTheLayoutDescribes) {
    buche({"10.01.2026", "1.234,50", 20});
    const auto m = bericht(1);
    ASSERT_TRUE(m.has_value());
    ASSERT_EQ(m->pages.size(), 1u);
    EXPECT_EQ(daten.Von, QDate(2026, 1, 1));
    EXPECT_EQ(daten.Bis, QDate(2026, 1, 31));
    EXPECT_EQ(daten.Zeitraum, zeitraum);
    EXPECT_EQ(daten.Mandant, mandant);
    EXPECT_EQ(daten.Jahr, 2026);
    // 1.234,50 gross: tax 205,75, net 1.028,75
    EXPECT_EQ(reportengine::textLines(*m),
              QStringList({"Umsatzsteuerverprobung\tIn den Stammdaten wurde noch kein Name "
                           "eingetragen!!!\tSeite 1 von 1",
                           "Jänner 2026", "Bemessungsgrundlage (netto)\tUmsatzsteuer",
                           "Erlöse 20%\t\t1.028,75\t205,75",
                           "Umsatzsteuer aus innergem. Erwerb 20%\t0,00\t0,00",
                           "Gesamtsumme\t1.028,75\t205,75", "Vorsteuer\t0,00",
                           "Davon Vorsteuer KFZ (KZ 027)\t0,00",
                           "Davon Vorsteuer Gebäude (KZ 028)\t0,00", "Einfuhrumsatzsteuer\t0,00",
                           "Vorsteuer aus innergem. Erwerb 20%\t0,00", "Zahllast\t205,75"}));
}

TEST_F(VerprobungTest, APeriodWithoutAnyPostingHasNoReport) {
    buche({"10.05.2026", "120", 20});
    EXPECT_FALSE(bericht(13).has_value());
    EXPECT_EQ(daten.ZeitraumText, "1. Quartal 2026");
    EXPECT_TRUE(bericht(14).has_value());
}

TEST_F(VerprobungTest, AFailingSummaryStepAbandonsTheReport) {
    buche({"10.01.2026", "120", 20});
    // the selection of the postings cannot run any more
    dm->db().execute(QStringLiteral("alter table T_Buchungen rename column IstKFZ to KFZ_alt"));
    EXPECT_THROW(bericht(13), DatenbankFehler);
}

TEST_F(VerprobungTest, TheSelectionGroupsPostingsByAccountRateAndMarks) {
    using verprobung::Posten;
    buche({"10.01.2026", "120", 20});
    buche({"11.01.2026", "240", 20});
    buche({"12.01.2026", "1000", 10, false, true});              // acquisition at 10 %
    buche({"13.01.2026", "240", 20, false, false, false, true}); // vehicle
    buche({"14.01.2026", "150", 0, false, false, true});         // import
    buche({"01.02.2026", "999", 20});                            // outside January
    daten.Mandant = mandant;
    daten.Zeitraum = zeitraum;
    daten.Von = QDate(2026, 1, 1);
    daten.Bis = QDate(2026, 1, 31);
    const auto u = [](const char* t) { return *Currency::parse(QString::fromLatin1(t)); };
    const std::vector<Posten> erwartet = {
        {1020, 20, 20, false, false, u("60"), u("360"), std::nullopt, QString()},
        {1021, 20, 10, false, false, u("100"), u("1000"), std::nullopt, QString()},
        {2020, 20, 20, true, false, u("40"), u("240"), std::nullopt, QString()},
        {2021, 20, 10, false, false, u("100"), u("1000"), std::nullopt, QString()},
        {3000, 0, 0, false, false, u("150"), u("150"), std::nullopt, QString()},
    };
    const auto posten = verprobung::periodenPosten(dm->db(), daten);
    EXPECT_EQ(posten, erwartet);
    EXPECT_EQ(verprobung::erloeseJeSatz(posten),
              std::vector<verprobung::Erloeszeile>({{20, u("60"), u("360")}}));
    const verprobung::Summen s = verprobung::summen(posten);
    EXPECT_EQ(s.EUSteuer, u("100"));
    EXPECT_EQ(s.KFZ, u("40"));
    EXPECT_EQ(s.Vorsteuer, u("40"));
    EXPECT_EQ(s.Einfuhr, u("150"));
    EXPECT_EQ(s.Saldo(), u("-130"));
}

TEST_F(VerprobungTest, ClientNameRules) {
    const struct {
        std::optional<QString> name; // nullopt: the row holds NULL
        bool zeile;
        QString nullTest;
        QString zeilenTest;
    } faelle[] = {
        {QStringLiteral("Tischlerei Huber"), true, "Tischlerei Huber", "Tischlerei Huber"},
        {QStringLiteral(""), true, "", ""},
        {std::nullopt, true, mandantenname::keinName(), ""},
        {std::nullopt, false, mandantenname::keinName(), mandantenname::keinName()},
    };
    for (const auto& f : faelle) {
        dm->db().execute(QStringLiteral("delete from T_Stammdaten"));
        if (f.zeile) {
            dm->db()
                .sql(QStringLiteral(
                    "insert into T_Stammdaten (mandant, GanzerName) values (:m, :n)"))
                .bind(QStringLiteral("m"), mandant)
                .bind(QStringLiteral("n"), f.name ? QVariant(*f.name) : QVariant())
                .exec();
        }
        EXPECT_EQ(mandantenname::nullTest(*dm), f.nullTest);
        EXPECT_EQ(mandantenname::zeilenTest(*dm), f.zeilenTest);
    }
}

} // namespace

// The third quarter of 2026, worked by hand: revenues by rate (0 % 800 +
// 1.500; 4,9 % 1.049 + 104,90 → 1.100,00 and 53,90), the acquisition at
// 4,9 % and the services on lines of their own; Gesamtsumme 3.800,00 +
// 5.900,00 = 9.700,00 and 503,90 + 559,00 = 1.062,90; balance 1.062,90 −
// 250 − 150 − 559 = 103,90.
TEST_F(VerprobungTest, TheThirdQuarterOf2026ShowsEachKindOnItsLine) {
    const std::optional<int> rc = steuerschuld::ReverseCharge, bau = steuerschuld::Bauleistung;
    for (const Beleg& b : std::vector<Beleg>{
             {"01.07.2026", "2400", 20},
             {"15.07.2026", "550", 10},
             {"20.07.2026", "1049", 4.9},
             {"21.07.2026", "104,90", 4.9},
             {"05.08.2026", "800", 0},
             {"06.08.2026", "1500", 0},
             {"10.08.2026", "300", 20, false, true, false, false, false, false, false, rc},
             {"12.08.2026", "2000", 20, false, true, false, false, false, false, false, bau},
             {"13.08.2026", "500", 10, false, true, false, false, false, false, false, bau},
             {"20.08.2026", "1000", 4.9, false, true},
             {"01.09.2026", "1200", 20, false},
             {"02.09.2026", "110", 10, false},
             {"03.09.2026", "240", 20, false, false, false, true},
             {"15.09.2026", "150", 0, false, false, true}})
        buche(b);
    const auto m = bericht(15);
    ASSERT_TRUE(m.has_value());
    EXPECT_EQ(reportengine::textLines(*m),
              QStringList({"Umsatzsteuerverprobung\tIn den Stammdaten wurde noch kein Name "
                           "eingetragen!!!\tSeite 1 von 1",
                           "3. Quartal 2026", "Bemessungsgrundlage (netto)\tUmsatzsteuer",
                           "Erlöse 0%\t\t2.300,00\t0,00", "Erlöse 4,9%\t\t1.100,00\t53,90",
                           "Erlöse 10%\t\t500,00\t50,00", "Erlöse 20%\t\t2.000,00\t400,00",
                           "Umsatzsteuer aus innergem. Erwerb 4,9%\t1.000,00\t49,00",
                           "Steuerschuld Reverse Charge (§ 19 Abs. 1)\t300,00\t60,00",
                           "Steuerschuld Bauleistungen (§ 19 Abs. 1a)\t2.500,00\t450,00",
                           "Gesamtsumme\t9.700,00\t1.062,90", "Vorsteuer\t250,00",
                           "Davon Vorsteuer KFZ (KZ 027)\t40,00",
                           "Davon Vorsteuer Gebäude (KZ 028)\t0,00", "Einfuhrumsatzsteuer\t150,00",
                           "Vorsteuer aus innergem. Erwerb 4,9%\t49,00",
                           "Vorsteuer Reverse Charge (§ 19 Abs. 1)\t60,00",
                           "Vorsteuer Bauleistungen (§ 19 Abs. 1a)\t450,00", "Zahllast\t103,90"}));
}

// One acquisition line per rate; a marked acquisition counts its tax once
// in "Davon Vorsteuer KFZ" (the 2021 deduction, not the 1021 tax owed).
TEST_F(VerprobungTest, AcquisitionsPerRateAndMarkedOnesOnce) {
    buche({"10.01.2026", "1000", 20, false, true, false, true});
    buche({"11.01.2026", "500", 10, false, true, false, false, true});
    const auto m = bericht(1);
    ASSERT_TRUE(m.has_value());
    const QStringList zeilen = zeilenDes(*m, reportengine::BandKind::Summary);
    EXPECT_EQ(zeilen,
              QStringList({"Umsatzsteuer aus innergem. Erwerb 10%\t500,00\t50,00",
                           "Umsatzsteuer aus innergem. Erwerb 20%\t1.000,00\t200,00",
                           "Gesamtsumme\t1.500,00\t250,00", "Vorsteuer\t0,00",
                           "Davon Vorsteuer KFZ (KZ 027)\t200,00",
                           "Davon Vorsteuer Gebäude (KZ 028)\t50,00", "Einfuhrumsatzsteuer\t0,00",
                           "Vorsteuer aus innergem. Erwerb 10%\t50,00",
                           "Vorsteuer aus innergem. Erwerb 20%\t200,00", "Gutschrift\t0,00"}));
}
