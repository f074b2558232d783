#include "masterdata/tmandantenauswahl.h"

#include "data/dm_einaus.h"
#include "masterdata/dblookuplistbox.h"
#include "masterdata/dialogteile.h"
#include "masterdata/mandantenablauf.h"
#include "toolkit/umgebung.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TMandantenauswahl::TMandantenauswahl(Umgebung& umgebung, MandantenAblauf& ablauf, QWidget* parent)
    : QDialog(parent), m_umgebung(umgebung), m_ablauf(ablauf) {
    using namespace dialogteile;
    setObjectName(QStringLiteral("Mandantenauswahl"));
    setWindowTitle(QStringLiteral("Mandanten"));

    Label4 = label(this, "Label4", QStringLiteral("Aktueller Mandant:"));
    Label_Mandant = wertLabel(this, "Label_Mandant");
    DBLookupListBox1 = new DBLookupListBox(this);
    DBLookupListBox1->setObjectName(QStringLiteral("DBLookupListBox1"));
    DBLookupListBox1->setSource(&m_umgebung.dm.Table_Mandant(), QStringLiteral("id"),
                                QStringLiteral("Bezeichnung"));
    Label2 = label(this, "Label2", QStringLiteral("Durch Doppelklick den"), true);
    Label3 = label(this, "Label3", QStringLiteral("Mandanten auswählen"), true);
    Mandant_Bearbeiten =
        button(this, "Mandant_Bearbeiten", QStringLiteral("Markierten Mandant\nbearbeiten"));
    Mandant_Neu = button(this, "Mandant_Neu", QStringLiteral("Neuen Mandant\nanlegen"));
    BitBtn1 = button(this, "BitBtn1", QStringLiteral("Markierten Mandant löschen"));
    Schliessen = button(this, "Schliessen", QStringLiteral("S&chließen"));

    auto* kopf = new QHBoxLayout;
    kopf->addWidget(Label4);
    kopf->addWidget(Label_Mandant, 1);
    auto* knoepfe = new QVBoxLayout;
    knoepfe->addWidget(Label2);
    knoepfe->addWidget(Label3);
    knoepfe->addSpacing(8);
    knoepfe->addWidget(Mandant_Bearbeiten);
    knoepfe->addWidget(Mandant_Neu);
    knoepfe->addWidget(BitBtn1);
    knoepfe->addStretch(1);
    knoepfe->addWidget(Schliessen);
    auto* mitte = new QHBoxLayout;
    mitte->addWidget(DBLookupListBox1, 1);
    mitte->addLayout(knoepfe);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(kopf);
    layout->addLayout(mitte);
    resize(460, 320);

    connect(DBLookupListBox1, &DBLookupListBox::entryChosen, this,
            &TMandantenauswahl::DBLookupListBox1DblClick);
    connect(Mandant_Neu, &QPushButton::clicked, this, &TMandantenauswahl::Mandant_NeuClick);
    connect(Mandant_Bearbeiten, &QPushButton::clicked, this,
            &TMandantenauswahl::Mandant_BearbeitenClick);
    connect(BitBtn1, &QPushButton::clicked, this, &TMandantenauswahl::BitBtn1Click);
    connect(Schliessen, &QPushButton::clicked, this, &TMandantenauswahl::SchliessenClick);
    DBLookupListBox1->setFocus();
}

void TMandantenauswahl::FormActivate() {
    TDM_EinAus& dm = m_umgebung.dm;
    const int mandant = dm.gibMandant();
    Label_Mandant->setText(dm.gibMandantName(mandant));
    DBLookupListBox1->setKeyValue(mandant);
}

void TMandantenauswahl::DBLookupListBox1DblClick() {
    const std::optional<int> mandant = DBLookupListBox1->keyValue();
    if (!mandant)
        return;
    m_ablauf.wechseln(*mandant);
    TDM_EinAus& dm = m_umgebung.dm;
    Label_Mandant->setText(dm.gibMandantName(dm.gibMandant()));
}

// After a box over the list has closed, the list shows the current client again.
void TMandantenauswahl::Mandant_NeuClick() {
    m_ablauf.neu();
    FormActivate();
}

void TMandantenauswahl::Mandant_BearbeitenClick() {
    const std::optional<int> mandant = DBLookupListBox1->keyValue();
    if (!mandant)
        return;
    m_ablauf.umbenennen(*mandant);
    FormActivate();
}

void TMandantenauswahl::BitBtn1Click() {
    const std::optional<int> mandant = DBLookupListBox1->keyValue();
    if (!mandant)
        return;
    m_ablauf.loeschen(*mandant);
    FormActivate();
}

void TMandantenauswahl::SchliessenClick() {
    reject();
}
