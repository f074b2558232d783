#include "belegtest.h"

#include "bookings/belegeingabepfeile.h"
#include "toolkit/tastensuche.h"

#include <algorithm>

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <functional>
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
    // every key press is one stop, also a second stop on the same control;
    // boxes that join after "Einfuhr aus Drittland" go in right after it
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

TEST_F(BelegeingabeTastaturTest, AltEChoosesIncomeAndAltANeverTakesAnExpenseBack) {
    const int einnahme = buchung(mandant, zeitraum, "2026-05-20", "10", 20, erloese, true);
    const int ausgabe = buchung(mandant, zeitraum, "2026-05-21", "10", 20, buero, false);
    dm->db().execute(
        QStringLiteral("update T_Buchungen set IstKFZ = 1 where id = %1").arg(ausgabe));
    const auto alt = [](Qt::Key k) {
        taste(k, Qt::AltModifier);
        // a mnemonic clicked its box a moment later; it must not do so here either
        QTest::qWait(250);
    };
    const struct {
        const char* fall;
        std::function<std::unique_ptr<TFormBelegeingabe>()> oeffnen;
        bool istEinnahme;
    } starts[] = {
        {"new, income", [this] { return neu(); }, true},
        {"new, remembered expense",
         [this] {
             ini->writeString(TDM_EinAus::buchenAbschnitt(mandant), "IstEinnahme", "2");
             return neu();
         },
         false},
        {"change of an income", [&] { return aendern(einnahme); }, true},
        {"change of a vehicle expense", [&] { return aendern(ausgabe); }, false},
    };
    for (const auto& s : starts) {
        for (const Qt::Key k : {Qt::Key_E, Qt::Key_A}) {
            auto f = s.oeffnen();
            ASSERT_EQ(f->DBCheckBoxEin->isChecked(), s.istEinnahme) << s.fall;
            const bool kfz = f->DBCheckBoxKFZ->isChecked();
            // twice: the second press must change nothing
            for (int mal = 0; mal < 2; ++mal) {
                alt(k);
                const bool soll = k == Qt::Key_E;
                EXPECT_EQ(f->DBCheckBoxEin->isChecked(), soll) << s.fall << " " << mal;
                EXPECT_EQ(f->DBCheckBoxAus->isChecked(), !soll) << s.fall << " " << mal;
                EXPECT_EQ(fokus(*f), soll ? "DBCheckBoxEin" : "DBCheckBoxAus") << s.fall;
                EXPECT_EQ(f->DBCheckBoxKFZ->isEnabled(), !soll) << s.fall;
                // an expense kept keeps its flags
                if (!soll && !s.istEinnahme) {
                    EXPECT_EQ(f->DBCheckBoxKFZ->isChecked(), kfz) << s.fall;
                }
            }
        }
    }
}

TEST_F(BelegeingabeTastaturTest, TypingFindsACircleByItsWholeName) {
    kreis(mandant, QStringLiteral("Erlöse Gastro"), QStringLiteral("G"));
    kreis(mandant, QStringLiteral("Erlöse Bücher"), QStringLiteral("Bü"));
    kreis(mandant, QStringLiteral("Ärztin"), QStringLiteral("Ä"));
    auto f = neu();
    f->DBLookupComboBox1->setFocus();
    const auto tippen = [&](const QString& text) {
        for (const QChar c : text) {
            QKeyEvent druck(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(f->DBLookupComboBox1, &druck);
        }
        return f->DBLookupComboBox1->currentText();
    };
    const auto pause = [] { QTest::qWait(QApplication::keyboardInputInterval() + 100); };
    EXPECT_EQ(tippen(QStringLiteral("Erlöse G")), QStringLiteral("Erlöse Gastro"));
    EXPECT_FALSE(f->DBLookupComboBox1->view()->isVisible()) << "the blank opened the list";
    EXPECT_EQ(f->buchungskreis(), f->DBLookupComboBox1->currentData().toInt());
    pause();
    // without regard to case, umlauts included; each letter narrows the choice
    EXPECT_EQ(tippen(QStringLiteral("e")), QStringLiteral("Erlöse"));
    EXPECT_EQ(tippen(QStringLiteral("RLÖSE B")), QStringLiteral("Erlöse Bücher"));
    pause();
    EXPECT_EQ(tippen(QStringLiteral("ä")), QStringLiteral("Ärztin"));
    // a letter that fits nothing leaves the choice
    EXPECT_EQ(tippen(QStringLiteral("x")), QStringLiteral("Ärztin"));
    pause();
    EXPECT_EQ(tippen(QStringLiteral("b")), QStringLiteral("Büro"));
    EXPECT_EQ(Tastensuche::finden({"Erlöse Bücher", "Erlöse Gastro"}, QStringLiteral("erlöse g")),
              1);
    EXPECT_EQ(Tastensuche::finden({"Erlöse Bücher"}, QStringLiteral("Erlöse G")), -1);
}

TEST_F(BelegeingabeTastaturTest, ALockedBookingStopsOnlyAtItsTwoButtons) {
    const int id = buchung(mandant, zeitraum, "2026-03-20", "10", 20, buero, false);
    auto f = aendern(id);
    f->nurLesen(QStringLiteral("Festgeschrieben bis 31.03.2026"));
    ASSERT_EQ(fokus(*f), QStringLiteral("SchalterSchliessen"));
    const QStringList reihenfolge{"SchalterSchliessen", "SchalterStornieren", "SchalterSchliessen",
                                  "SchalterStornieren"};
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

    // Alt+E changes nothing; Enter closes, as "Schließen" does
    taste(Qt::Key_E, Qt::AltModifier);
    QTest::qWait(250);
    EXPECT_TRUE(f->DBCheckBoxAus->isChecked());
    f->SchalterSchliessen->setFocus();
    taste(Qt::Key_Return);
    EXPECT_EQ(f->result(), QDialog::Rejected);
    EXPECT_FALSE(f->isVisible());
}
