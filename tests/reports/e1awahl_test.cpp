#include "bookings/buchungskreisbefehle.h"
#include "bookings/buchungskreisliste.h"
#include "data/db.h"
#include "fixture.h"
#include "reports/e1a.h"
#include "reports/e1aablauf.h"
#include "reports/tforme1a.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <functional>

namespace {

// The E 1a Kennzahl of a circle chosen in the dialog and stored by the
// command "bk e1a" uses.
class E1aWahl : public VelmoraFixture {
protected:
    void SetUp() override {
        VelmoraFixture::SetUp();
        neueDatenbank();
        ersterMandant(QStringLiteral("Huber KG"), 2026);
        mandant = dm->gibMandant();
        waren = kreis(mandant, QStringLiteral("Wareneinkauf"), QStringLiteral("WE"));
        erloese = kreis(mandant, QStringLiteral("Erlöse"), QStringLiteral("ER"));
        form = std::make_unique<TFormE1a>();
        ablauf = std::make_unique<E1aAblauf>(*umgebung, *form);
    }
    // Picks the entry whose text starts so, sets the rest, then OK or Cancel.
    void dialog(const QString& eintrag, std::function<void(TFormE1a&)> mehr = {}, bool ok = true) {
        ui.answerModal([eintrag, mehr = std::move(mehr), ok](QDialog& d) {
            auto& f = dynamic_cast<TFormE1a&>(d);
            const int i = f.Combo_Kennzahl->findText(eintrag, Qt::MatchStartsWith);
            EXPECT_GE(i, 0) << eintrag.toStdString();
            f.Combo_Kennzahl->setCurrentIndex(i);
            if (mehr)
                mehr(f);
            return static_cast<int>(ok ? QDialog::Accepted : QDialog::Rejected);
        });
    }
    void abbrechen() {
        ui.answerModal([](QDialog&) { return static_cast<int>(QDialog::Rejected); });
    }
    e1a::Zuordnung zuordnung(int bk) { return e1a::zuordnung(dm->db(), mandant, bk); }
    int mandant = 0, waren = 0, erloese = 0;
    std::unique_ptr<TFormE1a> form;
    std::unique_ptr<E1aAblauf> ablauf;
};

TEST_F(E1aWahl, KnownOwnAndAssetChoicesAreStoredByTheCommand) {
    // a known Kennzahl takes its side
    dialog("9100 ", [](TFormE1a& f) {
        EXPECT_EQ(f.LabelKreis->text(), "Wareneinkauf");
        EXPECT_TRUE(f.Radio_Ausgabe->isChecked());
        EXPECT_FALSE(f.Edit_Nummer->isEnabled());
    });
    EXPECT_TRUE(ablauf->waehlen(waren));
    EXPECT_EQ(zuordnung(waren).art, e1a::Zuordnung::Art::Kennzahl);
    EXPECT_EQ(zuordnung(waren).kennzahl, 9100);
    EXPECT_FALSE(zuordnung(waren).istEinnahme);

    // another number with its text, once; then it is offered by name
    dialog("andere", [](TFormE1a& f) {
        EXPECT_TRUE(f.Edit_Nummer->isEnabled());
        f.Edit_Nummer->setText(QStringLiteral("9060"));
        f.Edit_Text->setText(QStringLiteral("Provisionen"));
        f.Radio_Einnahme->setChecked(true);
    });
    EXPECT_TRUE(ablauf->waehlen(erloese));
    EXPECT_EQ(zuordnung(erloese).kennzahl, 9060);
    EXPECT_TRUE(zuordnung(erloese).istEinnahme);
    QStringList angeboten;
    ui.answerModal([&angeboten](QDialog& d) {
        auto& f = dynamic_cast<TFormE1a&>(d);
        for (int i = 0; i < f.Combo_Kennzahl->count(); ++i)
            angeboten << f.Combo_Kennzahl->itemText(i);
        // the circle's present choice is preselected
        EXPECT_EQ(f.Combo_Kennzahl->currentText(), "9060 Provisionen");
        EXPECT_TRUE(f.Radio_Einnahme->isChecked());
        return static_cast<int>(QDialog::Rejected);
    });
    EXPECT_FALSE(ablauf->waehlen(erloese));
    EXPECT_EQ(angeboten,
              QStringList({"keine", "9040 Erlöse", "9090 übrige Betriebseinnahmen",
                           "9100 Waren, Rohstoffe, Hilfsstoffe", "9130 Abschreibungen",
                           "9230 übrige Betriebsausgaben", "9060 Provisionen", "andere Kennzahl …",
                           "Anlagenzugang (über das Anlagenverzeichnis)"}));

    // the column's texts: the side named where it is not the Kennzahl's own
    dialog("9230 ", [](TFormE1a& f) { f.Radio_Einnahme->setChecked(true); });
    EXPECT_TRUE(ablauf->waehlen(waren));
    const auto texte = e1a::kreisTexte(dm->db(), mandant);
    EXPECT_EQ(texte.value(waren), "9230 übrige Betriebsausgaben (Einnahme)");
    EXPECT_EQ(texte.value(erloese), "9060 Provisionen (Einnahme)");

    // asset purchases, then none
    dialog("Anlagenzugang", [](TFormE1a& f) { EXPECT_FALSE(f.Radio_Einnahme->isEnabled()); });
    EXPECT_TRUE(ablauf->waehlen(waren));
    EXPECT_EQ(zuordnung(waren).art, e1a::Zuordnung::Art::Anlage);
    EXPECT_EQ(e1a::kreisTexte(dm->db(), mandant).value(waren), "Anlagenzugang");
    dialog("keine");
    EXPECT_TRUE(ablauf->waehlen(waren));
    EXPECT_EQ(zuordnung(waren).art, e1a::Zuordnung::Art::Keine);
    EXPECT_FALSE(e1a::kreisTexte(dm->db(), mandant).contains(waren));
    EXPECT_TRUE(ui.texts("message").isEmpty());
    EXPECT_EQ(ui.pending(), 0u);
}

TEST_F(E1aWahl, ARefusalIsToldAndNothingIsStored) {
    struct Fall {
        const char* nummer;
        const char* text;
        bool seite;
        QString meldung;
    };
    for (const Fall& f : {Fall{"123", "Kurz", true, "Eine Kennzahl hat vier Ziffern."},
                          Fall{"0123", "Null", true, "Eine Kennzahl hat vier Ziffern."},
                          Fall{"9998", "", true, "Der Text der Kennzahl 9998 fehlt."},
                          Fall{"9998", "Text", false,
                               "Bei der Kennzahl 9998 fehlt die Seite (Einnahme oder Ausgabe)."}}) {
        SCOPED_TRACE(f.nummer);
        ui.clearShown();
        dialog("andere", [f](TFormE1a& d) {
            d.Edit_Nummer->setText(QString::fromLatin1(f.nummer));
            d.Edit_Text->setText(QString::fromUtf8(f.text));
            if (f.seite)
                d.Radio_Ausgabe->setChecked(true);
        });
        // shown again as it was left, then cancelled
        QString wieder;
        ui.answerModal([&wieder](QDialog& d) {
            wieder = dynamic_cast<TFormE1a&>(d).Edit_Nummer->text();
            return static_cast<int>(QDialog::Rejected);
        });
        EXPECT_FALSE(ablauf->waehlen(erloese));
        EXPECT_EQ(ui.texts("message"), QStringList{f.meldung});
        EXPECT_EQ(wieder, QString::fromLatin1(f.nummer));
        EXPECT_EQ(anzahl(QStringLiteral("T_E1aKreis")), 0);
        EXPECT_EQ(anzahl(QStringLiteral("T_E1aText")), 0);
    }
    // a circle of another client is not found
    EXPECT_FALSE(ablauf->waehlen(9999));
    EXPECT_EQ(ui.texts("error"),
              QStringList{"Den Buchungskreis 9999 gibt es beim aktuellen Mandanten nicht."});
    EXPECT_EQ(ui.pending(), 0u);
}

TEST_F(E1aWahl, TheCircleListShowsTheColumnAndItsButtonChooses) {
    BuchungskreisBefehle befehle(*umgebung, nullptr);
    befehle.setE1a({[this] { return e1a::kreisTexte(dm->db(), mandant); },
                    [this](int bk) { return ablauf->waehlen(bk); }});
    e1a::zuordnen(dm->db(), mandant, waren, {e1a::Zuordnung::Art::Kennzahl, 9100, false},
                  std::nullopt, std::nullopt);
    TFormBuchungskreis& liste = befehle.FormBuchungskreis();
    auto* grid = liste.findChild<QTableView*>(QStringLiteral("DBGrid1"));
    QAbstractItemModel* m = grid->model();
    const auto spalte = [m](int c) {
        QStringList out;
        for (int r = 0; r < m->rowCount(); ++r)
            out << m->index(r, c).data().toString();
        return out;
    };
    // the list as it opens: by name, the Kennzahl beside each circle
    ui.answerModal([&](QDialog&) {
        EXPECT_EQ(m->headerData(2, Qt::Horizontal).toString(), "E 1a");
        EXPECT_EQ(spalte(0), QStringList({"Erlöse", "Wareneinkauf"}));
        EXPECT_EQ(spalte(2), QStringList({"", "9100 Waren, Rohstoffe, Hilfsstoffe"}));
        EXPECT_TRUE(liste.SchalterE1a->isVisibleTo(&liste));
        // the button chooses for the selected circle and the column follows
        liste.auswaehlen(erloese);
        dialog("9040 ");
        liste.SchalterE1a->click();
        EXPECT_EQ(spalte(2), QStringList({"9040 Erlöse", "9100 Waren, Rohstoffe, Hilfsstoffe"}));
        return static_cast<int>(QDialog::Accepted);
    });
    befehle.Buchungskreise1Click();
    EXPECT_EQ(zuordnung(erloese).kennzahl, 9040);
    EXPECT_EQ(ui.pending(), 0u);
    EXPECT_TRUE(ui.texts("error").isEmpty());
}

TEST_F(E1aWahl, TheKeyboardReachesEveryControl) {
    const auto fokus = [] {
        QWidget* w = QApplication::focusWidget();
        return w ? w->objectName() : QStringLiteral("?");
    };
    // the pair of side buttons is one stop, whichever of them Qt focuses
    const auto stopp = [&fokus] {
        const QString n = fokus();
        return n.startsWith(QLatin1String("Radio_")) ? QStringLiteral("Seite") : n;
    };
    // another number: both fields join; the side is one stop, the arrows choose in it
    dialog(
        "andere",
        [&fokus, &stopp](TFormE1a& f) {
            f.Radio_Ausgabe->setChecked(true);
            f.show();
            QApplication::setActiveWindow(&f);
            EXPECT_TRUE(QTest::qWaitForWindowActive(&f));
            f.Combo_Kennzahl->setFocus();
            const QStringList reihenfolge{"Combo_Kennzahl", "Edit_Nummer", "Edit_Text",
                                          "Seite",          "SchalterOK",  "SchalterAbbrechen",
                                          "Combo_Kennzahl"};
            QStringList vor{stopp()};
            for (qsizetype i = 1; i < reihenfolge.size(); ++i) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                vor << stopp();
            }
            EXPECT_EQ(vor, reihenfolge);
            f.Radio_Einnahme->setFocus();
            QTest::keyClick(f.Radio_Einnahme, Qt::Key_Right);
            EXPECT_EQ(fokus(), "Radio_Ausgabe");
            f.Combo_Kennzahl->setFocus();
            // a known Kennzahl: number and text are passed by
            f.Combo_Kennzahl->setCurrentIndex(1);
            QStringList bekannt{stopp()};
            for (int i = 0; i < 4; ++i) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                bekannt << stopp();
            }
            EXPECT_EQ(bekannt, QStringList({"Combo_Kennzahl", "Seite", "SchalterOK",
                                            "SchalterAbbrechen", "Combo_Kennzahl"}));
            f.hide();
        },
        false);
    EXPECT_FALSE(ablauf->waehlen(waren));
}

} // namespace
