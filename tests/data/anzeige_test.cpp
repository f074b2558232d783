#include "data/anzeige.h"

#include <QDate>
#include <gtest/gtest.h>
#include <limits>

namespace {

// What a list shows and what a typed writer receives for a stored value,
// by column kind: the display text and the typed value must come from one rule.
TEST(Anzeige, DisplayTextAndTypedValueOfEveryKind) {
    const QVariant leer;
    const struct {
        FeldArt art;
        QVariant roh;
        const char* text;
        QVariant typisiert;
    } cases[] = {
        {FeldArt::Waehrung, qlonglong(1200000), "120",
         QVariant::fromValue(Currency::fromUnits(1200000))},
        {FeldArt::Waehrung, qlonglong(-2400000), "-240",
         QVariant::fromValue(Currency::fromUnits(-2400000))},
        {FeldArt::Waehrung, qlonglong(166700), "16,67",
         QVariant::fromValue(Currency::fromUnits(166700))},
        {FeldArt::Waehrung, qlonglong(-5000), "-0,5",
         QVariant::fromValue(Currency::fromUnits(-5000))},
        {FeldArt::Waehrung, qlonglong(1), "0,0001", QVariant::fromValue(Currency::fromUnits(1))},
        {FeldArt::Waehrung, qlonglong(0), "0", QVariant::fromValue(Currency::fromUnits(0))},
        {FeldArt::Waehrung, std::numeric_limits<qlonglong>::min(), "-922337203685477,5808",
         QVariant::fromValue(Currency::fromUnits(std::numeric_limits<qlonglong>::min()))},
        {FeldArt::Waehrung, leer, "", leer},
        {FeldArt::Ganzzahl, qlonglong(20), "20", qlonglong(20)},
        {FeldArt::Ganzzahl, qlonglong(-7), "-7", qlonglong(-7)},
        {FeldArt::Ganzzahl, 20.0, "20", qlonglong(20)},
        // the one real a rate column holds
        {FeldArt::Ganzzahl, 4.9, "4,9", QVariant::fromValue(Currency::fromUnits(49000))},
        {FeldArt::Ganzzahl, leer, "", leer},
        {FeldArt::Datum, QStringLiteral("2026-03-01"), "01.03.2026", QDate(2026, 3, 1)},
        {FeldArt::Datum, leer, "", leer},
        {FeldArt::Text, QStringLiteral("Miete Büro"), "Miete Büro", QStringLiteral("Miete Büro")},
        {FeldArt::Text, leer, "", leer},
    };
    for (const auto& c : cases) {
        const QString was = QStringLiteral("%1 %2").arg(int(c.art)).arg(c.roh.toString());
        const QVariant t = anzeige::typisiert(c.art, c.roh);
        EXPECT_EQ(t, c.typisiert) << was.toStdString();
        EXPECT_EQ(anzeige::text(c.art, t), QString::fromUtf8(c.text)) << was.toStdString();
        // a model's roles: the text, and the typed value only in its kind's role
        EXPECT_EQ(anzeige::wert(c.art, c.roh, Qt::DisplayRole), QString::fromUtf8(c.text))
            << was.toStdString();
        const bool zahl = c.art == FeldArt::Waehrung || c.art == FeldArt::Ganzzahl;
        EXPECT_EQ(anzeige::wert(c.art, c.roh, ZahlRolle), zahl ? c.typisiert : leer)
            << was.toStdString();
        EXPECT_EQ(anzeige::wert(c.art, c.roh, DatumRolle),
                  c.art == FeldArt::Datum ? c.typisiert : leer)
            << was.toStdString();
    }
}

TEST(Anzeige, IntegersAndDates) {
    EXPECT_EQ(anzeige::ganzzahl(0), "0");
    EXPECT_EQ(anzeige::ganzzahl(-1), "-1");
    EXPECT_EQ(anzeige::ganzzahl(std::numeric_limits<qint64>::min()), "-9223372036854775808");
    EXPECT_EQ(anzeige::ganzzahl(std::numeric_limits<qint64>::max()), "9223372036854775807");
    EXPECT_EQ(anzeige::datum(QDate(2026, 12, 31)), "31.12.2026");
    EXPECT_EQ(anzeige::datum(QDate(999, 1, 5)), "05.01.0999");
    EXPECT_EQ(anzeige::datum(QDate()), "");
}

} // namespace
