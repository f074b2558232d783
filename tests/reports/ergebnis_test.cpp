#include "auswertungtest.h"
#include "reports/einaus.h"
#include "reports/plusminus.h"
#include "reports/trep_einaus.h"
#include "reports/trep_einausdetail.h"
#include "reports/trep_plusminus.h"

namespace {

struct Jahr {
    const char* name;
    std::vector<AuswertungTest::Beleg> belege;
    const char* ergebnis; // income net minus expense net, by hand
};

class EinErgebnis : public AuswertungTest, public ::testing::WithParamInterface<Jahr> {
protected:
    // The net field of the line starting "Ergebnis": the first amount, or the last.
    static QString ergebnis(const reportengine::PageModel& m, bool letztes) {
        for (const QString& z : reportengine::textLines(m)) {
            const QStringList f = z.split(QLatin1Char('\t'));
            if (f.size() > 1 && f.first() == QLatin1String("Ergebnis"))
                return letztes ? f.last() : f.at(1);
        }
        return QStringLiteral("kein Ergebnis");
    }
};

TEST_P(EinErgebnis, EveryEvaluationShowsTheSameResult) {
    const Jahr& j = GetParam();
    for (Beleg b : j.belege) {
        b.bk = b.bk == 1 ? einkauf : erloese;
        buche(b);
    }
    T_RepDaten kreise, details, plusMinus;
    TRep_EinAus repKreise(kreise);
    EXPECT_EQ(ergebnis(einaus::auswertungErzeugen(*dm, repKreise, kreise, 0), false), j.ergebnis)
        << j.name;
    TRep_EinAusDetail repDetails(dm->db(), details);
    einaus::detailDatenSetzen(*dm, details);
    EXPECT_EQ(ergebnis(einaus::detailsErzeugen(*dm, repDetails, details), false), j.ergebnis)
        << j.name;
    TRep_PlusMinus repPlusMinus(plusMinus);
    EXPECT_EQ(ergebnis(plusminus::erzeugen(*dm, repPlusMinus, plusMinus), true), j.ergebnis)
        << j.name;
}

using B = AuswertungTest::Beleg;

INSTANTIATE_TEST_SUITE_P(
    Jahre, EinErgebnis,
    ::testing::Values(
        // income net 1.000 + 500 + 80 = 1.580; expenses net 200 + 1.000 + 0 (import) = 1.200
        Jahr{"jede Art",
             {B{"10.01.2026", "1200", 20}, B{"11.02.2026", "550", 10}, B{"12.03.2026", "80", 0},
              B{"13.01.2026", "240", 20, false, false, false, 1},
              B{"14.02.2026", "1000", 20, false, true, false, 1},
              B{"15.03.2026", "96,40", 0, false, false, true, 1}},
             "380,00"},
        Jahr{"nur Einfuhr", {B{"15.03.2026", "96,40", 0, false, false, true, 1}}, "0,00"},
        // 10,00 at 20 % carries 1,67 tax, net 8,33; less 10,01 acquired
        Jahr{"Cent",
             {B{"10.01.2026", "10", 20}, B{"15.03.2026", "12,34", 0, false, false, true, 1},
              B{"14.02.2026", "10,01", 20, false, true, false, 1}},
             "-1,68"}));

// A period takes its bookings by voucher date: the last day in, the next day out.
class ZeitraumTest : public AuswertungTest {
protected:
    // The second header line and the result of each report for the period code.
    QStringList berichte(int code) {
        QStringList out;
        const auto nimm = [&out](const reportengine::PageModel& m, bool letztes) {
            const QStringList z = reportengine::textLines(m);
            out << z.value(1).split(QLatin1Char('\t')).first();
            for (const QString& zeile : z) {
                const QStringList f = zeile.split(QLatin1Char('\t'));
                if (f.first() == QLatin1String("Ergebnis"))
                    out << (letztes ? f.last() : f.at(1));
            }
        };
        T_RepDaten a, b, c;
        TRep_EinAus kreise(a);
        nimm(einaus::auswertungErzeugen(*dm, kreise, a, 0, code), false);
        TRep_EinAusDetail details(dm->db(), b);
        einaus::detailDatenSetzen(*dm, b, code);
        nimm(einaus::detailsErzeugen(*dm, details, b), false);
        TRep_PlusMinus plusMinus(c);
        nimm(plusminus::erzeugen(*dm, plusMinus, c, code), true);
        return out;
    }
};

TEST_F(ZeitraumTest, EachReportShowsOnlyItsPeriod) {
    buche({{"01.01.2026", "1200", 20}, {"31.03.2026", "120", 20}, {"01.04.2026", "600", 20}});
    EXPECT_EQ(berichte(13),
              QStringList({"1. Quartal 2026", "1.100,00", "1. Quartal 2026 alle Buchungskreise",
                           "1.100,00", "1. Quartal 2026", "1.100,00"}));
    EXPECT_EQ(berichte(4), QStringList({"April 2026", "500,00", "April 2026 alle Buchungskreise",
                                        "500,00", "April 2026", "500,00"}));
    EXPECT_EQ(berichte(17), QStringList({"Jahr 2026", "1.600,00", "Jahr 2026 alle Buchungskreise",
                                         "1.600,00", "Jahr 2026", "1.600,00"}));
    // a month without bookings: headers and a result of nothing
    EXPECT_EQ(berichte(5), QStringList({"Mai 2026", "0,00", "Mai 2026 alle Buchungskreise", "0,00",
                                        "Mai 2026", "0,00"}));
}

} // namespace
