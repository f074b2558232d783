#include "reports/tforme1a.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

TFormE1a::TFormE1a(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FormE1a"));
    setWindowTitle(QStringLiteral("Kennzahl E 1a"));
    LabelKreis = new QLabel(this);
    LabelKreis->setObjectName(QStringLiteral("LabelKreis"));
    LabelKreis->setTextFormat(Qt::PlainText);
    QFont fett = LabelKreis->font();
    fett.setBold(true);
    LabelKreis->setFont(fett);
    Combo_Kennzahl = new QComboBox(this);
    Combo_Kennzahl->setObjectName(QStringLiteral("Combo_Kennzahl"));
    Edit_Nummer = new QLineEdit(this);
    Edit_Nummer->setObjectName(QStringLiteral("Edit_Nummer"));
    Edit_Nummer->setMaxLength(4);
    Edit_Nummer->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,4}")), this));
    Edit_Text = new QLineEdit(this);
    Edit_Text->setObjectName(QStringLiteral("Edit_Text"));
    Edit_Text->setMaxLength(100);
    Radio_Einnahme = new QRadioButton(QStringLiteral("&Einnahme"), this);
    Radio_Einnahme->setObjectName(QStringLiteral("Radio_Einnahme"));
    Radio_Ausgabe = new QRadioButton(QStringLiteral("A&usgabe"), this);
    Radio_Ausgabe->setObjectName(QStringLiteral("Radio_Ausgabe"));
    // one frame for the pair, so their exclusiveness can be lifted to clear both
    auto* seite = new QWidget(this);
    seite->setObjectName(QStringLiteral("Seite"));
    Radio_Einnahme->setParent(seite);
    Radio_Ausgabe->setParent(seite);
    SchalterOK = new QPushButton(QStringLiteral("OK"), this);
    SchalterOK->setObjectName(QStringLiteral("SchalterOK"));
    SchalterOK->setDefault(true);
    SchalterAbbrechen = new QPushButton(QStringLiteral("Abbrechen"), this);
    SchalterAbbrechen->setObjectName(QStringLiteral("SchalterAbbrechen"));
    connect(SchalterOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(SchalterAbbrechen, &QPushButton::clicked, this, &QDialog::reject);
    connect(Combo_Kennzahl, &QComboBox::currentIndexChanged, this, &TFormE1a::AuswahlChange);

    auto* form = new QFormLayout;
    const auto feld = [this, form](const QString& text, QWidget* w) {
        auto* l = new QLabel(text, this);
        l->setBuddy(w);
        form->addRow(l, w);
    };
    form->addRow(new QLabel(QStringLiteral("Buchungskreis:"), this), LabelKreis);
    feld(QStringLiteral("&Kennzahl:"), Combo_Kennzahl);
    feld(QStringLiteral("andere &Nummer:"), Edit_Nummer);
    feld(QStringLiteral("ihr &Text:"), Edit_Text);
    auto* seiten = new QHBoxLayout(seite);
    seiten->setContentsMargins(0, 0, 0, 0);
    seiten->addWidget(Radio_Einnahme);
    seiten->addWidget(Radio_Ausgabe);
    seiten->addStretch();
    form->addRow(new QLabel(QStringLiteral("Seite:"), this), seite);
    auto* knoepfe = new QHBoxLayout;
    knoepfe->addStretch();
    knoepfe->addWidget(SchalterOK);
    knoepfe->addWidget(SchalterAbbrechen);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(knoepfe);
    setTabOrder(Combo_Kennzahl, Edit_Nummer);
    setTabOrder(Edit_Nummer, Edit_Text);
    setTabOrder(Edit_Text, Radio_Einnahme);
    setTabOrder(Radio_Einnahme, Radio_Ausgabe);
    setTabOrder(Radio_Ausgabe, SchalterOK);
    setTabOrder(SchalterOK, SchalterAbbrechen);
    setMinimumWidth(460);
}

void TFormE1a::setzen(const QString& kreis, const e1a::Zuordnung& jetzt,
                      const std::vector<e1a::Kennzahl>& eigene) {
    m_eigene = eigene;
    LabelKreis->setText(kreis);
    QSignalBlocker still(Combo_Kennzahl);
    Combo_Kennzahl->clear();
    Combo_Kennzahl->addItem(QStringLiteral("keine"), int(Keine));
    for (const std::vector<e1a::Kennzahl>* liste : {&e1a::bekannte(), &std::as_const(m_eigene)})
        for (const e1a::Kennzahl& k : *liste)
            Combo_Kennzahl->addItem(QString::number(k.nummer) + QLatin1Char(' ') + k.text,
                                    k.nummer);
    Combo_Kennzahl->addItem(QStringLiteral("andere Kennzahl …"), int(Andere));
    Combo_Kennzahl->addItem(QStringLiteral("Anlagenzugang (über das Anlagenverzeichnis)"),
                            int(Anlage));
    Edit_Nummer->clear();
    Edit_Text->clear();
    // no side until one is known or chosen
    for (QRadioButton* r : {Radio_Einnahme, Radio_Ausgabe}) {
        r->setAutoExclusive(false);
        r->setChecked(false);
        r->setAutoExclusive(true);
    }
    int wahl = Keine;
    if (jetzt.art == e1a::Zuordnung::Art::Anlage)
        wahl = Anlage;
    else if (jetzt.art == e1a::Zuordnung::Art::Kennzahl)
        wahl = jetzt.kennzahl;
    const int index = Combo_Kennzahl->findData(wahl);
    if (index < 0) {
        // a number without a stored text: typed again
        Combo_Kennzahl->setCurrentIndex(Combo_Kennzahl->findData(int(Andere)));
        Edit_Nummer->setText(QString::number(jetzt.kennzahl));
    } else {
        Combo_Kennzahl->setCurrentIndex(index);
    }
    AuswahlChange();
    if (jetzt.art == e1a::Zuordnung::Art::Kennzahl)
        (jetzt.istEinnahme ? Radio_Einnahme : Radio_Ausgabe)->setChecked(true);
}

void TFormE1a::AuswahlChange() {
    const int wahl = Combo_Kennzahl->currentData().toInt();
    const bool andere = wahl == Andere;
    Edit_Nummer->setEnabled(andere);
    Edit_Text->setEnabled(andere);
    const bool kennzahl = wahl >= 1000 || andere;
    Radio_Einnahme->setEnabled(kennzahl);
    Radio_Ausgabe->setEnabled(kennzahl);
    for (const e1a::Kennzahl& k : e1a::bekannte())
        if (k.nummer == wahl)
            (k.istEinnahme ? Radio_Einnahme : Radio_Ausgabe)->setChecked(true);
}

void TFormE1a::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    Combo_Kennzahl->setFocus();
}

std::optional<TFormE1a::Wahl> TFormE1a::wahl(QString& fehler) const {
    Wahl w;
    const int auswahl = Combo_Kennzahl->currentData().toInt();
    if (auswahl == Keine)
        return w;
    if (auswahl == Anlage) {
        w.zuordnung.art = e1a::Zuordnung::Art::Anlage;
        return w;
    }
    w.zuordnung.art = e1a::Zuordnung::Art::Kennzahl;
    w.zuordnung.kennzahl = auswahl;
    if (auswahl == Andere) {
        const QString nummer = Edit_Nummer->text().trimmed();
        if (nummer.size() != 4 || nummer.startsWith(QLatin1Char('0'))) {
            fehler = QStringLiteral("Eine Kennzahl hat vier Ziffern.");
            return std::nullopt;
        }
        w.zuordnung.kennzahl = nummer.toInt();
        if (!Edit_Text->text().trimmed().isEmpty())
            w.text = Edit_Text->text().trimmed();
    }
    if (Radio_Einnahme->isChecked() || Radio_Ausgabe->isChecked())
        w.istEinnahme = Radio_Einnahme->isChecked();
    return w;
}
