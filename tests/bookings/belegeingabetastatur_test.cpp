#include "belegtest.h"

#include "bookings/belegeingabepfeile.h"

#include <algorithm>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <memory>

// The booking dialog driven by the keyboard alone, shown as a real window.
class BelegeingabeTastaturTest : public BelegFixture {
protected:
    std::unique_ptr<TFormBelegeingabe> zeigen(std::unique_ptr<TFormBelegeingabe> f) {
        f->show();
        QApplication::setActiveWindow(f.get());
        f->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(f.get()));
        return f;
    }
    std::unique_ptr<TFormBelegeingabe> neu() {
        Buchung b;
        b.mandant = mandant;
        return zeigen(
            std::make_unique<TFormBelegeingabe>(*umgebung, b, DatensatzZustand::Einfuegen));
    }
    std::unique_ptr<TFormBelegeingabe> aendern(int id) {
        return zeigen(std::make_unique<TFormBelegeingabe>(
            *umgebung, *buchungstabelle::lesen(dm->db(), id, mandant),
            DatensatzZustand::Bearbeiten));
    }
    // The control that holds the keyboard focus, by name.
    static QString fokus(const TFormBelegeingabe& f) {
        for (QWidget* w = QApplication::focusWidget(); w; w = w->parentWidget()) {
            if (!w->objectName().isEmpty() && w->parentWidget() == &f)
                return w->objectName();
        }
        return QStringLiteral("?");
    }
    static void taste(int key, Qt::KeyboardModifiers mod = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(key), mod);
    }
};

TEST_F(BelegeingabeTastaturTest, TabVisitsTheControlsInTheirOrder) {
    auto f = neu();
    // an expense, so that the four flag boxes take part
    f->DBCheckBoxAus->click();
    f->DBCheckBoxEin->setFocus();
    // every key press is one stop, also a second stop on the same control
    const QStringList reihenfolge{
        "DBCheckBoxEin", "DBCheckBoxAus",     "DatumPicker",        "DBEditBelegnummer",
        "DBComboText",   "DBEdit_Betrag",     "DBCombo_Steuersatz", "DBLookupComboBox1",
        "BitBtn1",       "DBCheckBoxEU",      "DBCheckBoxDritt",    "DBCheckBoxRC",
        "DBCheckBoxBau", "UpDown1",           "SchalterOK",         "SchalterCancel",
        "BitBtn2",       "SchalterOK_WEITER", "DBCheckBoxKFZ",      "DBCheckBoxGebaeude",
        "DBCheckBoxEin"};
    QStringList vor{fokus(*f)};
    for (qsizetype i = 1; i < reihenfolge.size(); ++i) {
        taste(Qt::Key_Tab);
        vor << fokus(*f);
    }
    EXPECT_EQ(vor, reihenfolge);
    QStringList zurueck{fokus(*f)};
    for (qsizetype i = 1; i < reihenfolge.size(); ++i) {
        taste(Qt::Key_Backtab, Qt::ShiftModifier);
        zurueck << fokus(*f);
    }
    std::reverse(zurueck.begin(), zurueck.end());
    EXPECT_EQ(zurueck, reihenfolge);
}

TEST_F(BelegeingabeTastaturTest, ABookingTypedWithTheKeyboardAloneKeepsItsDate) {
    auto f = neu();
    ASSERT_EQ(fokus(*f), QStringLiteral("DBCheckBoxEin"));
    const auto tippen = [](const char* text) {
        QTest::keyClicks(QApplication::focusWidget(), QLatin1String(text));
    };
    taste(Qt::Key_Tab);
    taste(Qt::Key_Tab);
    ASSERT_EQ(fokus(*f), QStringLiteral("DatumPicker"));
    tippen("15.03.2026");
    taste(Qt::Key_Tab);
    ASSERT_EQ(fokus(*f), QStringLiteral("DBEditBelegnummer"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
    tippen("77");
    taste(Qt::Key_Tab);
    ASSERT_EQ(fokus(*f), QStringLiteral("DBComboText"));
    tippen("Miete");
    taste(Qt::Key_Tab);
    ASSERT_EQ(fokus(*f), QStringLiteral("DBEdit_Betrag"));
    tippen("120,00");
    taste(Qt::Key_Tab);
    taste(Qt::Key_Tab);
    ASSERT_EQ(fokus(*f), QStringLiteral("DBLookupComboBox1"));
    taste(Qt::Key_Down);
    taste(Qt::Key_Return);
    ASSERT_EQ(f->result(), QDialog::Accepted);
    EXPECT_EQ(f->datensatz().Buchungsdatum, QDate(2026, 3, 15));
    EXPECT_EQ(f->datensatz().Belegnummer, 77);
    EXPECT_EQ(f->datensatz().Text, QStringLiteral("Miete"));
    EXPECT_EQ(f->datensatz().Betrag.units(), 1200000);

    // three Tabs pass the date by, and the voucher number lands as typed
    auto g = neu();
    const QDate vorher = g->DatumPicker->date();
    for (int i = 0; i < 3; ++i)
        taste(Qt::Key_Tab);
    ASSERT_EQ(fokus(*g), QStringLiteral("DBEditBelegnummer"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
    tippen("7");
    EXPECT_EQ(g->DatumPicker->date(), vorher);
    EXPECT_EQ(g->DBEditBelegnummer->text(), QStringLiteral("7"));
}

TEST_F(BelegeingabeTastaturTest, TabLeavesTheDateFieldFromEverySection) {
    auto f = neu();
    f->DatumPicker->setDate(QDate(2026, 3, 15));
    for (const auto sektion :
         {QDateTimeEdit::DaySection, QDateTimeEdit::MonthSection, QDateTimeEdit::YearSection}) {
        f->DatumPicker->setFocus();
        f->DatumPicker->setCurrentSection(sektion);
        taste(Qt::Key_Tab);
        EXPECT_EQ(fokus(*f), QStringLiteral("DBEditBelegnummer")) << sektion;
        f->DatumPicker->setFocus();
        f->DatumPicker->setCurrentSection(sektion);
        taste(Qt::Key_Backtab, Qt::ShiftModifier);
        EXPECT_EQ(fokus(*f), QStringLiteral("DBCheckBoxAus")) << sektion;
    }
    // inside the field a dot moves on to the next section
    f->DatumPicker->setFocus();
    f->DatumPicker->setCurrentSection(QDateTimeEdit::DaySection);
    f->DatumPicker->setSelectedSection(QDateTimeEdit::DaySection);
    QTest::keyClicks(f->DatumPicker, QLatin1String("20."));
    EXPECT_EQ(f->DatumPicker->currentSection(), QDateTimeEdit::MonthSection);
    EXPECT_EQ(f->DatumPicker->date(), QDate(2026, 3, 20));
}

TEST_F(BelegeingabeTastaturTest, AltKeysEnterAndEscInANewBooking) {
    auto f = neu();
    EXPECT_EQ(fokus(*f), QStringLiteral("DBCheckBoxEin"));
    // a mnemonic clicks its box a moment later, as a mouse click would look
    taste(Qt::Key_A, Qt::AltModifier);
    QTest::qWait(300);
    EXPECT_TRUE(f->DBCheckBoxAus->isChecked());
    EXPECT_FALSE(f->DBCheckBoxEin->isChecked());
    EXPECT_TRUE(f->DBCheckBoxKFZ->isEnabled());
    taste(Qt::Key_E, Qt::AltModifier);
    QTest::qWait(300);
    EXPECT_TRUE(f->DBCheckBoxEin->isChecked());
    EXPECT_FALSE(f->DBCheckBoxKFZ->isEnabled());

    f->DBEdit_Betrag->setFocus();
    f->DBEdit_Betrag->setText("10");
    f->DBLookupComboBox1->setFocus();
    taste(Qt::Key_Down);
    EXPECT_TRUE(f->buchungskreis().has_value());
    for (QWidget* w : std::initializer_list<QWidget*>{f->DBComboText, f->DBCombo_Steuersatz,
                                                      f->DatumPicker, f->DBEditBelegnummer}) {
        w->setFocus();
        taste(Qt::Key_Escape);
        EXPECT_EQ(f->result(), QDialog::Rejected) << w->objectName().toStdString();
        EXPECT_TRUE(f->isVisible() == false) << w->objectName().toStdString();
        f->show();
        f->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(f.get()));
        w->setFocus();
        taste(Qt::Key_Return);
        EXPECT_EQ(f->result(), QDialog::Accepted) << w->objectName().toStdString();
        EXPECT_TRUE(f->Weiterbuchen()) << w->objectName().toStdString();
        f->show();
        f->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(f.get()));
    }
}

TEST_F(BelegeingabeTastaturTest, EnterConfirmsAChange) {
    const int id = buchung(mandant, zeitraum, "2026-05-20", "10", 20, buero, true);
    auto f = aendern(id);
    EXPECT_FALSE(f->SchalterOK_WEITER->isEnabled());
    // also after the focus has passed over another button
    f->SchalterCancel->setFocus();
    f->DBEdit_Betrag->setFocus();
    f->DBEdit_Betrag->setText("11");
    taste(Qt::Key_Return);
    EXPECT_EQ(f->result(), QDialog::Accepted);
    EXPECT_FALSE(f->Weiterbuchen());
    EXPECT_EQ(f->datensatz().Betrag.units(), 110000);
}

TEST_F(BelegeingabeTastaturTest, TheDateArrowsShowTheirFocusAndTakeTheArrowKeys) {
    auto f = neu();
    f->DatumPicker->setDate(QDate(2026, 6, 1));
    f->DBCheckBoxAus->click();
    f->DBCheckBoxBau->setFocus();
    const QImage ohne = f->UpDown1->grab().toImage();
    taste(Qt::Key_Tab);
    ASSERT_EQ(fokus(*f), QStringLiteral("UpDown1"));
    // a control the keyboard reaches must show that it has the focus
    EXPECT_TRUE(f->UpDown1->grab().toImage() != ohne) << "no focus to be seen";
    taste(Qt::Key_Up);
    taste(Qt::Key_Up);
    taste(Qt::Key_Down);
    EXPECT_EQ(f->DatumPicker->date(), QDate(2026, 6, 2));
    EXPECT_EQ(f->DBDatum->text(), QStringLiteral("02.06.2026"));
}

TEST_F(BelegeingabeTastaturTest, TheFocusIsSeenFromTheStartAlsoOnCheckBoxes) {
    auto f = neu();
    ASSERT_EQ(fokus(*f), QStringLiteral("DBCheckBoxEin"));
    // no key has been pressed yet: the dialog opened with the focus there
    for (QWidget* w : std::initializer_list<QWidget*>{f->DBCheckBoxEin, f->DBCheckBoxAus,
                                                      f->SchalterOK, f->SchalterCancel}) {
        w->setFocus();
        const QImage mit = w->grab().toImage();
        f->DBEdit_Betrag->setFocus();
        EXPECT_TRUE(w->grab().toImage() != mit) << w->objectName().toStdString();
    }
}
