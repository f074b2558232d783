#include "toolkit/qtuserseam.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

// Runs pruefen on the modal box once it is open, then closes it.
void sobaldOffen(std::function<void(QWidget*)> pruefen) {
    QTimer::singleShot(0, [pruefen] {
        QWidget* box = QApplication::activeModalWidget();
        ASSERT_NE(box, nullptr);
        pruefen(box);
        if (auto* dialog = qobject_cast<QDialog*>(box))
            dialog->reject();
    });
}

// Activation reaches the window through the event loop.
bool aktivWird(QWidget* fenster) {
    return QTest::qWaitFor([fenster] { return QApplication::activeWindow() == fenster; }, 1000);
}

TEST(QtUserSeam, CaptionsOfTheBoxes) {
    QtUserSeam ui;
    const struct {
        UserSeam::Kind kind;
        const char* caption;
    } faelle[] = {
        // the toolkit's error box carries the application's title
        {UserSeam::Kind::Error, "Velmora"},
        {UserSeam::Kind::Plain, "Velmora"},
        {UserSeam::Kind::Warning, "Warnung"},
        {UserSeam::Kind::Confirmation, "Bestätigen"},
    };
    for (const auto& fall : faelle) {
        QString caption;
        QString text;
        sobaldOffen([&](QWidget* box) {
            caption = box->windowTitle();
            text = static_cast<QMessageBox*>(box)->text();
        });
        ui.question(fall.kind, QStringLiteral("Firma <b>A</b>\rZeile"), UserSeam::Ok);
        EXPECT_EQ(caption, QString::fromUtf8(fall.caption));
        EXPECT_EQ(text, QStringLiteral("Firma <b>A</b>\nZeile"));
    }
    QString caption;
    sobaldOffen([&](QWidget* box) { caption = box->windowTitle(); });
    ui.error(QStringLiteral("Datenbankfehler"));
    EXPECT_EQ(caption, QStringLiteral("Velmora"));
}

TEST(QtUserSeam, TheDefaultButtonIsTheFirstUnlessNoIsAskedFor) {
    QtUserSeam ui;
    for (const auto& [knoepfe, vorgabe] :
         {std::pair{UserSeam::Yes | UserSeam::No, "&Ja"},
          std::pair{UserSeam::Yes | UserSeam::No | UserSeam::DefaultNo, "&Nein"},
          std::pair{UserSeam::Ok | UserSeam::Cancel, "OK"}}) {
        QString text;
        sobaldOffen([&](QWidget* box) {
            auto* b = static_cast<QMessageBox*>(box)->defaultButton();
            text = b ? b->text() : QString();
        });
        ui.question(UserSeam::Kind::Confirmation, QStringLiteral("Frage"), knoepfe);
        EXPECT_EQ(text, QString::fromUtf8(vorgabe));
    }
}

TEST(QtUserSeam, TheWindowGetsTheKeyboardBackAfterABoxOrDialog) {
    QWidget fenster;
    auto* feld = new QLineEdit(&fenster);
    fenster.show();
    QApplication::setActiveWindow(&fenster);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&fenster));
    feld->setFocus();
    QtUserSeam ui;
    ui.setParent(&fenster);

    sobaldOffen([](QWidget*) {});
    ui.message(QStringLiteral("Hinweis"));
    EXPECT_TRUE(aktivWird(&fenster)) << "after a message box";
    EXPECT_EQ(QApplication::focusWidget(), feld);

    QDialog dialog(&fenster);
    sobaldOffen([](QWidget*) {});
    ui.runModal(dialog);
    EXPECT_TRUE(aktivWird(&fenster)) << "after a dialog";
    EXPECT_EQ(QApplication::focusWidget(), feld);

    // a box over a dialog gives the keyboard back to the dialog
    QDialog aussen(&fenster);
    auto* innen = new QLineEdit(&aussen);
    QWidget* nachInnen = nullptr;
    QTimer::singleShot(0, [&] {
        innen->setFocus();
        sobaldOffen([](QWidget*) {});
        ui.message(QStringLiteral("Innen"));
        if (aktivWird(&aussen))
            nachInnen = &aussen;
        aussen.reject();
    });
    ui.runModal(aussen);
    EXPECT_EQ(nachInnen, &aussen);
    EXPECT_TRUE(aktivWird(&fenster));
}

} // namespace
