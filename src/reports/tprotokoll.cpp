#include "reports/tprotokoll.h"

#include "data/dates.h"
#include "data/db.h"
#include "data/dm_einaus.h"
#include "data/protokollliste.h"
#include "export/programmexport.h"
#include "export/tdbgridexport.h"
#include "platform/userseam.h"
#include "toolkit/gridspalten.h"
#include "toolkit/umgebung.h"

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <algorithm>

namespace {

// Marks the fields a change touched: a light background and bold text.
class Markierung final : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;
    QVariant data(const QModelIndex& index, int role) const override {
        if (role == Qt::BackgroundRole || role == Qt::FontRole) {
            if (!QIdentityProxyModel::data(index, Protokollliste::GeaendertRolle).toBool())
                return QIdentityProxyModel::data(index, role);
            if (role == Qt::BackgroundRole)
                return QBrush(QColor(255, 232, 160));
            QFont f;
            f.setBold(true);
            return f;
        }
        return QIdentityProxyModel::data(index, role);
    }
};

} // namespace

TProtokoll::TProtokoll(Umgebung& umgebung, QWidget* parent)
    : QDialog(parent), m_umgebung(umgebung),
      m_liste(std::make_unique<Protokollliste>(umgebung.dm.db())) {
    setObjectName(QStringLiteral("Protokoll"));
    setWindowTitle(QStringLiteral("Änderungsprotokoll"));
    resize(980, 520);

    const auto eingabe = [this](const char* name, int breite) {
        auto* e = new QLineEdit(this);
        e->setObjectName(QLatin1String(name));
        e->setFixedWidth(breite);
        return e;
    };
    const auto knopf = [this](const char* name, const QString& text) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        return b;
    };
    Edit_Buchung = eingabe("Edit_Buchung", 70);
    Edit_Von = eingabe("Edit_Von", 90);
    Edit_Bis = eingabe("Edit_Bis", 90);
    Edit_Von->setPlaceholderText(QStringLiteral("TT.MM.JJJJ"));
    Edit_Bis->setPlaceholderText(QStringLiteral("TT.MM.JJJJ"));
    BitBtnFiltern = knopf("BitBtnFiltern", QStringLiteral("&Filtern"));
    BitBtnFiltern->setDefault(true);
    BitBtnExport = knopf("BitBtnExport", QStringLiteral("&Exportieren"));
    BitBtnSchliessen = knopf("BitBtnSchliessen", QStringLiteral("S&chließen"));
    connect(BitBtnFiltern, &QPushButton::clicked, this, &TProtokoll::FilterClick);
    connect(BitBtnExport, &QPushButton::clicked, this, &TProtokoll::ExportClick);
    connect(BitBtnSchliessen, &QPushButton::clicked, this, &QDialog::reject);

    Grid_Protokoll = new QTableView(this);
    Grid_Protokoll->setObjectName(QStringLiteral("Grid_Protokoll"));
    listenGridEinrichten(*Grid_Protokoll);
    auto* markierung = new Markierung(this);
    markierung->setSourceModel(m_liste.get());
    Grid_Protokoll->setModel(markierung);
    Grid_Protokoll->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);

    m_export = std::make_unique<TDBGridExport>(umgebung.ui, umgebung.clock);
    m_export->setObjectName(QStringLiteral("DBGridExport1"));
    m_export->setDBGrid(Grid_Protokoll);
    programmExportEinrichten(*m_export, umgebung.ui, QStringLiteral("Änderungsprotokoll"));

    const auto beschriftung = [this](const QString& text, QWidget* fuer) {
        auto* l = new QLabel(text, this);
        l->setBuddy(fuer);
        return l;
    };
    auto* filter = new QHBoxLayout;
    filter->addWidget(beschriftung(QStringLiteral("&Buchung:"), Edit_Buchung));
    filter->addWidget(Edit_Buchung);
    filter->addSpacing(12);
    filter->addWidget(beschriftung(QStringLiteral("geändert &von:"), Edit_Von));
    filter->addWidget(Edit_Von);
    filter->addWidget(beschriftung(QStringLiteral("b&is:"), Edit_Bis));
    filter->addWidget(Edit_Bis);
    filter->addWidget(BitBtnFiltern);
    filter->addStretch();
    filter->addWidget(BitBtnExport);
    filter->addWidget(BitBtnSchliessen);
    auto* layout = new QGridLayout(this);
    layout->addLayout(filter, 0, 0);
    layout->addWidget(Grid_Protokoll, 1, 0);
    auto* hinweis =
        new QLabel(QStringLiteral("Markiert: die Felder, die eine Änderung berührt hat; "
                                  "ihre alten Werte stehen in der Spalte \"Vorher\"."),
                   this);
    layout->addWidget(hinweis, 2, 0);
    setTabOrder(Edit_Buchung, Edit_Von);
    setTabOrder(Edit_Von, Edit_Bis);
    setTabOrder(Edit_Bis, BitBtnFiltern);
    setTabOrder(BitBtnFiltern, Grid_Protokoll);
    setTabOrder(Grid_Protokoll, BitBtnExport);
    setTabOrder(BitBtnExport, BitBtnSchliessen);
}

TProtokoll::~TProtokoll() = default;

void TProtokoll::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FilterClick();
    Edit_Buchung->setFocus();
}

void TProtokoll::FilterClick() {
    UserSeam& ui = m_umgebung.ui;
    Protokollliste::Filter filter;
    const QString buchung = Edit_Buchung->text().trimmed();
    if (!buchung.isEmpty()) {
        bool ok = false;
        const int id = buchung.toInt(&ok);
        if (!ok) {
            ui.message(QStringLiteral("Geben Sie als Buchung eine Buchungsnummer (ID) an."));
            Edit_Buchung->setFocus();
            return;
        }
        filter.buchung = id;
    }
    for (auto [edit, ziel] : {std::pair{Edit_Von, &filter.von}, std::pair{Edit_Bis, &filter.bis}}) {
        const QString text = edit->text().trimmed();
        if (text.isEmpty())
            continue;
        const auto d = dates::parse(text);
        if (!d) {
            ui.message(QStringLiteral("'%1' ist kein gültiges Datum.").arg(text));
            edit->setFocus();
            return;
        }
        *ziel = *d;
    }
    try {
        TDM_EinAus& dm = m_umgebung.dm;
        m_liste->starten(dm.gibMandant(), dm.gibZeitraum(), filter);
    } catch (const DatenbankFehler& e) {
        ui.error(e.text());
        return;
    }
    Grid_Protokoll->resizeColumnsToContents();
    // a long text or list of postings must not push the rest out of sight
    for (int c = 0; c < m_liste->columnCount(); ++c)
        Grid_Protokoll->setColumnWidth(c, std::min(Grid_Protokoll->columnWidth(c), 320));
    if (m_liste->rowCount() > 0)
        Grid_Protokoll->setCurrentIndex(Grid_Protokoll->model()->index(0, 0));
}

void TProtokoll::ExportClick() {
    programmExportAusfuehren(*m_export, m_umgebung.ui);
}
