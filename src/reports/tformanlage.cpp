#include "reports/tformanlage.h"

#include "data/dates.h"
#include "toolkit/dateedit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

// The kinds in the order of anlagen::Art.
const char* const kArten[] = {"sonstiges Wirtschaftsgut", "Gebäude", "Firmenwert", "Pkw",
                              "Pkw, emissionsfrei"};

std::optional<Currency> betragLesen(const QLineEdit& edit, QString& fehler) {
    return Currency::parse(edit.text().trimmed(), &fehler);
}

} // namespace

TFormAnlage::TFormAnlage(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FormAnlage"));
    const auto zeile = [this](const char* name) {
        auto* e = new QLineEdit(this);
        e->setObjectName(QLatin1String(name));
        return e;
    };
    Edit_Bezeichnung = zeile("Edit_Bezeichnung");
    Edit_Bezeichnung->setMaxLength(100);
    Datum_Anschaffung = new DateEdit(this);
    Datum_Anschaffung->setObjectName(QStringLiteral("Datum_Anschaffung"));
    Datum_Anschaffung->setCalendarPopup(true);
    Datum_Anschaffung->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    Edit_Buchung = zeile("Edit_Buchung");
    Edit_Buchung->setPlaceholderText(QStringLiteral("ID, wenn bekannt"));
    Edit_Kosten = zeile("Edit_Kosten");
    Edit_Lieferant = zeile("Edit_Lieferant");
    Edit_Lieferant->setMaxLength(100);
    Spin_Nutzungsdauer = new QSpinBox(this);
    Spin_Nutzungsdauer->setObjectName(QStringLiteral("Spin_Nutzungsdauer"));
    Spin_Nutzungsdauer->setRange(1, 100);
    Combo_Methode = new QComboBox(this);
    Combo_Methode->setObjectName(QStringLiteral("Combo_Methode"));
    Combo_Methode->addItems({QStringLiteral("linear"), QStringLiteral("degressiv")});
    Spin_Satz = new QSpinBox(this);
    Spin_Satz->setObjectName(QStringLiteral("Spin_Satz"));
    Spin_Satz->setRange(1, 30);
    Spin_Satz->setSuffix(QStringLiteral(" %"));
    Edit_LinearAb = zeile("Edit_LinearAb");
    Edit_LinearAb->setPlaceholderText(QStringLiteral("JJJJ"));
    Edit_LinearAb->setMaxLength(4);
    Combo_Art = new QComboBox(this);
    Combo_Art->setObjectName(QStringLiteral("Combo_Art"));
    for (const char* art : kArten)
        Combo_Art->addItem(QString::fromUtf8(art));
    Check_Gebraucht = new QCheckBox(QStringLiteral("&gebraucht erworben"), this);
    Check_Gebraucht->setObjectName(QStringLiteral("Check_Gebraucht"));
    Edit_Abgang = zeile("Edit_Abgang");
    Edit_Abgang->setPlaceholderText(QStringLiteral("TT.MM.JJJJ"));
    Edit_Erloes = zeile("Edit_Erloes");
    SchalterOK = new QPushButton(QStringLiteral("OK"), this);
    SchalterOK->setObjectName(QStringLiteral("SchalterOK"));
    SchalterOK->setDefault(true);
    SchalterAbbrechen = new QPushButton(QStringLiteral("Abbrechen"), this);
    SchalterAbbrechen->setObjectName(QStringLiteral("SchalterAbbrechen"));
    connect(SchalterOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(SchalterAbbrechen, &QPushButton::clicked, this, &QDialog::reject);
    connect(Edit_Buchung, &QLineEdit::editingFinished, this, &TFormAnlage::BuchungVerlassen);
    connect(Combo_Methode, &QComboBox::currentIndexChanged, this, &TFormAnlage::MethodeChange);

    auto* form = new QFormLayout;
    const auto feld = [this, form](const QString& text, QWidget* w) {
        auto* l = new QLabel(text, this);
        l->setBuddy(w);
        form->addRow(l, w);
    };
    feld(QStringLiteral("&Bezeichnung:"), Edit_Bezeichnung);
    feld(QStringLiteral("A&nschaffung am:"), Datum_Anschaffung);
    feld(QStringLiteral("bezahlt mit Buc&hung:"), Edit_Buchung);
    feld(QStringLiteral("&Kosten (netto, ohne abziehbare Vorsteuer):"), Edit_Kosten);
    feld(QStringLiteral("&Lieferant:"), Edit_Lieferant);
    feld(QStringLiteral("N&utzungsdauer (Jahre):"), Spin_Nutzungsdauer);
    feld(QStringLiteral("Abschreibung (&Methode):"), Combo_Methode);
    feld(QStringLiteral("degressiver &Satz:"), Spin_Satz);
    feld(QStringLiteral("linear ab &Jahr:"), Edit_LinearAb);
    feld(QStringLiteral("A&rt:"), Combo_Art);
    form->addRow(QString(), Check_Gebraucht);
    feld(QStringLiteral("Abgang &am:"), Edit_Abgang);
    feld(QStringLiteral("&Erlös des Abgangs:"), Edit_Erloes);

    auto* knoepfe = new QHBoxLayout;
    knoepfe->addStretch();
    knoepfe->addWidget(SchalterOK);
    knoepfe->addWidget(SchalterAbbrechen);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(knoepfe);

    QWidget* reihe[] = {Edit_Bezeichnung, Datum_Anschaffung,  Edit_Buchung,     Edit_Kosten,
                        Edit_Lieferant,   Spin_Nutzungsdauer, Combo_Methode,    Spin_Satz,
                        Edit_LinearAb,    Combo_Art,          Check_Gebraucht,  Edit_Abgang,
                        Edit_Erloes,      SchalterOK,         SchalterAbbrechen};
    for (size_t i = 1; i < std::size(reihe); ++i)
        setTabOrder(reihe[i - 1], reihe[i]);
    setEintrag({}, Modus::Neu);
}

void TFormAnlage::setEintrag(const anlagenverzeichnis::Eintrag& e, Modus modus) {
    m_eintrag = e;
    m_modus = modus;
    const anlagen::Anlage& a = e.anlage;
    setWindowTitle(modus == Modus::Neu      ? QStringLiteral("Neue Anlage")
                   : modus == Modus::Abgang ? QStringLiteral("Abgang der Anlage")
                                            : QStringLiteral("Anlage ändern"));
    Edit_Bezeichnung->setText(e.bezeichnung);
    if (a.anschaffung.isValid())
        Datum_Anschaffung->setDate(a.anschaffung);
    Edit_Buchung->setText(e.buchungsid ? QString::number(*e.buchungsid) : QString());
    m_vorgeschlagenFuer = Edit_Buchung->text();
    Edit_Kosten->setText(modus == Modus::Neu && !e.buchungsid ? QString() : a.kosten.format());
    Edit_Lieferant->setText(e.lieferant);
    Spin_Nutzungsdauer->setValue(a.nutzungsdauer);
    Combo_Methode->setCurrentIndex(a.degressivSatz > 0 ? 1 : 0);
    Spin_Satz->setValue(a.degressivSatz > 0 ? a.degressivSatz : 30);
    Edit_LinearAb->setText(a.linearAb ? QString::number(*a.linearAb) : QString());
    Combo_Art->setCurrentIndex(static_cast<int>(a.art));
    Check_Gebraucht->setChecked(a.gebraucht);
    Edit_Abgang->setText(a.abgang ? dates::format(*a.abgang) : QString());
    Edit_Erloes->setText(e.erloes ? e.erloes->format() : QString());
    // a disposal changes nothing but its own two fields
    const bool alles = modus != Modus::Abgang;
    for (QWidget* w : std::initializer_list<QWidget*>{
             Edit_Bezeichnung, Datum_Anschaffung, Edit_Buchung, Edit_Kosten, Edit_Lieferant,
             Spin_Nutzungsdauer, Combo_Methode, Combo_Art, Check_Gebraucht})
        w->setEnabled(alles);
    MethodeChange();
}

void TFormAnlage::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    QLineEdit* erstes = m_modus == Modus::Abgang ? Edit_Abgang : Edit_Bezeichnung;
    erstes->setFocus();
    erstes->selectAll();
}

void TFormAnlage::MethodeChange() {
    const bool degressiv = Combo_Methode->currentIndex() == 1 && m_modus != Modus::Abgang;
    Spin_Satz->setEnabled(degressiv);
    Edit_LinearAb->setEnabled(degressiv);
}

void TFormAnlage::BuchungVerlassen() {
    const QString text = Edit_Buchung->text().trimmed();
    if (text == m_vorgeschlagenFuer)
        return;
    m_vorgeschlagenFuer = text;
    bool ok = false;
    const int buchung = text.toInt(&ok);
    if (!ok || buchung <= 0 || !m_vorschlag)
        return;
    if (const auto netto = m_vorschlag(buchung))
        Edit_Kosten->setText(netto->format());
}

std::optional<anlagenverzeichnis::Eintrag> TFormAnlage::eintrag(QString& fehler) const {
    anlagenverzeichnis::Eintrag e = m_eintrag;
    anlagen::Anlage& a = e.anlage;
    e.bezeichnung = Edit_Bezeichnung->text().trimmed();
    e.lieferant = Edit_Lieferant->text().trimmed();
    a.anschaffung = Datum_Anschaffung->date();
    const QString buchung = Edit_Buchung->text().trimmed();
    e.buchungsid.reset();
    if (!buchung.isEmpty()) {
        bool ok = false;
        const int id = buchung.toInt(&ok);
        if (!ok || id <= 0) {
            fehler = QStringLiteral("'%1' ist keine Buchungsnummer (ID).").arg(buchung);
            return std::nullopt;
        }
        e.buchungsid = id;
    }
    if (Edit_Kosten->text().trimmed().isEmpty()) {
        fehler = QStringLiteral("Geben Sie die Kosten der Anlage an.");
        return std::nullopt;
    }
    const auto kosten = betragLesen(*Edit_Kosten, fehler);
    if (!kosten)
        return std::nullopt;
    a.kosten = *kosten;
    a.nutzungsdauer = Spin_Nutzungsdauer->value();
    const bool degressiv = Combo_Methode->currentIndex() == 1;
    a.degressivSatz = degressiv ? Spin_Satz->value() : 0;
    a.linearAb.reset();
    const QString linear = Edit_LinearAb->text().trimmed();
    if (degressiv && !linear.isEmpty()) {
        bool ok = false;
        const int jahr = linear.toInt(&ok);
        if (!ok || jahr < 1900 || jahr > 2999) {
            fehler = QStringLiteral("'%1' ist kein Jahr.").arg(linear);
            return std::nullopt;
        }
        a.linearAb = jahr;
    }
    a.art = static_cast<anlagen::Art>(Combo_Art->currentIndex());
    a.gebraucht = Check_Gebraucht->isChecked();
    a.abgang.reset();
    const QString abgang = Edit_Abgang->text().trimmed();
    if (!abgang.isEmpty()) {
        const auto d = dates::parse(abgang);
        if (!d) {
            fehler = QStringLiteral("'%1' ist kein gültiges Datum.").arg(abgang);
            return std::nullopt;
        }
        a.abgang = *d;
    }
    e.erloes.reset();
    if (!Edit_Erloes->text().trimmed().isEmpty()) {
        const auto erloes = betragLesen(*Edit_Erloes, fehler);
        if (!erloes)
            return std::nullopt;
        e.erloes = *erloes;
    }
    return e;
}
