#include "toolkit/dateedit.h"

#include <QTest>
#include <gtest/gtest.h>

namespace {

// Typed into the day section of a field showing 10.12.2026, as a user who
// tabs into it types.
QDate eingetippt(const char* text) {
    DateEdit e;
    e.setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    e.setDateRange(QDate(2026, 1, 1), QDate(2026, 12, 31));
    e.setDate(QDate(2026, 12, 10));
    e.show();
    e.setFocus();
    e.setCurrentSection(QDateTimeEdit::DaySection);
    e.setSelectedSection(QDateTimeEdit::DaySection);
    QTest::keyClicks(&e, QLatin1String(text));
    e.interpretText();
    return e.date();
}

TEST(DateEdit, TakesDatesTypedWithTheirDots) {
    const struct {
        const char* typed;
        QDate expected;
    } cases[] = {
        {"02.03.2026", QDate(2026, 3, 2)},   {"05.03.2026", QDate(2026, 3, 5)},
        {"15.11.2026", QDate(2026, 11, 15)}, {"31.12.2026", QDate(2026, 12, 31)},
        {"1.3.2026", QDate(2026, 3, 1)},     {"9.7.2026", QDate(2026, 7, 9)},
        {"02032026", QDate(2026, 3, 2)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(eingetippt(c.typed), c.expected) << c.typed;
}

} // namespace
