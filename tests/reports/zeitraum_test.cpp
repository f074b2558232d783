#include "reports/tmonatsauswahl.h"
#include "reports/tuvaauswahl.h"
#include "reports/zeitraum.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

// The codes the focus visits, starting on start, one arrow key per stop.
std::vector<int> stopps(TMonatsAuswahl& d, int start, Qt::Key key, int anzahl) {
    d.show();
    d.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&d));
    d.RadioButton(start)->click();
    d.RadioButton(start)->setFocus();
    std::vector<int> besucht;
    for (int i = 0; i < anzahl; ++i) {
        QTest::keyClick(QApplication::focusWidget(), key);
        int code = 0;
        for (int c = 1; c <= 17; ++c)
            if (d.RadioButton(c) == QApplication::focusWidget())
                code = c;
        // the focus and the choice move together
        EXPECT_EQ(d.rueckgabe(), code);
        besucht.push_back(code);
    }
    return besucht;
}

using Stopps = std::vector<int>;

TEST(MonatsAuswahl, ArrowKeysFollowTheButtonsAsTheyAreSeen) {
    // Jänner Apr Juli Okt / Feb Mai Aug Nov / März Juni Sep Dez / Q1..Q4 / Ganzes Jahr
    TMonatsAuswahl d;
    EXPECT_EQ(stopps(d, 17, Qt::Key_Up, 6), (Stopps{13, 3, 2, 1, 1, 1}));
    EXPECT_EQ(stopps(d, 1, Qt::Key_Down, 6), (Stopps{2, 3, 13, 17, 17, 17}));
    EXPECT_EQ(stopps(d, 15, Qt::Key_Up, 4), (Stopps{9, 8, 7, 7}));
    EXPECT_EQ(stopps(d, 7, Qt::Key_Down, 5), (Stopps{8, 9, 15, 17, 17}));
    EXPECT_EQ(stopps(d, 1, Qt::Key_Right, 18),
              (Stopps{4, 7, 10, 2, 5, 8, 11, 3, 6, 9, 12, 13, 14, 15, 16, 17, 17, 17}));
    EXPECT_EQ(stopps(d, 17, Qt::Key_Left, 18),
              (Stopps{16, 15, 14, 13, 12, 9, 6, 3, 11, 8, 5, 2, 10, 7, 4, 1, 1, 1}));
}

TEST(MonatsAuswahl, ArrowKeysSkipTheHiddenChoices) {
    TExportauswahl e;
    EXPECT_EQ(stopps(e, 12, Qt::Key_Down, 2), (Stopps{12, 12}));
    EXPECT_EQ(stopps(e, 12, Qt::Key_Up, 3), (Stopps{11, 10, 10}));
    EXPECT_EQ(stopps(e, 3, Qt::Key_Right, 4), (Stopps{6, 9, 12, 12}));
    TUvaAuswahl u;
    EXPECT_EQ(stopps(u, 16, Qt::Key_Down, 2), (Stopps{16, 16}));
    EXPECT_EQ(stopps(u, 13, Qt::Key_Left, 2), (Stopps{12, 9}));
    EXPECT_EQ(stopps(u, 12, Qt::Key_Down, 2), (Stopps{16, 16}));
}

TEST(ZeitraumBestimmen, AllSeventeenCodesInALeapAndACommonYear) {
    const char* const monate[] = {"Jänner",    "Februar", "März",     "April",
                                  "Mai",       "Juni",    "Juli",     "August",
                                  "September", "Oktober", "November", "Dezember"};
    const int tage2008[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    for (const int jahr : {2008, 2009, 1900, 2000}) {
        const bool schalt = QDate::isLeapYear(jahr);
        for (int m = 1; m <= 12; ++m) {
            const int tage = (m == 2 && !schalt) ? 28 : tage2008[m - 1];
            const auto p = ZeitraumBestimmen(m, jahr);
            ASSERT_TRUE(p.has_value());
            EXPECT_EQ(*p, (Periode{QDate(jahr, m, 1), QDate(jahr, m, tage),
                                   QString::fromUtf8(monate[m - 1]) + QLatin1Char(' ') +
                                       QString::number(jahr)}))
                << jahr << " " << m;
        }
        for (int q = 1; q <= 4; ++q) {
            const auto p = ZeitraumBestimmen(12 + q, jahr);
            ASSERT_TRUE(p.has_value());
            EXPECT_EQ(p->Von, QDate(jahr, 3 * q - 2, 1));
            EXPECT_EQ(p->Bis, QDate(jahr, 3 * q, 1).addMonths(1).addDays(-1));
            EXPECT_EQ(p->ZeitraumText, QStringLiteral("%1. Quartal %2").arg(q).arg(jahr));
        }
        EXPECT_EQ(*ZeitraumBestimmen(17, jahr), (Periode{QDate(jahr, 1, 1), QDate(jahr, 12, 31),
                                                         QStringLiteral("Jahr %1").arg(jahr)}));
    }
    EXPECT_EQ(ZeitraumBestimmen(3, 2008)->ZeitraumText, "März 2008");
    EXPECT_EQ(ZeitraumBestimmen(13, 2008)->ZeitraumText, "1. Quartal 2008");
    EXPECT_EQ(ZeitraumBestimmen(17, 2008)->ZeitraumText, "Jahr 2008");
    EXPECT_EQ(ZeitraumBestimmen(2, 2008)->Bis, QDate(2008, 2, 29));
    EXPECT_EQ(ZeitraumBestimmen(2, 2009)->Bis, QDate(2009, 2, 28));
    EXPECT_EQ(ZeitraumBestimmen(2, 1900)->Bis, QDate(1900, 2, 28));
    for (const int falsch : {0, 18, -1})
        EXPECT_FALSE(ZeitraumBestimmen(falsch, 2008).has_value()) << falsch;
}

TEST(MonatsAuswahl, EveryShowingStartsOnTheWholeYearAndKeepsTheExportTick) {
    TMonatsAuswahl d;
    EXPECT_EQ(d.windowTitle(), "Monats Auswahl");
    const char* const quartale[] = {"1. Quartal", "2. Quartal", "3. Quartal", "4. Quartal"};
    for (int q = 0; q < 4; ++q)
        EXPECT_EQ(d.RadioButton(13 + q)->text(), QString::fromLatin1(quartale[q]));
    EXPECT_EQ(d.RadioButton(1)->text(), "Jänner");
    EXPECT_EQ(d.RadioButton(17)->text(), "Ganzes Jahr");
    d.show();
    EXPECT_TRUE(d.RadioButton(17)->isChecked());
    for (int code = 1; code <= 17; ++code) {
        d.RadioButton(code)->click();
        EXPECT_EQ(d.rueckgabe(), code);
        EXPECT_EQ(d.Edit_rueckgabe->text(), QString::number(code));
        // one choice clears the others
        for (int other = 1; other <= 17; ++other)
            EXPECT_EQ(d.RadioButton(other)->isChecked(), other == code);
    }
    d.RadioButton(3)->click();
    d.CheckBox_export->setChecked(true);
    d.hide();
    d.show();
    EXPECT_TRUE(d.RadioButton(17)->isChecked());
    EXPECT_EQ(d.rueckgabe(), 17);
    EXPECT_TRUE(d.datenexport());
    EXPECT_FALSE(d.Edit_rueckgabe->isVisible());
    // arrow keys move between the choices
    d.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&d));
    d.RadioButton(1)->click();
    d.RadioButton(1)->setFocus();
    QTest::keyClick(d.RadioButton(1), Qt::Key_Down);
    EXPECT_EQ(d.rueckgabe(), 2);
}

TEST(Exportauswahl, OpensOnDecemberAndOffersOnlyTheMonths) {
    TExportauswahl d;
    EXPECT_EQ(d.windowTitle(), "Exportauswahl");
    EXPECT_EQ(d.Label1->text(),
              "Es werden Daten vom 1.1 des Jahres bis zum Ende des gewählten Monats exportiert:");
    d.show();
    EXPECT_TRUE(d.RadioButton(12)->isChecked());
    EXPECT_EQ(d.rueckgabe(), 12);
    for (int code = 1; code <= 17; ++code)
        EXPECT_EQ(d.RadioButton(code)->isVisible(), code <= 12) << code;
    d.RadioButton(6)->click();
    EXPECT_EQ(d.rueckgabe(), 6);
    d.hide();
    d.show();
    EXPECT_EQ(d.rueckgabe(), 12);
}

} // namespace
