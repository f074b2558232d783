#include "reports/tanlagenverzeichnis.h"

#include "data/db.h"
#include "data/dm_einaus.h"
#include "export/programmexport.h"
#include "export/tdbgridexport.h"
#include "platform/userseam.h"
#include "reports/anlagenablauf.h"
#include "reports/anlagenverzeichnis.h"
#include "reports/tabelle.h"
#include "reports/tformanlage.h"
#include "reports/trep_jahresabschluss.h"
#include "toolkit/gridspalten.h"
#include "toolkit/umgebung.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

TAnlagenverzeichnis::TAnlagenverzeichnis(Umgebung& umgebung, QWidget* parent)
    : QDialog(parent), m_umgebung(umgebung), m_liste(std::make_unique<TabellenModell>()),
      m_dialog(std::make_unique<TFormAnlage>(this)),
      m_ablauf(std::make_unique<AnlagenAblauf>(umgebung, *m_dialog)) {
    setObjectName(QStringLiteral("Anlagenverzeichnis"));
    setWindowTitle(QStringLiteral("Anlagenverzeichnis"));
    resize(820, 420);

    LabelJahr = new QLabel(this);
    LabelJahr->setObjectName(QStringLiteral("LabelJahr"));
    QFont fett = LabelJahr->font();
    fett.setBold(true);
    LabelJahr->setFont(fett);

    Grid_Anlagen = new QTableView(this);
    Grid_Anlagen->setObjectName(QStringLiteral("Grid_Anlagen"));
    listenGridEinrichten(*Grid_Anlagen);
    Grid_Anlagen->setModel(m_liste.get());
    Grid_Anlagen->installEventFilter(this);
    connect(Grid_Anlagen, &QTableView::doubleClicked, this,
            &TAnlagenverzeichnis::SchalterAendernClick);

    const auto knopf = [this](const char* name, const QString& text) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        return b;
    };
    SchalterNeu = knopf("SchalterNeu", QStringLiteral("&Neu…"));
    SchalterAendern = knopf("SchalterAendern", QStringLiteral("Än&dern…"));
    SchalterAbgang = knopf("SchalterAbgang", QStringLiteral("A&bgang…"));
    SchalterLoeschen = knopf("SchalterLoeschen", QStringLiteral("&Löschen"));
    SchalterExport = knopf("SchalterExport", QStringLiteral("&Exportieren"));
    SchalterSchliessen = knopf("SchalterSchliessen", QStringLiteral("S&chließen"));
    connect(SchalterNeu, &QPushButton::clicked, this, &TAnlagenverzeichnis::SchalterNeuClick);
    connect(SchalterAendern, &QPushButton::clicked, this,
            &TAnlagenverzeichnis::SchalterAendernClick);
    connect(SchalterAbgang, &QPushButton::clicked, this, &TAnlagenverzeichnis::SchalterAbgangClick);
    connect(SchalterLoeschen, &QPushButton::clicked, this,
            &TAnlagenverzeichnis::SchalterLoeschenClick);
    connect(SchalterExport, &QPushButton::clicked, this, &TAnlagenverzeichnis::SchalterExportClick);
    connect(SchalterSchliessen, &QPushButton::clicked, this, &QDialog::reject);

    m_export = std::make_unique<TDBGridExport>(umgebung.ui, umgebung.clock);
    m_export->setObjectName(QStringLiteral("DBGridExport1"));
    m_export->setDBGrid(Grid_Anlagen);
    programmExportEinrichten(*m_export, umgebung.ui, QStringLiteral("Export Buchhaltung"));

    auto* knoepfe = new QHBoxLayout;
    for (QPushButton* b : {SchalterNeu, SchalterAendern, SchalterAbgang, SchalterLoeschen})
        knoepfe->addWidget(b);
    knoepfe->addStretch();
    knoepfe->addWidget(SchalterExport);
    knoepfe->addWidget(SchalterSchliessen);
    auto* hinweis = new QLabel(
        QStringLiteral("Geringwertige Wirtschaftsgüter (bis 1.000,00, vor 2023 bis 800,00) "
                       "werden im Jahr der Anschaffung voll abgeschrieben. Doppelklick oder "
                       "Eingabetaste: ändern, Entf: löschen."),
        this);
    hinweis->setObjectName(QStringLiteral("LabelHinweis"));
    hinweis->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(LabelJahr);
    layout->addWidget(Grid_Anlagen, 1);
    layout->addWidget(hinweis);
    layout->addLayout(knoepfe);

    QWidget* reihe[] = {Grid_Anlagen,     SchalterNeu,    SchalterAendern,   SchalterAbgang,
                        SchalterLoeschen, SchalterExport, SchalterSchliessen};
    for (size_t i = 1; i < std::size(reihe); ++i)
        setTabOrder(reihe[i - 1], reihe[i]);
}

TAnlagenverzeichnis::~TAnlagenverzeichnis() = default;

void TAnlagenverzeichnis::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    Grid_Anlagen->setFocus();
}

bool TAnlagenverzeichnis::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Grid_Anlagen && event->type() == QEvent::KeyPress) {
        const int taste = static_cast<QKeyEvent*>(event)->key();
        if (taste == Qt::Key_Delete) {
            SchalterLoeschenClick();
            return true;
        }
        if (taste == Qt::Key_Return || taste == Qt::Key_Enter) {
            SchalterAendernClick();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TAnlagenverzeichnis::laden(std::optional<int> auswahl) {
    TDM_EinAus& dm = m_umgebung.dm;
    try {
        const int jahr = dm.gibJahr();
        LabelJahr->setText(QStringLiteral("Geschäftsjahr %1").arg(jahr));
        m_liste->setTabelle(jahresabschluss::anlagenTabelle(
            anlagenverzeichnis::jahr(dm.db(), dm.gibMandant(), jahr)));
    } catch (const DatenbankFehler& e) {
        m_umgebung.ui.error(e.text());
        return;
    }
    Grid_Anlagen->resizeColumnsToContents();
    Grid_Anlagen->setColumnWidth(0, std::max(Grid_Anlagen->columnWidth(0), 220));
    int zeile = 0;
    for (int r = 0; auswahl && r < m_liste->rowCount(); ++r)
        if (m_liste->schluessel(r) == *auswahl)
            zeile = r;
    Grid_Anlagen->setCurrentIndex(m_liste->index(zeile, 0));
}

std::optional<int> TAnlagenverzeichnis::ausgewaehlt() const {
    const int id = m_liste->schluessel(Grid_Anlagen->currentIndex().row());
    return id > 0 ? std::optional<int>(id) : std::nullopt;
}

void TAnlagenverzeichnis::SchalterNeuClick() {
    if (m_ablauf->neu())
        laden(m_ablauf->zuletzt());
}

void TAnlagenverzeichnis::SchalterAendernClick() {
    if (const auto id = ausgewaehlt(); id && m_ablauf->aendern(*id))
        laden(id);
}

void TAnlagenverzeichnis::SchalterAbgangClick() {
    if (const auto id = ausgewaehlt(); id && m_ablauf->abgang(*id))
        laden(id);
}

void TAnlagenverzeichnis::SchalterLoeschenClick() {
    if (const auto id = ausgewaehlt(); id && m_ablauf->loeschen(*id))
        laden();
}

void TAnlagenverzeichnis::SchalterExportClick() {
    programmExportAusfuehren(*m_export, m_umgebung.ui);
}
