#include "belegtest.h"

#include "bookings/belegeingabehilfe.h"
#include "bookings/belegeingabepfeile.h"
#include "bookings/belegeingabevorgaben.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <memory>

namespace {

QStringList eintraege(const QComboBox* box) {
    QStringList r;
    for (int i = 0; i < box->count(); ++i)
        r << box->itemText(i);
    return r;
}

// The boxes as a word: E A U D K G when ticked, "-" when clear, then "+"
// when the four flag boxes are enabled; the rate and the label follow.
QString schalter(const TFormBelegeingabe& f) {
    const QCheckBox* boxen[] = {f.DBCheckBoxEin,   f.DBCheckBoxAus, f.DBCheckBoxEU,
                                f.DBCheckBoxDritt, f.DBCheckBoxKFZ, f.DBCheckBoxGebaeude};
    QString s;
    for (int i = 0; i < 6; ++i)
        s += boxen[i]->isChecked() ? QLatin1Char("EAUDKG"[i]) : QLatin1Char('-');
    const bool an = f.DBCheckBoxEU->isEnabled();
    EXPECT_TRUE(f.DBCheckBoxDritt->isEnabled() == an && f.DBCheckBoxKFZ->isEnabled() == an &&
                f.DBCheckBoxGebaeude->isEnabled() == an);
    s += an ? QLatin1Char('+') : QLatin1Char(' ');
    return s + QLatin1Char(' ') + f.DBCombo_Steuersatz->currentText() + QLatin1Char(' ') +
           f.LabelBruttoNetto->text();
}

} // namespace

class BelegeingabeTest : public BelegFixture {
protected:
    std::unique_ptr<TFormBelegeingabe> neu() {
        Buchung b;
        b.mandant = mandant;
        return std::make_unique<TFormBelegeingabe>(*umgebung, b, DatensatzZustand::Einfuegen);
    }
    std::unique_ptr<TFormBelegeingabe> aendern(int id) {
        return std::make_unique<TFormBelegeingabe>(*umgebung,
                                                   *buchungstabelle::lesen(dm->db(), id, mandant),
                                                   DatensatzZustand::Bearbeiten);
    }
    static void kreisWaehlen(TFormBelegeingabe& f, const QString& name) {
        f.DBLookupComboBox1->setCurrentIndex(f.DBLookupComboBox1->findText(name));
    }
    QString sektion() const { return TDM_EinAus::buchenAbschnitt(mandant); }
};

TEST_F(BelegeingabeTest, NewBookingOpensWithTheDefaults) {
    auto f = neu();
    EXPECT_EQ(f->windowTitle(), QStringLiteral("Belegeingabe - Neue Buchung"));
    EXPECT_EQ(f->LabelJahr->text(), QStringLiteral("2026"));
    EXPECT_EQ(f->LabelMandant->text(), QStringLiteral("Mandant 1"));
    EXPECT_EQ(f->DatumPicker->minimumDate(), QDate(2026, 1, 1));
    EXPECT_EQ(f->DatumPicker->maximumDate(), QDate(2026, 12, 31));
    EXPECT_EQ(f->DatumPicker->date(), QDate(2026, 12, 10));
    EXPECT_EQ(f->DBDatum->text(), QStringLiteral("10.12.2026"));
    EXPECT_EQ(f->DBEditBelegnummer->text(), QStringLiteral("1"));
    EXPECT_EQ(f->DB_ID->text(), QStringLiteral("1"));
    EXPECT_EQ(f->DBZeitraum->text(), QString::number(zeitraum));
    EXPECT_EQ(eintraege(f->DBCombo_Steuersatz), (QStringList{"0", "4,9", "5", "10", "13", "20"}));
    EXPECT_EQ(eintraege(f->DBLookupComboBox1), (QStringList{"Büro", "Erlöse"}));
    EXPECT_EQ(f->DBLookupComboBox1->currentIndex(), -1);
    EXPECT_EQ(f->buchungskreis(), std::nullopt);
    EXPECT_TRUE(f->DBComboText->currentText().isEmpty());
    EXPECT_TRUE(f->DBEdit_Betrag->text().isEmpty());
    EXPECT_EQ(schalter(*f), QStringLiteral("E-----  0 Brutto"));
    EXPECT_TRUE(f->SchalterOK_WEITER->isEnabled());
    EXPECT_TRUE(f->SchalterOK_WEITER->isDefault());
    EXPECT_FALSE(f->Weiterbuchen());
    // the text takes 100 characters as the user counts them, emoji included
    f->DBComboText->lineEdit()->insert(QString(101, QLatin1Char('x')));
    EXPECT_EQ(f->DBComboText->currentText(), QString(100, QLatin1Char('x')));
    const QString emoji = QString::fromUtf8("\xF0\x9F\x91\x8D");
    f->DBComboText->setEditText(QString());
    f->DBComboText->lineEdit()->insert(emoji.repeated(60));
    EXPECT_EQ(f->DBComboText->currentText(), emoji.repeated(60));
    f->DBComboText->lineEdit()->insert(emoji.repeated(41));
    EXPECT_EQ(f->DBComboText->currentText(), emoji.repeated(100));
    f->DBComboText->setEditText(QString());
    EXPECT_FALSE(f->DB_ID->isVisibleTo(f.get()));
}

TEST_F(BelegeingabeTest, AClientNameThatLooksLikeMarkupIsShownAsTyped) {
    const QString name = QStringLiteral("Firma <b>A</b> & <i>Söhne</i>");
    dm->db()
        .sql(QStringLiteral("update T_Mandant set Bezeichnung = :b where id = :id"))
        .bind("b", name)
        .bind("id", mandant)
        .exec();
    auto f = neu();
    EXPECT_EQ(f->LabelMandant->text(), name);
    // as markup the label would need only the width of "Firma A & Söhne"
    EXPECT_GE(f->LabelMandant->sizeHint().width(),
              f->LabelMandant->fontMetrics().horizontalAdvance(name));
}

TEST_F(BelegeingabeTest, RatesAndTextSuggestionsFollowClientAndYear) {
    const int a = buchung(mandant, zeitraum, "2026-01-05", "1,00", 0, buero, true);
    buchung(mandant, zeitraum, "2026-01-06", "1,00", 0, buero, true);
    buchung(mandant, zeitraum + 5, "2026-01-06", "1,00", 0, buero, true); // another year
    dm->db().execute(QStringLiteral("update T_Buchungen set Text = 'Miete' where ID = %1").arg(a));
    dm->db().execute(QStringLiteral("update T_Buchungen set Text = NULL where ID = %1").arg(a + 1));
    dm->db().execute(QStringLiteral("update T_Stammdaten set SteuerDE = 1"));
    auto f = neu();
    EXPECT_EQ(eintraege(f->DBCombo_Steuersatz),
              (QStringList{"0", "4,9", "5", "7", "19", "10", "13", "20"}));
    QStringList texte = eintraege(f->DBComboText);
    texte.sort();
    EXPECT_EQ(texte, (QStringList{" ", "Miete"}));

    const int jahr2015 = dm->zeitraumAnlegen(mandant, 2015);
    dm->db().execute(
        QStringLiteral("update T_Einstellungen set ZeitraumNummer = %1").arg(jahr2015));
    dm->db().execute(QStringLiteral("update T_Stammdaten set SteuerDE = 0"));
    auto g = neu();
    EXPECT_EQ(eintraege(g->DBCombo_Steuersatz), (QStringList{"0", "5", "10", "12", "20"}));
    EXPECT_TRUE(eintraege(g->DBComboText).isEmpty());
    EXPECT_EQ(g->DatumPicker->date(), QDate(2015, 1, 1)); // today is not in 2015
    EXPECT_EQ(g->LabelJahr->text(), QStringLiteral("2015"));
}

TEST_F(BelegeingabeTest, RememberedEntriesAreApplied) {
    ini->writeString(sektion(), "Buchungskreis", QString::number(erloese));
    ini->writeString(sektion(), "Belegdatum", "15.03.2023");
    ini->writeString(sektion(), "IstEinnahme", "2");
    ini->writeString(sektion(), "Steuersatz", "10");
    ini->writeString(sektion(), "Buchungstext", "Miete");
    auto f = neu();
    EXPECT_EQ(f->DBLookupComboBox1->currentText(), QStringLiteral("Erlöse"));
    EXPECT_EQ(f->buchungskreis(), erloese);
    EXPECT_EQ(f->DatumPicker->date(), QDate(2026, 1, 1));
    EXPECT_EQ(f->DBComboText->currentText(), QStringLiteral("Miete"));
    EXPECT_EQ(schalter(*f), QStringLiteral("-A----+ 10 Brutto"));
}

TEST_F(BelegeingabeTest, ChangeModeShowsTheStoredBooking) {
    const int id = buchung(mandant, zeitraum, "2026-05-20", "1234,5", 10, buero, false, 1, 2, 7);
    ini->writeString(sektion(), "Steuersatz", "20");
    auto f = aendern(id);
    EXPECT_EQ(f->windowTitle(), QStringLiteral("Belegeingabe - Buchung bearbeiten"));
    EXPECT_FALSE(f->SchalterOK_WEITER->isEnabled());
    EXPECT_EQ(f->DatumPicker->date(), QDate(2026, 5, 20));
    EXPECT_EQ(f->DBEditBelegnummer->text(), QStringLiteral("7"));
    EXPECT_EQ(f->DBEdit_Betrag->text(), QStringLiteral("1234,50"));
    EXPECT_EQ(f->DBLookupComboBox1->currentText(), QStringLiteral("Büro"));
    EXPECT_EQ(f->DBComboText->currentText(), QStringLiteral("Buchung %1").arg(id));
    // the stored rate stands although the flag says intra-community
    EXPECT_EQ(schalter(*f), QStringLiteral("-AU---+ 10 (Netto)"));

    const int ein = buchung(mandant, zeitraum, "2026-05-21", "5", 20, buero, true);
    EXPECT_EQ(schalter(*aendern(ein)), QStringLiteral("E-----  20 Brutto"));
}

TEST_F(BelegeingabeTest, RulesFollowTheCheckBoxes) {
    struct Schritt {
        QCheckBox* TFormBelegeingabe::*box;
        bool an;
    };
    using F = TFormBelegeingabe;
    struct Fall {
        const char* name;
        std::vector<Schritt> schritte;
        const char* erwartet;
    };
    const Fall faelle[] = {
        {"Ausgabe ticked", {{&F::DBCheckBoxAus, true}}, "-A----+ 0 Brutto"},
        {"Einnahme cleared", {{&F::DBCheckBoxEin, false}}, "-A----+ 0 Brutto"},
        {"Innergemeinschaftlich",
         {{&F::DBCheckBoxAus, true}, {&F::DBCheckBoxEU, true}},
         "-AU---+ 20 (Netto)"},
        {"then Drittland",
         {{&F::DBCheckBoxAus, true}, {&F::DBCheckBoxEU, true}, {&F::DBCheckBoxDritt, true}},
         "-A-D--+ 0 (Brutto)"},
        {"KFZ then Gebaeude",
         {{&F::DBCheckBoxAus, true}, {&F::DBCheckBoxKFZ, true}, {&F::DBCheckBoxGebaeude, true}},
         "-A---G+ 0 Brutto"},
        {"Einnahme on KFZ expense",
         {{&F::DBCheckBoxAus, true}, {&F::DBCheckBoxKFZ, true}, {&F::DBCheckBoxEin, true}},
         "E-----  0 Brutto"},
        {"Ausgabe cleared",
         {{&F::DBCheckBoxAus, true}, {&F::DBCheckBoxDritt, true}, {&F::DBCheckBoxAus, false}},
         "E-----  0 Brutto"},
        {"disabled flag stays clear", {{&F::DBCheckBoxEU, true}}, "E-----  0 Brutto"},
        {"Gebaeude after Drittland",
         {{&F::DBCheckBoxAus, true}, {&F::DBCheckBoxDritt, true}, {&F::DBCheckBoxGebaeude, true}},
         "-A-D-G+ 0 Brutto"},
    };
    for (const Fall& fall : faelle) {
        auto f = neu();
        for (const Schritt& s : fall.schritte)
            ((*f).*(s.box))->setChecked(s.an);
        EXPECT_EQ(schalter(*f), QString::fromUtf8(fall.erwartet)) << fall.name;
    }

    // a typed rate is kept until a rule sets one
    auto f = neu();
    f->DBCheckBoxAus->click();
    f->DBCombo_Steuersatz->setEditText("10");
    f->DBCheckBoxKFZ->click();
    EXPECT_EQ(schalter(*f), QStringLiteral("-A--K-+ 10 Brutto"));
    f->DBCheckBoxEU->click();
    EXPECT_EQ(schalter(*f), QStringLiteral("-AU---+ 20 (Netto)"));
}

TEST_F(BelegeingabeTest, ArrowsMoveTheDateInsideTheYear) {
    auto f = neu();
    f->DatumPicker->setDate(QDate(2026, 12, 31));
    f->UpDown1->Hoch->click();
    EXPECT_EQ(f->DatumPicker->date(), QDate(2026, 12, 31));
    f->UpDown1Click(false);
    EXPECT_EQ(f->DatumPicker->date(), QDate(2026, 12, 30));
    EXPECT_EQ(f->DBDatum->text(), QStringLiteral("30.12.2026"));
    f->DatumPicker->setDate(QDate(2026, 1, 1));
    f->UpDown1->Runter->click();
    EXPECT_EQ(f->DatumPicker->date(), QDate(2026, 1, 1));
    f->UpDown1->Hoch->click();
    EXPECT_EQ(f->DBDatum->text(), QStringLiteral("02.01.2026"));
    f->DatumPicker->setDate(QDate(2025, 6, 1)); // out of the year: the picker refuses
    EXPECT_EQ(f->DatumPicker->date().year(), 2026);

    // the drop-down calendar speaks Austrian German whatever the system's language
    const QCalendarWidget* kalender = f->DatumPicker->calendarWidget();
    ASSERT_NE(kalender, nullptr);
    EXPECT_EQ(kalender->locale().monthName(1), QStringLiteral("Jänner"));
    EXPECT_EQ(kalender->locale().dayName(1, QLocale::ShortFormat), QStringLiteral("Mo."));
    EXPECT_EQ(kalender->firstDayOfWeek(), Qt::Monday);
}

TEST_F(BelegeingabeTest, ClosingWithoutAmountAndCircleShowsBothMessages) {
    auto f = neu();
    f->DBCombo_Steuersatz->setEditText("10");
    f->DBComboText->setEditText("Papier");
    f->SchalterOK_WEITER->click();
    EXPECT_NE(f->result(), QDialog::Accepted);
    EXPECT_FALSE(f->Weiterbuchen());
    EXPECT_EQ(ui.texts("message"),
              (QStringList{"Sie müssen im Feld Betrag einen Wert angeben!",
                           "Sie müssen einen Buchungskreis angeben!\n\rBei Bedarf können sie einen "
                           "neuen anlegen!"}));
    EXPECT_EQ(f->focusWidget(), f->DBLookupComboBox1);
    // the entries were remembered before the checks, and are all still there
    EXPECT_EQ(ini->readString(sektion(), "Steuersatz"), "10");
    EXPECT_EQ(f->DBComboText->currentText(), QStringLiteral("Papier"));

    ui.clearShown();
    kreisWaehlen(*f, "Büro");
    f->SchalterOK->click();
    EXPECT_EQ(ui.texts("message"), QStringList{"Sie müssen im Feld Betrag einen Wert angeben!"});
    EXPECT_EQ(f->focusWidget(), f->DBEdit_Betrag);
    EXPECT_FALSE(ini->hasKey(sektion(), "Steuersatz")); // plain OK forgets rate and text

    f->DBEdit_Betrag->setText("12,5");
    f->SchalterOK_WEITER->click();
    EXPECT_EQ(f->result(), QDialog::Accepted);
    EXPECT_TRUE(f->Weiterbuchen());
    EXPECT_EQ(ini->readString(sektion(), "Buchungstext"), "Papier");
    const Buchung& b = f->datensatz();
    EXPECT_EQ(b.Betrag.units(), 125000);
    EXPECT_EQ(b.BK, buero);
    EXPECT_EQ(b.Steuersatz, 10);
    EXPECT_EQ(b.Text, QStringLiteral("Papier"));
    EXPECT_EQ(b.Belegnummer, 1);
    EXPECT_EQ(b.Buchungsdatum, QDate(2026, 12, 10));
    EXPECT_EQ(b.ID, 1);
    EXPECT_EQ(b.mandant, mandant);
    EXPECT_EQ(b.Wirtschaftsjahr, zeitraum);
    EXPECT_EQ(b.IstEinnahme, 1);
}

TEST_F(BelegeingabeTest, AmountAcceptsWhatAGermanUserTypes) {
    const std::pair<const char*, std::int64_t> gut[] = {
        {"1.234,56", 12345600}, {"1234,56", 12345600}, {"12,5", 125000},
        {"-80", -800000},       {"1234.56", 12345600}, {" 99.999.999,99 ", 999999999900},
    };
    for (const auto& [text, units] : gut) {
        auto f = neu();
        kreisWaehlen(*f, "Büro");
        f->DBEdit_Betrag->setText(QString::fromUtf8(text));
        f->SchalterOK->click();
        ASSERT_EQ(f->result(), QDialog::Accepted) << text;
        EXPECT_EQ(f->datensatz().Betrag.units(), units) << text;
    }
    EXPECT_TRUE(ui.texts("message").isEmpty());

    const QString zuGross = QStringLiteral("Der Betrag darf höchstens 99.999.999,99 betragen.");
    const QString zuGenau =
        QStringLiteral("Der Betrag darf höchstens zwei Nachkommastellen haben.");
    for (const auto& [text, meldung] :
         std::initializer_list<std::pair<const char*, QString>>{{"12a", QString()},
                                                                {"1,2,3", QString()},
                                                                {"1,23456", QString()},
                                                                {"99999999999999999999", QString()},
                                                                {"1.23.4", QString()},
                                                                {"0,0001", zuGenau},
                                                                {"100.000.000", zuGross},
                                                                {"-500000000000000", zuGross}}) {
        ui.clearShown();
        auto f = neu();
        kreisWaehlen(*f, "Büro");
        f->DBEdit_Betrag->setText(QString::fromUtf8(text));
        f->DBComboText->setEditText("bleibt");
        f->SchalterOK_WEITER->click();
        EXPECT_NE(f->result(), QDialog::Accepted) << text;
        EXPECT_FALSE(f->Weiterbuchen());
        EXPECT_EQ(ui.texts("message"),
                  QStringList{meldung.isEmpty()
                                  ? QStringLiteral("'%1' ist kein gültiger Betrag.").arg(text)
                                  : meldung});
        EXPECT_EQ(f->DBEdit_Betrag->text(), QString::fromUtf8(text));
        EXPECT_EQ(f->DBComboText->currentText(), QStringLiteral("bleibt"));
    }
}

TEST_F(BelegeingabeTest, RateAndVoucherNumberAreChecked) {
    const auto versuch = [&](const QString& satz, bool einfuhr, const QString& beleg = "5") {
        ui.clearShown();
        auto f = neu();
        kreisWaehlen(*f, "Büro");
        f->DBEdit_Betrag->setText("100");
        if (einfuhr) {
            f->DBCheckBoxAus->click();
            f->DBCheckBoxDritt->click();
        }
        f->DBCombo_Steuersatz->setEditText(satz);
        f->DBEditBelegnummer->setText(beleg);
        f->SchalterOK->click();
        return f->result() == QDialog::Accepted ? QStringLiteral("OK")
                                                : ui.texts("message").join("|");
    };
    EXPECT_EQ(versuch("20", false), "OK");
    EXPECT_EQ(versuch("15", false), "Für den Steuersatz 15 % gibt es kein Steuerkonto.");
    EXPECT_EQ(versuch("21", false), "Für den Steuersatz 21 % gibt es kein Steuerkonto.");
    EXPECT_EQ(versuch("", false), "Sie müssen im Feld Steuersatz einen Wert angeben!");
    EXPECT_EQ(versuch("x", false), "'x' ist kein gültiger Steuersatz.");
    // an import posts its whole amount, but its rate is one of the offered ones too
    EXPECT_EQ(versuch("15", true), "Für den Steuersatz 15 % gibt es kein Steuerkonto.");
    EXPECT_EQ(versuch("20", true), "OK");
    EXPECT_EQ(versuch("20", false, "3000000000"), "'3000000000' ist keine gültige Belegnummer.");
    EXPECT_EQ(versuch("20", false, ""), "OK");
}

// 4,9 % from its first day; the Kennzahl box only for an income at 0 %;
// reverse charge stored as an acquisition with its kind.
TEST_F(BelegeingabeTest, TheRateOf4_9TheKennzahlAndReverseCharge) {
    const auto versuch = [&](const char* satz, const QDate& datum) {
        ui.clearShown();
        auto f = neu();
        kreisWaehlen(*f, "Büro");
        f->DBEdit_Betrag->setText("104,90");
        f->DBCombo_Steuersatz->setEditText(QLatin1String(satz));
        f->DatumPicker->setDate(datum);
        f->SchalterOK->click();
        return f->result() == QDialog::Accepted ? QStringLiteral("OK")
                                                : ui.texts("message").join("|");
    };
    EXPECT_EQ(versuch("4,9", QDate(2026, 6, 30)), "Der Steuersatz 4,9 % gilt erst ab 01.07.2026.");
    EXPECT_EQ(versuch("4,9", QDate(2026, 7, 1)), "OK");
    EXPECT_EQ(versuch("4.9", QDate(2026, 7, 1)), "OK");

    auto f = neu();
    kreisWaehlen(*f, "Büro");
    f->DBEdit_Betrag->setText("1500");
    f->DBCombo_Steuersatz->setEditText("0");
    EXPECT_TRUE(f->DBComboKZ->isVisibleTo(f.get()));
    f->DBComboKZ->setCurrentIndex(f->DBComboKZ->findData(QStringLiteral("017")));
    f->DBCombo_Steuersatz->setEditText("20");
    EXPECT_FALSE(f->DBComboKZ->isVisibleTo(f.get()));
    f->DBCombo_Steuersatz->setEditText("0");
    f->SchalterOK->click();
    ASSERT_EQ(f->result(), QDialog::Accepted);
    EXPECT_EQ(f->datensatz().SteuerfreiKZ, QStringLiteral("017"));

    auto g = neu();
    kreisWaehlen(*g, "Büro");
    g->DBEdit_Betrag->setText("300");
    g->DBCheckBoxAus->click();
    EXPECT_FALSE(g->DBComboKZ->isVisibleTo(g.get()));
    g->DBCheckBoxRC->click();
    EXPECT_EQ(g->LabelBruttoNetto->text(), QStringLiteral("(Netto)"));
    EXPECT_EQ(g->DBCombo_Steuersatz->currentText(), QStringLiteral("20"));
    g->SchalterOK->click();
    ASSERT_EQ(g->result(), QDialog::Accepted);
    EXPECT_EQ(g->datensatz().IstEU, 1);
    EXPECT_EQ(g->datensatz().Steuerschuld, steuerschuld::ReverseCharge);
    EXPECT_EQ(g->datensatz().SteuerfreiKZ, QString());
}

TEST_F(BelegeingabeTest, ATakenVoucherNumberIsAskedAbout) {
    buchung(mandant, zeitraum, "2026-02-01", "10", 20, buero, true, 2, 2, 7);
    const QString frage = QStringLiteral(
        "Die Belegnummer 7 ist in diesem Wirtschaftsjahr bereits vergeben. Trotzdem speichern?");
    // Nein: back to the dialog with the entries
    auto f = neu();
    kreisWaehlen(*f, "Büro");
    f->DBEdit_Betrag->setText("100");
    f->DBEditBelegnummer->setText("7");
    ui.answerQuestion(UserSeam::No);
    f->SchalterOK->click();
    EXPECT_NE(f->result(), QDialog::Accepted);
    EXPECT_EQ(ui.texts("question"), QStringList{frage});
    EXPECT_EQ(f->DBEditBelegnummer->text(), "7");
    EXPECT_EQ(f->DBEdit_Betrag->text(), "100");
    // Ja: stored as typed
    ui.clearShown();
    ui.answerQuestion(UserSeam::Yes);
    f->SchalterOK->click();
    EXPECT_EQ(f->result(), QDialog::Accepted);
    EXPECT_EQ(f->belegnummernwahl(), Belegnummernwahl::AuchDoppelt);
    // the proposal, unchanged, is never asked about
    ui.clearShown();
    auto g = neu();
    kreisWaehlen(*g, "Büro");
    g->DBEdit_Betrag->setText("100");
    EXPECT_EQ(g->DBEditBelegnummer->text(), "8");
    g->SchalterOK->click();
    EXPECT_EQ(g->result(), QDialog::Accepted);
    EXPECT_EQ(g->belegnummernwahl(), Belegnummernwahl::Vorschlag);
    EXPECT_TRUE(ui.texts("question").isEmpty());
    // a free number typed is taken as typed
    auto h = neu();
    kreisWaehlen(*h, "Büro");
    h->DBEdit_Betrag->setText("100");
    h->DBEditBelegnummer->setText("70");
    h->SchalterOK->click();
    EXPECT_EQ(h->result(), QDialog::Accepted);
    EXPECT_EQ(h->belegnummernwahl(), Belegnummernwahl::WieAngegeben);
    EXPECT_TRUE(ui.texts("question").isEmpty());
}

TEST_F(BelegeingabeTest, ChangeModeRemembersNothing) {
    const int id = buchung(mandant, zeitraum, "2026-05-20", "10", 20, buero, true);
    auto f = aendern(id);
    f->DBEdit_Betrag->setText("11");
    f->SchalterOK->click();
    ASSERT_EQ(f->result(), QDialog::Accepted);
    EXPECT_FALSE(QFile::exists(ini->path()) && ini->hasKey(sektion(), "IstEinnahme"));
    EXPECT_EQ(f->datensatz().ID, id);
    EXPECT_EQ(f->datensatz().Betrag.units(), 110000);
}

TEST_F(BelegeingabeTest, NeuShowsTheCircleListAndReopens) {
    auto f = neu();
    f->DBEdit_Betrag->setText("77");
    f->DBEditBelegnummer->setText("99");
    kreisWaehlen(*f, "Erlöse");
    int gezeigt = 0;
    f->setBuchungskreiseZeigen([&] {
        ++gezeigt;
        kreis(mandant, "Auto", "A");
    });
    f->BitBtn1->click();
    EXPECT_EQ(gezeigt, 1);
    EXPECT_EQ(eintraege(f->DBLookupComboBox1), (QStringList{"Auto", "Büro", "Erlöse"}));
    EXPECT_EQ(f->DBLookupComboBox1->currentText(), QStringLiteral("Erlöse"));
    EXPECT_EQ(f->DBEdit_Betrag->text(), QStringLiteral("77"));    // the amount stays
    EXPECT_EQ(f->DBEditBelegnummer->text(), QStringLiteral("1")); // recomputed

    // a circle deleted in the list is no longer selected
    f->setBuchungskreiseZeigen([&] {
        dm->db().execute(QStringLiteral("delete from T_BKreis where id = %1").arg(erloese));
    });
    f->BitBtn1->click();
    EXPECT_EQ(f->buchungskreis(), std::nullopt);
}

TEST_F(BelegeingabeTest, HelpWindowIsModelessAndReturningReopens) {
    TFormBelegeingabeHilfe hilfe;
    EXPECT_EQ(hilfe.windowTitle(), QStringLiteral("Belegeingabe: Hilfe"));
    QStringList texte;
    for (const QLabel* l : hilfe.findChildren<QLabel*>())
        texte << l->text();
    EXPECT_EQ(texte.size(), 12);
    EXPECT_EQ(texte.front(), QStringLiteral("Belegeingabe: Kurzbeschreibung"));
    EXPECT_TRUE(texte.contains("Dieser Schalter wird nur gebraucht,  um die  Einfuhrumsatzsteuer, "
                               "die beim Zollamt bezahlt wurde, zu verbuchen."));
    // every line, top to bottom, "*" marking the bold headings
    QStringList zeilen;
    for (const QLabel* l : hilfe.findChildren<QLabel*>())
        zeilen << (l->font().bold() ? QStringLiteral("*") : QString()) + l->text();
    EXPECT_EQ(
        zeilen,
        (QStringList{
            "*Belegeingabe: Kurzbeschreibung",
            "*Klicken sie Einnahme oder Ausgabe an (oder Alt + E bzw. Alt + A)",
            "*Belegdatum:", "Eintippen oder auswählen (Pfeil anklicken)", "*Betrag in €",
            "Es wird der Bruttobetrag eingegeben",
            "*Innergemeinschaftlich: (Import aus einem EU-Land)",
            "Es wird der Nettobetrag angegeben, die 20% Steuerbuchungen erfolgen automatisch.",
            "*Einfuhr aus Drittland: (Import aus einem nicht-EU-Land)",
            "Dieser Schalter wird nur gebraucht,  um die  Einfuhrumsatzsteuer, die beim "
            "Zollamt bezahlt wurde, zu verbuchen.",
            "Der Steuersatz ist 0%.",
            "Der eigentliche Rechnungsbetrag wird als normale Ausgabe ebenfalls mit einem "
            "Steuersatz von 0% verbucht."}));
    EXPECT_TRUE(hilfe.findChildren<QLabel*>().front()->font().underline());
    EXPECT_EQ(hilfe.BitBtn1->text(), QStringLiteral("OK"));

    auto f = neu();
    f->setHilfe(&hilfe);
    f->DBEdit_Betrag->setText("5");
    f->DBComboText->setEditText("getippt");
    f->BitBtn2->click();
    EXPECT_TRUE(hilfe.isVisible());
    EXPECT_FALSE(hilfe.isModal());

    // activation of the booking dialog itself does not rerun the opening steps...
    QEvent aktiv(QEvent::WindowActivate);
    QApplication::sendEvent(f.get(), &aktiv);
    EXPECT_EQ(f->DBComboText->currentText(), QStringLiteral("getippt"));
    // ...coming back from the help window does
    QApplication::sendEvent(&hilfe, &aktiv);
    QApplication::sendEvent(f.get(), &aktiv);
    EXPECT_TRUE(f->DBComboText->currentText().isEmpty());
    EXPECT_EQ(f->DBEdit_Betrag->text(), QStringLiteral("5"));

    hilfe.BitBtn1->click();
    EXPECT_FALSE(hilfe.isVisible());
}

TEST_F(BelegeingabeTest, CaptionsAndLabels) {
    auto f = neu();
    QStringList beschriftungen;
    for (const QLabel* l : f->findChildren<QLabel*>()) {
        if (l->isVisibleTo(f.get()) && l != f->LabelMandant && l != f->LabelJahr)
            beschriftungen << l->text();
    }
    beschriftungen.sort();
    // a new booking opens as an income at 0 %: its Kennzahl is asked for
    EXPECT_EQ(beschriftungen, (QStringList{"Belegdatum", "Belegnummer", "Belegtext", "Betrag in €",
                                           "Brutto", "Buchungskreis", "Kennzahl",
                                           "Mandant:", "Steuersatz", "Wirtschaftsjahr:"}));
    const std::pair<QAbstractButton*, const char*> knoepfe[] = {
        {f->DBCheckBoxEin, "&Einnahme"},
        {f->DBCheckBoxAus, "&Ausgabe"},
        {f->DBCheckBoxKFZ, "KFZ"},
        {f->DBCheckBoxGebaeude, "Gebäude"},
        {f->DBCheckBoxEU, "Innergemeinschaftlich"},
        {f->DBCheckBoxDritt, "Einfuhr aus Drittland"},
        {f->DBCheckBoxRC, "Reverse Charge (§ 19 Abs. 1)"},
        {f->DBCheckBoxBau, "Bauleistung (§ 19 Abs. 1a)"},
        {f->BitBtn1, "Neu"},
        {f->SchalterOK, "OK"},
        {f->SchalterCancel, "Abbrechen"},
        {f->BitBtn2, "&Hilfe"},
        {f->SchalterOK_WEITER, "OK und\nweiterbuchen"}};
    for (const auto& [knopf, text] : knoepfe)
        EXPECT_EQ(knopf->text(), QString::fromUtf8(text)) << knopf->objectName().toStdString();
    EXPECT_EQ(f->objectName(), QStringLiteral("FormBelegeingabe"));
}
