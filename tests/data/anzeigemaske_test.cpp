#include "data/currency.h"

#include <gtest/gtest.h>

namespace {

Currency betrag(const char* text) {
    return *Currency::parse(QString::fromUtf8(text));
}

TEST(Anzeigemaske, SectionsGroupingAndRounding) {
    const struct {
        const char* mask;
        const char* value;
        const char* expected;
    } cases[] = {
        {"#,##0.00", "1234,5", "1.234,50"},
        {"#,##0.00", "-1234,5", "-1.234,50"},
        {"#,##0.00", "0", "0,00"},
        {"#,##0.00", "1234567,891", "1.234.567,89"},
        {"#,##0.00", "0,005", "0,01"},   // halves away from zero
        {"#,##0.00", "-0,005", "-0,01"}, // on both sides
        {"#,##0.00", "0,0049", "0,00"},
        {"#,##0.00", "-0,0049", "0,00"}, // no minus for what prints as zero
        {"#,##0.00;;''", "0", ""},
        {"#,##0.00;;''", "0,004", ""},       // zero after rounding
        {"#,##0.00;;''", "-12,5", "-12,50"}, // empty negative section: the first with a minus
        {"#,##0.00;;''", "200", "200,00"},
        {"#,##0.00;(#,##0.00);'-'", "-1234", "(1.234,00)"},
        {"#,##0.00;(#,##0.00);'-'", "0", "-"},
        {"#,##0.00 €", "1234,5", "1.234,50 €"},
        {"0", "12,5", "13"},
        {"0.0###", "1,25", "1,25"},
        {"0.0###", "1", "1,0"},
        {"#,##0", "999999", "999.999"},
        {"'EUR '0.00", "3", "EUR 3,00"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(betrag(c.value).formatMaske(QString::fromUtf8(c.mask)),
                  QString::fromUtf8(c.expected))
            << c.mask << " " << c.value;
}

// A report's columns take turns with their masks, more of them than are
// kept parsed: each value still gets its own column's mask.
TEST(Anzeigemaske, MasksTakingTurnsKeepTheirOwnSections) {
    const struct {
        const char* mask;
        const char* expected;
    } masken[] = {
        {"#,##0.00", "-1.234,50"},
        {"#,##0.00;;''", "-1.234,50"},
        {"0", "-1235"},
        {"0.0###", "-1234,5"},
        {"#,##0", "-1.235"},
        {"'EUR '0.00", "-EUR 1234,50"},
        {"#,##0.00 €", "-1.234,50 €"},
        {"0.000", "-1234,500"},
        {"#,##0.0", "-1.234,5"},
        {"#,##0.00;(#,##0.00);'-'", "(1.234,50)"},
    };
    const Currency wert = betrag("-1234,5");
    for (int runde = 0; runde < 3; ++runde) {
        for (const auto& m : masken)
            EXPECT_EQ(wert.formatMaske(QString::fromUtf8(m.mask)), QString::fromUtf8(m.expected))
                << m.mask << " round " << runde;
    }
}

TEST(Anzeigemaske, AgreesWithTheFixedFormatOnExtremes) {
    for (const std::int64_t units : {std::int64_t{0}, std::int64_t{-50}, std::int64_t{49},
                                     std::numeric_limits<std::int64_t>::max(),
                                     std::numeric_limits<std::int64_t>::min() + 100}) {
        const Currency c = Currency::fromUnits(units);
        EXPECT_EQ(c.formatMaske(QStringLiteral("#,##0.00")), c.format()) << units;
    }
}

} // namespace
