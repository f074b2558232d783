#include "app/tastenvorschau.h"

#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

// Readable QString values in failure messages.
static void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

// Modifier keys pressed on their own, as QTest sends them before a key.
static bool nurModifier(int key) {
    return key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt ||
           key == Qt::Key_Meta;
}

namespace {

// Records the keys a widget receives, after the window's preview.
class Rekorder final : public QObject {
public:
    Rekorder(QStringList& log, QString name) : m_log(log), m_name(std::move(name)) {}

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::KeyPress && !nurModifier(static_cast<QKeyEvent*>(e)->key()))
            m_log << m_name + ":" + QString::number(static_cast<QKeyEvent*>(e)->key(), 16);
        return false;
    }

private:
    QStringList& m_log;
    QString m_name;
};

class TastenvorschauTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto* layout = new QVBoxLayout(&fenster);
        bar = new QMenuBar(&fenster);
        layout->setMenuBar(bar);
        bar->addMenu(QStringLiteral("&Datei"))->addAction(QStringLiteral("Ende"));
        feld = new QLineEdit(&fenster);
        layout->addWidget(feld);
        vorschau = new Tastenvorschau(fenster, [this](const QKeyEvent& k) {
            if (!nurModifier(k.key()))
                log << "fenster:" + QString::number(k.key(), 16) + ":" +
                           QString::number(k.modifiers().toInt(), 16);
        });
        feld->installEventFilter(&feldRekorder);
        fenster.installEventFilter(&fensterRekorder);
    }

    QStringList log;
    QWidget fenster;
    QMenuBar* bar = nullptr;
    QLineEdit* feld = nullptr;
    Tastenvorschau* vorschau = nullptr;
    Rekorder feldRekorder{log, "feld"};
    Rekorder fensterRekorder{log, "fensterwidget"};
};

TEST_F(TastenvorschauTest, TheWindowSeesEachKeyOnceAndFirstThenTheControl) {
    QTest::keyClick(feld, Qt::Key_Return, Qt::ShiftModifier | Qt::ControlModifier);
    QTest::keyClick(feld, Qt::Key_A);
    EXPECT_EQ(log, QStringList({"fenster:1000004:6000000", "feld:1000004", "fensterwidget:1000004",
                                "fenster:41:0", "feld:41"}));
    EXPECT_EQ(feld->text(), "a") << "the control still gets the key";
}

TEST_F(TastenvorschauTest, KeysTheControlLeavesStillReachTheWindowWidgetOnce) {
    // a line edit ignores Return, so Qt offers it to the parent: no second preview
    QTest::keyClick(feld, Qt::Key_Enter, Qt::KeypadModifier | Qt::AltModifier);
    EXPECT_EQ(log,
              QStringList({"fenster:1000005:28000000", "feld:1000005", "fensterwidget:1000005"}));
}

TEST_F(TastenvorschauTest, MenuBarAndOtherWindowsAreNotPreviewed) {
    QTest::keyClick(bar, Qt::Key_Return);
    QDialog dialog(&fenster);
    auto* anderes = new QLineEdit(&dialog);
    QTest::keyClick(anderes, Qt::Key_Return);
    for (const QString& eintrag : std::as_const(log))
        EXPECT_FALSE(eintrag.startsWith("fenster:")) << eintrag.toStdString();
}

TEST_F(TastenvorschauTest, AControlDeletedByThePreviewGetsNothing) {
    delete vorschau;
    vorschau = new Tastenvorschau(fenster, [this](const QKeyEvent&) {
        log << "fenster";
        delete feld;
        feld = nullptr;
    });
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QCoreApplication::sendEvent(feld, &press);
    EXPECT_EQ(log.first(), "fenster");
    EXPECT_FALSE(log.contains("feld:1000004"));
}

} // namespace
