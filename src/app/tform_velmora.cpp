#include "app/tform_velmora.h"

#include "bookings/buchungsbefehle.h"
#include "bookings/buchungskreisbefehle.h"
#include "masterdata/mandantenbefehle.h"
#include "masterdata/zeitraumbefehle.h"
#include "platform/process.h"
#include "toolkit/umgebung.h"

#include <QCloseEvent>
#include <QDir>
#include <QGridLayout>
#include <QLabel>
#include <QTableView>
#include <QVBoxLayout>

TForm_Velmora::TForm_Velmora(Umgebung& umgebung) : m_umgebung(umgebung) {
    setObjectName(QStringLiteral("Form_Velmora"));
    setWindowTitle(QStringLiteral("Tarnholt :: Velmora"));
    resize(695, 657);

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    auto* kopf = new QGridLayout;
    kopf->addWidget(new QLabel(QStringLiteral("Aktueller Mandant:"), central), 0, 0);
    LabelMandant = new QLabel(central);
    LabelMandant->setObjectName(QStringLiteral("LabelMandant"));
    kopf->addWidget(LabelMandant, 0, 1);
    kopf->addWidget(new QLabel(QStringLiteral("Aktuelles Wirtschaftsjahr:"), central), 1, 0);
    LabelJahr = new QLabel(central);
    LabelJahr->setObjectName(QStringLiteral("LabelJahr"));
    kopf->addWidget(LabelJahr, 1, 1);
    layout->addLayout(kopf);
    Grid_Ein = new QTableView(central);
    Grid_Ein->setObjectName(QStringLiteral("Grid_Ein"));
    Grid_Aus = new QTableView(central);
    Grid_Aus->setObjectName(QStringLiteral("Grid_Aus"));
    layout->addWidget(Grid_Ein);
    layout->addWidget(Grid_Aus);
    setCentralWidget(central);

    m_buchungskreise = std::make_unique<BuchungskreisBefehle>(m_umgebung, this);
    m_buchungen = std::make_unique<BuchungsBefehle>(m_umgebung, *this, *m_buchungskreise);
    m_mandanten = std::make_unique<MandantenBefehle>(m_umgebung, *this);
    m_zeitraeume = std::make_unique<ZeitraumBefehle>(m_umgebung, *this);

    baueMenue();
    FormCreate();
}

TForm_Velmora::~TForm_Velmora() = default;

void TForm_Velmora::FormCreate() {}

void TForm_Velmora::AnzeigeAktualisieren() {}

void TForm_Velmora::Berechne() {}

void TForm_Velmora::QueryEinRequery() {}

void TForm_Velmora::QueryAusRequery() {}

void TForm_Velmora::QueryStarten(int, int) {}

void TForm_Velmora::ZeigeAktuellesJahr(int, int) {}

void TForm_Velmora::Beenden1Click() { close(); }

void TForm_Velmora::Buchen1Click() { m_buchungen->Buchen1Click(); }

void TForm_Velmora::Stammdaten1Click() { m_mandanten->Stammdaten1Click(); }

void TForm_Velmora::Mandanten1Click() { m_mandanten->Mandanten1Click(); }

void TForm_Velmora::Wirtschaftsjahrauswhlen1Click() { m_zeitraeume->Wirtschaftsjahrauswhlen1Click(); }

void TForm_Velmora::Buchungskreise1Click() { m_buchungskreise->Buchungskreise1Click(); }

void TForm_Velmora::MandantImportieren1Click() { m_mandanten->MandantImportieren1Click(); }

// The evaluations, the tax-office export, the shortcut and the about box
// arrive with their own windows.
void TForm_Velmora::Iconerstellen1Click() {}
void TForm_Velmora::USTVerprobung1Click() {}
void TForm_Velmora::Journal1Click() {}
void TForm_Velmora::BuchungskreisAuswertung1Click() {}
void TForm_Velmora::BuchungskreisDetails1Click() {}
void TForm_Velmora::Plus_MinusClick() {}
void TForm_Velmora::Finanzamt1Click() {}
void TForm_Velmora::berVelmora1Click() {}

void TForm_Velmora::closeEvent(QCloseEvent* event) {
    FormClose();
    event->accept();
}

void TForm_Velmora::FormClose() {
    // the backup runs on its own; the program ends whether it starts or not
    if (!m_backupProgram.isEmpty())
        process::startDetached(m_backupProgram, QDir::currentPath());
}
