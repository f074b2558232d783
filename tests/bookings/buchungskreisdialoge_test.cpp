#include "bookings/buchungskreis.h"
#include "bookings/buchungskreisauswahl.h"
#include "bookings/buchungskreisliste.h"
#include "bookings/buchungskreisneu.h"
#include "fixture.h"

#include "data/texte.h"
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

#include <QListView>
#include <QPushButton>
#include <QTest>

namespace {

// Types text into a widget as key presses, also outside ASCII.
void tippen(QWidget* w, const QString& text) {
    for (qsizetype i = 0; i < text.size();) {
        const QString zeichen = texte::ersteZeichen(text.mid(i), 1);
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, zeichen);
        QCoreApplication::sendEvent(w, &press);
        i += zeichen.size();
    }
}

TEST(BuchungskreisNeu, TheShortNameTakesTwoCharactersAndNeverHalfOfOne) {
    TFormBuchungskreisNeu d;
    auto* kurz = d.findChild<QLineEdit*>(QStringLiteral("DBEdit2"));
    auto* name = d.findChild<QLineEdit*>(QStringLiteral("DBEdit1"));
    struct Fall {
        QString getippt, bleibt;
    };
    for (const Fall& f :
         {Fall{"abc", "ab"}, Fall{"a😀b", "a😀"}, Fall{"😀😀😀", "😀😀"}, Fall{"ä", "ä"}, Fall{"", ""}}) {
        SCOPED_TRACE(f.getippt.toStdString());
        d.neu();
        tippen(kurz, f.getippt);
        EXPECT_EQ(d.kurz(), f.bleibt);
    }
    // an insertion in the middle keeps what was there
    d.neu();
    tippen(kurz, "ab");
    kurz->setCursorPosition(1);
    tippen(kurz, "x");
    EXPECT_EQ(d.kurz(), "ab");
    // a paste keeps what fits
    d.neu();
    kurz->insert("xyz");
    EXPECT_EQ(d.kurz(), "xy");
    // a longer stored short name can still be shortened
    d.bearbeiten("Alt", "abcd");
    kurz->setCursorPosition(4);
    QTest::keyClick(kurz, Qt::Key_Backspace);
    EXPECT_EQ(d.kurz(), "abc");
    tippen(kurz, "e");
    EXPECT_EQ(d.kurz(), "abc");
    // the name has no limit
    d.neu();
    tippen(name, QString(150, QLatin1Char('n')) + "ü😀");
    EXPECT_EQ(d.name().size(), 153);
}

TEST(BuchungskreisNeu, CaptionFollowsTheModeAndTheButtonsAnswer) {
    TFormBuchungskreisNeu d;
    d.neu();
    d.FormActivate();
    EXPECT_EQ(d.windowTitle(), "Neuer Buchungskreis");
    d.bearbeiten("Büro", "B");
    d.FormActivate();
    EXPECT_EQ(d.windowTitle(), "Buchungskreis bearbeiten");
    EXPECT_EQ(d.name(), "Büro");

    d.show();
    d.findChild<QPushButton*>(QStringLiteral("BitBtn2"))->click();
    EXPECT_EQ(d.result(), TFormBuchungskreisNeu::Abbruch);
    d.show();
    d.findChild<QPushButton*>(QStringLiteral("BitBtn1"))->click();
    EXPECT_EQ(d.result(), QDialog::Accepted);
}

class PickerTest : public VelmoraFixture {
protected:
    void SetUp() override {
        VelmoraFixture::SetUp();
        ersterMandant();
        m = dm->gibMandant();
    }
    QListView* liste(TFormBuchungsKreisAuswahl& d) {
        return d.findChild<QListView*>(QStringLiteral("DBLookupListBox1"));
    }
    void doppelklick(TFormBuchungsKreisAuswahl& d, int row) {
        QListView* l = liste(d);
        const QRect r = l->visualRect(l->model()->index(row, l->modelColumn()));
        QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, r.center());
        QTest::mouseDClick(l->viewport(), Qt::LeftButton, {}, r.center());
    }
    int m = -1;
};

TEST_F(PickerTest, DoubleClickAllAndCancel) {
    dm->db().execute("insert into T_BKreis (id, mandant, BKName, BKKurz) values (7, " +
                     QString::number(m) + ", 'Büro', 'B'), (3, " + QString::number(m) +
                     ", 'Auto', 'A')");
    dm->BuchungskreiseFiltern(m);
    TFormBuchungsKreisAuswahl d(dm->ADO_BK());
    EXPECT_EQ(d.windowTitle(), "Buchungskreisauswahl");
    d.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
    EXPECT_EQ(liste(d)->model()->index(1, liste(d)->modelColumn()).data().toString(), "Büro");
    doppelklick(d, 1);
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(d.result(), 1007);

    d.show();
    d.findChild<QPushButton*>(QStringLiteral("BitBtn1"))->click();
    EXPECT_EQ(d.result(), buchungskreise::Alle);
    d.show();
    d.findChild<QPushButton*>(QStringLiteral("BitBtn2"))->click();
    EXPECT_LT(d.result(), 1000);
    d.show();
    QTest::keyClick(&d, Qt::Key_Escape);
    EXPECT_FALSE(d.isVisible());
    EXPECT_LT(d.result(), 1000);

    // Enter on the selected circle chooses it as the double-click does
    d.show();
    liste(d)->setCurrentIndex(liste(d)->model()->index(0, liste(d)->modelColumn()));
    QTest::keyClick(liste(d), Qt::Key_Return);
    EXPECT_EQ(d.result(), 1003);
}

// The dialogs have fixed sizes: every text must fit in its control and every
// control in the dialog, whatever the system's font.
TEST_F(PickerTest, NoTextIsClippedInTheFixedSizeDialogs) {
    dm->BuchungskreiseFiltern(m);
    TFormBuchungsKreisAuswahl auswahl(dm->ADO_BK());
    auswahl.setDatenexportSichtbar(true);
    TFormBuchungskreisNeu neu;
    TFormBuchungskreis liste(dm->ADO_BK());
    for (QDialog* d : {static_cast<QDialog*>(&auswahl), static_cast<QDialog*>(&neu),
                       static_cast<QDialog*>(&liste)}) {
        d->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(d));
        QList<QWidget*> teile;
        for (QWidget* w : d->findChildren<QWidget*>()) {
            if (qobject_cast<QLabel*>(w) || qobject_cast<QAbstractButton*>(w) ||
                qobject_cast<QListView*>(w))
                teile << w;
        }
        for (QWidget* w : teile) {
            if (!w->isVisible())
                continue;
            SCOPED_TRACE(d->objectName().toStdString() + " " + w->objectName().toStdString());
            EXPECT_TRUE(d->rect().contains(w->geometry())) << "inside the dialog";
            if (auto* b = qobject_cast<QPushButton*>(w)) {
                // a button's size hint has a minimum width beyond its text
                const QString t = b->text().remove(QLatin1Char('&'));
                EXPECT_GE(b->width(), b->fontMetrics().horizontalAdvance(t) + 8) << "its text fits";
            } else if (!qobject_cast<QListView*>(w)) {
                EXPECT_GE(w->width(), w->sizeHint().width()) << "its text fits";
            }
            for (QWidget* andere : teile) {
                if (andere != w && andere->isVisible()) {
                    EXPECT_FALSE(w->geometry().intersects(andere->geometry()))
                        << "overlaps " << andere->objectName().toStdString();
                }
            }
        }
        d->reject();
    }
}

TEST_F(PickerTest, DoubleClickOnAnEmptyListKeepsThePickerOpen) {
    dm->BuchungskreiseFiltern(m);
    TFormBuchungsKreisAuswahl d(dm->ADO_BK());
    d.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
    d.setResult(-5);
    QTest::mouseDClick(liste(d)->viewport(), Qt::LeftButton, {}, QPoint(20, 10));
    d.DBLookupListBox1DblClick();
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(d.result(), -5);
    d.reject();
}

} // namespace
