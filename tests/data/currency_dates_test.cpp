#include "data/currency.h"
#include "data/dates.h"

#include <gtest/gtest.h>

namespace {

struct ParseCase {
    const char* text;
    std::int64_t units;
};

TEST(Currency, ParsesWhatAGermanUserTypes) {
    const ParseCase cases[] = {
        {"1.234,56", 12345600},
        {"1234,56", 12345600},
        {"12,5", 125000},
        {"-80", -800000},
        {"1234.56", 12345600},
        {"1.234", 12340000},
        {"1.234.567,8", 12345678000},
        {"0,0001", 1},
        {" 7 ", 70000},
        {",5", 5000},
        {"12,", 120000},
        {"-0,01", -100},
        {"922337203685477,5807", 9223372036854775807LL},
    };
    for (const auto& c : cases) {
        const auto v = Currency::parse(QString::fromUtf8(c.text));
        ASSERT_TRUE(v.has_value()) << c.text;
        EXPECT_EQ(v->units(), c.units) << c.text;
    }
}

TEST(Currency, RefusesAnythingElseWithAMessage) {
    for (const char* text : {"", "abc", "12a", "1,2,3", "1,23456", "12.34.5", "1.23,4", "--5",
                             "922337203685477,5808", "99999999999999999999", "1 234", "-"}) {
        QString error;
        EXPECT_FALSE(Currency::parse(QString::fromUtf8(text), &error).has_value()) << text;
        EXPECT_EQ(error,
                  QStringLiteral("'%1' ist kein gültiger Betrag.").arg(QString::fromUtf8(text)));
    }
}

TEST(Currency, FormatsWithPeriodGroupingAndCommaDecimals) {
    EXPECT_EQ(Currency::fromUnits(12345000).format(), "1.234,50");
    EXPECT_EQ(Currency::fromUnits(0).format(), "0,00");
    EXPECT_EQ(Currency::fromUnits(-5000).format(), "-0,50");
    EXPECT_EQ(Currency::fromUnits(12345678900000).format(), "1.234.567.890,00");
    EXPECT_EQ(Currency::fromUnits(50).format(), "0,01") << "halves away from zero";
    EXPECT_EQ(Currency::fromUnits(-50).format(), "-0,01");
    EXPECT_EQ(Currency::fromUnits(49).format(), "0,00");
    EXPECT_EQ(Currency::fromUnits(200000).formatEuro(), "20,00 €");
    EXPECT_EQ(formatAmount(1234.5), "1.234,50");
    EXPECT_EQ(formatAmount(-0.004), "0,00");
}

TEST(Currency, FromDoubleRoundsToTenThousandths) {
    EXPECT_EQ(Currency::fromDouble(16.67)->units(), 166700);
    EXPECT_EQ(Currency::fromDouble(0.1 + 0.2)->units(), 3000);
    EXPECT_EQ(Currency::fromDouble(-4.55)->units(), -45500);
    EXPECT_FALSE(Currency::fromDouble(1e300).has_value());
}

// The hand-made conversions of the lists answer what Qt's parser and
// formatter answer, for good and bad texts alike.
TEST(Dates, ListConversionsAgreeWithQt) {
    for (const char* text : {"2024-12-31", "2024-02-29", "2023-02-29", "2024-13-01", "2024-00-10",
                             "2024-03-05 10:11:12", "2024-3-5", "2024-03-0x", "abcd-ef-gh", "",
                             "0999-01-01", "2024/03/05"}) {
        const QString t = QString::fromLatin1(text);
        EXPECT_EQ(dates::fromSql(t), QDate::fromString(t.left(10), QStringLiteral("yyyy-MM-dd")))
            << text;
    }
    for (const QDate d :
         {QDate(2024, 3, 5), QDate(1999, 12, 31), QDate(999, 1, 2), QDate(10000, 1, 1), QDate()})
        EXPECT_EQ(dates::format(d), d.toString(QStringLiteral("dd.MM.yyyy")));
}

TEST(Dates, FormatsParsesAndNamesMonthsTheAustrianWay) {
    EXPECT_EQ(dates::format(QDate(2024, 3, 5)), "05.03.2024");
    EXPECT_EQ(dates::parse("15.03.2024"), QDate(2024, 3, 15));
    EXPECT_EQ(dates::parse("1.3.2024"), QDate(2024, 3, 1));
    EXPECT_FALSE(dates::parse("31.02.2024").has_value());
    EXPECT_FALSE(dates::parse("2024-03-15").has_value());
    EXPECT_FALSE(dates::parse("15.03.24").has_value());
    EXPECT_EQ(dates::toSql(QDate(2024, 12, 31)), "2024-12-31");
    EXPECT_EQ(dates::fromSql("2024-12-31"), QDate(2024, 12, 31));
    EXPECT_EQ(dates::lastOfMonth(2024, 2), QDate(2024, 2, 29));
    EXPECT_EQ(dates::lastOfMonth(2023, 2), QDate(2023, 2, 28));
    EXPECT_EQ(dates::firstOfMonth(2024, 7), QDate(2024, 7, 1));
    EXPECT_EQ(dates::monthName(1), "Jänner");
    EXPECT_EQ(dates::monthName(3), "März");
    EXPECT_EQ(dates::monthName(12), "Dezember");
    EXPECT_TRUE(dates::monthName(13).isEmpty());
}

} // namespace
