#include "reports/texportansicht.h"

#include "data/db.h"
#include "data/dm_einaus.h"
#include "data/finanzamtliste.h"
#include "export/programmexport.h"
#include "export/tabfrageexport.h"
#include "platform/userseam.h"
#include "reports/texporthilfe.h"
#include "toolkit/gridspalten.h"
#include "toolkit/umgebung.h"

#include <QEvent>
#include <QHeaderView>
#include <QPushButton>
#include <QStyle>
#include <QTableView>

TExportansicht::TExportansicht(Umgebung& umgebung, QWidget* parent)
    : QDialog(parent), m_umgebung(umgebung),
      m_query(std::make_unique<FinanzamtListe>(umgebung.dm.db())),
      m_hilfe(std::make_unique<TExportHilfe>()) {
    setObjectName(QStringLiteral("Exportansicht"));
    setWindowTitle(QStringLiteral("Exportansicht"));
    QFont schrift;
    schrift.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("Liberation Sans")});
    schrift.setPointSize(8);
    setFont(schrift);
    resize(682, 476);

    const auto knopf = [this](const char* name, const QString& text, QStyle::StandardPixmap bild) {
        auto* b = new QPushButton(style()->standardIcon(bild), text, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        return b;
    };
    BitBtn2 = knopf("BitBtn2", QStringLiteral("Exportieren"), QStyle::SP_DialogSaveButton);
    BitBtn3 =
        knopf("BitBtn3", QStringLiteral("&Hilfe zu dieser Funktion"), QStyle::SP_DialogHelpButton);
    BitBtn1 = knopf("BitBtn1", QStringLiteral("&Schließen"), QStyle::SP_DialogCloseButton);
    connect(BitBtn2, &QPushButton::clicked, this, &TExportansicht::BitBtn2Click);
    connect(BitBtn3, &QPushButton::clicked, this, &TExportansicht::BitBtn3Click);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::reject);

    DBGrid_Finanzamt = new QTableView(this);
    DBGrid_Finanzamt->setObjectName(QStringLiteral("DBGrid_Finanzamt"));
    listenGridEinrichten(*DBGrid_Finanzamt);
    DBGrid_Finanzamt->setModel(m_query.get());

    m_export = std::make_unique<TAbfrageExport>(umgebung.ui, umgebung.clock);
    m_export->setObjectName(QStringLiteral("DBGridExport1"));
    programmExportEinrichten(*m_export, umgebung.ui, QStringLiteral("Export Finanzamt"));

    // buttons top left, middle and right; the grid fills the rest
    const int oben = 8, hoehe = 30;
    BitBtn2->setGeometry(8, oben, 130, hoehe);
    BitBtn3->setGeometry(241, oben, 200, hoehe);
    BitBtn1->setGeometry(544, oben, 130, hoehe);
    DBGrid_Finanzamt->setGeometry(0, oben + hoehe + 8, 682, 476 - (oben + hoehe + 8));
    setTabOrder(BitBtn2, BitBtn3);
    setTabOrder(BitBtn3, BitBtn1);
    setTabOrder(BitBtn1, DBGrid_Finanzamt);
}

TExportansicht::~TExportansicht() {
    DBGrid_Finanzamt->setModel(nullptr);
}

bool TExportansicht::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate || e->type() == QEvent::Show)
        FormActivate();
    if (e->type() == QEvent::Resize)
        DBGrid_Finanzamt->resize(width(), height() - DBGrid_Finanzamt->y());
    return QDialog::event(e);
}

void TExportansicht::FormActivate() {
    const auto spalten = FinanzamtListe::spalten();
    for (size_t i = 0; i < spalten.size(); ++i)
        DBGrid_Finanzamt->setColumnWidth(static_cast<int>(i), spalten[i].breite);
}

void TExportansicht::BitBtn2Click() {
    // the grid shows the rows; the export takes them from the statement, typed
    try {
        m_export->oeffnen(m_query->exportAbfrage(), FinanzamtListe::arten(),
                          FinanzamtListe::breiten());
    } catch (const DatenbankFehler& e) {
        m_umgebung.ui.error(e.text());
        return;
    }
    struct Schliessen {
        TAbfrageExport& e;
        ~Schliessen() { e.schliessen(); }
    } schliessen{*m_export};
    programmExportAusfuehren(*m_export, m_umgebung.ui);
}

void TExportansicht::BitBtn3Click() {
    m_umgebung.ui.runModal(*m_hilfe);
}
