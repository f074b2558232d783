#include "masterdata/tformzeitraum.h"

#include "data/dm_einaus.h"
#include "masterdata/dblookuplistbox.h"
#include "masterdata/dialogteile.h"
#include "masterdata/zeitraeume.h"
#include "masterdata/zeitraumablauf.h"
#include "platform/userseam.h"
#include "toolkit/umgebung.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TFormZeitraum::TFormZeitraum(Umgebung& umgebung, ZeitraumAblauf& ablauf, QWidget* parent)
    : QDialog(parent), m_umgebung(umgebung), m_ablauf(ablauf) {
    using namespace dialogteile;
    setObjectName(QStringLiteral("FormZeitraum"));
    setWindowTitle(QStringLiteral("Wirtschaftsjahre"));

    Label4 = label(this, "Label4", QStringLiteral("Aktueller Mandant:"));
    Label_Mandant = wertLabel(this, "Label_Mandant");
    Label1 = label(this, "Label1", QStringLiteral("Aktuelles Wirtschaftsjahr:"));
    LabelAktuellesJahr = wertLabel(this, "LabelAktuellesJahr");
    DBLookupListBox1 = new DBLookupListBox(this);
    DBLookupListBox1->setObjectName(QStringLiteral("DBLookupListBox1"));
    QFont fett = DBLookupListBox1->font();
    fett.setBold(true);
    DBLookupListBox1->setFont(fett);
    DBLookupListBox1->setSource(&m_umgebung.dm.QueryZeitraum(), QStringLiteral("id"),
                                QStringLiteral("Jahr"));
    Label2 = label(this, "Label2", QStringLiteral("Durch Doppelklick das"), true);
    Label3 = label(this, "Label3", QStringLiteral("Wirtschaftsjahr auswählen"), true);
    NeuesJahr = button(this, "NeuesJahr", QStringLiteral("Neues Jahr anlegen"));
    BitBtn1 = button(this, "BitBtn1", QStringLiteral("Wirtschaftsjahr löschen"));
    Schliessen = button(this, "Schliessen", QStringLiteral("S&chließen"));

    auto* kopf = new QGridLayout;
    kopf->addWidget(Label4, 0, 0);
    kopf->addWidget(Label_Mandant, 0, 1);
    kopf->addWidget(Label1, 1, 0);
    kopf->addWidget(LabelAktuellesJahr, 1, 1);
    kopf->setColumnStretch(1, 1);
    auto* knoepfe = new QVBoxLayout;
    knoepfe->addWidget(Label2);
    knoepfe->addWidget(Label3);
    knoepfe->addSpacing(8);
    knoepfe->addWidget(NeuesJahr);
    knoepfe->addWidget(BitBtn1);
    knoepfe->addStretch(1);
    knoepfe->addWidget(Schliessen);
    auto* mitte = new QHBoxLayout;
    mitte->addWidget(DBLookupListBox1, 1);
    mitte->addLayout(knoepfe);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(kopf);
    layout->addLayout(mitte);
    resize(420, 300);

    connect(DBLookupListBox1, &DBLookupListBox::entryChosen, this,
            &TFormZeitraum::DBLookupListBox1DblClick);
    connect(NeuesJahr, &QPushButton::clicked, this, &TFormZeitraum::NeuesJahrClick);
    connect(BitBtn1, &QPushButton::clicked, this, &TFormZeitraum::BitBtn1Click);
    connect(Schliessen, &QPushButton::clicked, this, &TFormZeitraum::SchliessenClick);
    DBLookupListBox1->setFocus();
}

void TFormZeitraum::FormActivate() {
    TDM_EinAus& dm = m_umgebung.dm;
    try {
        const int mandant = dm.gibMandant();
        if (zeitraeume::hatEinstellung(dm, mandant))
            ZeigeWirtschaftsjahr(dm.gibZeitraum(), mandant);
        else
            LabelAktuellesJahr->clear();
        dm.setQueryZeitraumMandant(mandant);
        Label_Mandant->setText(dm.gibMandantName(mandant));
        DBLookupListBox1->setKeyValue(dm.gibZeitraum());
    } catch (const DatenbankFehler& e) {
        m_umgebung.ui.error(e.text());
    }
}

void TFormZeitraum::ZeigeWirtschaftsjahr(int zeitraum, int mandant) {
    const std::optional<int> jahr = zeitraeume::jahrVon(m_umgebung.dm, zeitraum, mandant);
    LabelAktuellesJahr->setText(jahr ? QString::number(*jahr) : QString());
}

bool TFormZeitraum::SetzeWirtschaftsjahr(int zeitraum, int mandant) {
    return m_ablauf.setzen(zeitraum, mandant);
}

// After a box over the list has closed, the list is read again with the current year marked.
void TFormZeitraum::NeuesJahrClick() {
    m_ablauf.neuesJahr();
    FormActivate();
}

void TFormZeitraum::BitBtn1Click() {
    const std::optional<int> zeitraum = DBLookupListBox1->keyValue();
    if (!zeitraum)
        return;
    m_ablauf.loeschen(*zeitraum);
    FormActivate();
}

void TFormZeitraum::DBLookupListBox1DblClick() {
    const std::optional<int> zeitraum = DBLookupListBox1->keyValue();
    if (!zeitraum)
        return;
    const int mandant = m_umgebung.dm.gibMandant();
    if (!SetzeWirtschaftsjahr(*zeitraum, mandant))
        return;
    try {
        ZeigeWirtschaftsjahr(*zeitraum, mandant);
    } catch (const DatenbankFehler& e) {
        m_umgebung.ui.error(e.text());
    }
    accept();
}

void TFormZeitraum::SchliessenClick() {
    reject();
}
