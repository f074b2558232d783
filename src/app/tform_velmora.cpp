#include "app/tform_velmora.h"

#include "app/klicklabel.h"
#include "app/startpruefung.h"
#include "app/startup.h"
#include "app/tastenvorschau.h"
#include "app/tdatensicherungen.h"
#include "bookings/buchungsbefehle.h"
#include "bookings/buchungskreisauswahl.h"
#include "bookings/buchungskreisbefehle.h"
#include "bookings/stornobefehl.h"
#include "data/buchungsliste.h"
#include "data/dates.h"
#include "data/dm_einaus.h"
#include "data/festschreibung.h"
#include "data/summen.h"
#include "desktop/desktopverknuepfung.h"
#include "desktop/taboutbox.h"
#include "export/programmexport.h"
#include "export/tdbgridexport.h"
#include "masterdata/mandanten.h"
#include "masterdata/mandantenbefehle.h"
#include "masterdata/zeitraumbefehle.h"
#include "platform/clock.h"
#include "platform/process.h"
#include "platform/userseam.h"
#include "reports/berichtbefehle.h"
#include "reports/e1a.h"
#include "reports/e1aablauf.h"
#include "reports/finanzamtexport.h"
#include "reports/tanlagenverzeichnis.h"
#include "reports/texportansicht.h"
#include "reports/tforme1a.h"
#include "reports/tmonatsauswahl.h"
#include "sicherung/datensicherung.h"
#include "sicherung/sicherungsstatus.h"
#include "sicherung/wiederherstellung.h"
#include "toolkit/gridspalten.h"
#include "toolkit/qtuserseam.h"
#include "toolkit/umgebung.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QResizeEvent>
#include <QStatusBar>
#include <QTableView>
#include <QTimer>
#include <algorithm>

namespace {

// Sets a flag for the lifetime of a scope.
class Gesetzt {
public:
    explicit Gesetzt(bool& flag) : m_flag(flag) { m_flag = true; }
    ~Gesetzt() { m_flag = false; }
    Gesetzt(const Gesetzt&) = delete;
    Gesetzt& operator=(const Gesetzt&) = delete;

private:
    bool& m_flag;
};

// A total that is wider than its label loses its leading digits when
// clipped; it is shown smaller instead.
void summeSetzen(QLabel* label, const QString& text) {
    QFont f = label->font();
    f.setPointSize(12);
    while (f.pointSize() > 6 && QFontMetrics(f).horizontalAdvance(text) > label->width())
        f.setPointSize(f.pointSize() - 1);
    label->setFont(f);
    label->setText(text);
}

QString gridHinweis() {
    return QStringLiteral("Mit einem Doppelklick können sie eine Buchung ändern") +
           QStringLiteral("\n\r") + QStringLiteral("Mit Entf können sie eine Buchung löschen.");
}

} // namespace

TForm_Velmora::TForm_Velmora(Umgebung& umgebung)
    : m_umgebung(umgebung), m_queryEin(std::make_unique<Buchungsliste>(umgebung.dm.db(), true)),
      m_queryAus(std::make_unique<Buchungsliste>(umgebung.dm.db(), false)) {
    setObjectName(QStringLiteral("Form_Velmora"));
    setWindowTitle(QStringLiteral("Tarnholt :: Velmora"));

    baueFenster();

    m_buchungskreise = std::make_unique<BuchungskreisBefehle>(m_umgebung, this);
    m_formE1a = std::make_unique<TFormE1a>(this);
    m_e1a = std::make_unique<E1aAblauf>(m_umgebung, *m_formE1a);
    m_buchungskreise->setE1a({[this] {
                                  TDM_EinAus& dm = m_umgebung.dm;
                                  return e1a::kreisTexte(dm.db(), dm.gibMandant());
                              },
                              [this](int bk) { return m_e1a->waehlen(bk); }});
    m_buchungen = std::make_unique<BuchungsBefehle>(m_umgebung, *this, *m_buchungskreise);
    m_storno = std::make_unique<StornoBefehl>(m_umgebung, *this);
    m_mandanten = std::make_unique<MandantenBefehle>(m_umgebung, *this);
    m_zeitraeume = std::make_unique<ZeitraumBefehle>(m_umgebung, *this);
    m_berichte = std::make_unique<BerichtBefehle>(m_umgebung, this);

    m_dbGridExport1 = std::make_unique<TDBGridExport>(m_umgebung.ui, m_umgebung.clock);
    m_dbGridExport1->setObjectName(QStringLiteral("DBGridExport1"));
    m_dbGridExport1->setModel(&m_umgebung.dm.Query_Export());
    programmExportEinrichten(*m_dbGridExport1, m_umgebung.ui, QStringLiteral("Export Buchhaltung"));
    m_berichte->setDatenexport(m_dbGridExport1.get());
    m_berichte->setKreisFrage([this](bool datenexportZeigen) {
        const auto a = m_buchungskreise->BuchungskreisAuswaehlen(datenexportZeigen);
        // the box is seen only while the details ask for their circle
        m_buchungskreise->FormBuchungsKreisAuswahl().setDatenexportSichtbar(false);
        return BerichtBefehle::KreisWahl{a.ergebnis, a.datenexport};
    });
    m_exportansicht = std::make_unique<TExportansicht>(m_umgebung, this);
    m_finanzamtMonat = [this]() -> std::optional<int> {
        TExportauswahl& auswahl = m_berichte->Exportauswahl();
        auswahl.CheckBox_export->hide();
        if (m_umgebung.ui.runModal(auswahl) != QDialog::Accepted)
            return std::nullopt;
        return auswahl.rueckgabe();
    };

    baueMenue();
    m_statusFestschreibung = new QLabel(this);
    m_statusFestschreibung->setObjectName(QStringLiteral("StatusFestschreibung"));
    m_statusSicherung = new QLabel(this);
    m_statusSicherung->setObjectName(QStringLiteral("StatusDatensicherung"));
    m_statusSicherung->setStyleSheet(QStringLiteral("color: maroon; font-weight: bold;"));
    m_statusSicherung->setTextFormat(Qt::PlainText);
    statusBar()->addWidget(m_statusSicherung, 1);
    statusBar()->addPermanentWidget(m_statusFestschreibung);
    resize(695, 657 + menuBar()->sizeHint().height() + statusBar()->sizeHint().height());
    move(44, 93);

    m_tastenvorschau =
        new Tastenvorschau(*this, [this](const QKeyEvent& key) { FormKeyDown(key); });
    // Coming back from another application counts as becoming active; the
    // first activation after start-up is the first showing.
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState s) {
        if (!isVisible())
            return;
        if (s != Qt::ApplicationActive) {
            m_warInaktiv = true;
        } else if (m_warInaktiv) {
            m_warInaktiv = false;
            aktivierungAnfordern();
        }
    });

    FormCreate();
}

TForm_Velmora::~TForm_Velmora() {
    // no key may reach the commands while they go
    delete m_tastenvorschau;
    m_startpruefung.reset();
}

void TForm_Velmora::startpruefungBeginnen() {
    TDM_EinAus& dm = m_umgebung.dm;
    m_startpruefung = std::make_unique<Startpruefung>(
        dm.db(), dm.dir(),
        Startpruefung::Anzeige{[this](const QString& text) {
                                   if (text.isEmpty())
                                       statusBar()->clearMessage();
                                   else
                                       statusBar()->showMessage(text);
                               },
                               [this](const QString& meldung) {
                                   schadenZeigen(meldung);
                                   m_umgebung.ui.error(meldung);
                               }});
    m_startpruefung->starten();
}

void TForm_Velmora::schadenAufheben() {
    m_startpruefung->bestanden();
    if (m_schadenStatus)
        m_schadenStatus->hide();
    for (QLabel* l : {Label_Einnahmen, Label_Ust, Label_Ausgaben, Label_Vst})
        l->setToolTip(QString());
}

void TForm_Velmora::schadenZeigen(const QString& meldung) {
    const QString kurz = QStringLiteral("Datenbank beschädigt");
    for (QLabel* l : {Label_Einnahmen, Label_Ust, Label_Ausgaben, Label_Vst}) {
        summeSetzen(l, l == Label_Einnahmen || l == Label_Ausgaben ? kurz : QString());
        l->setToolTip(displayText(meldung));
    }
    if (!m_schadenStatus) {
        m_schadenStatus = new QLabel(this);
        m_schadenStatus->setObjectName(QStringLiteral("LabelSchaden"));
        m_schadenStatus->setWordWrap(true);
        statusBar()->addPermanentWidget(m_schadenStatus, 1);
    }
    m_schadenStatus->setText(displayText(meldung));
    m_schadenStatus->show();
}

void TForm_Velmora::FormCreate() {
    desktopverknuepfung::beimErstenStart(m_umgebung.ini, [] {
        desktopverknuepfung::erstellen(desktopverknuepfung::desktopVerzeichnis(),
                                       QCoreApplication::applicationDirPath());
    });
    TDM_EinAus& dm = m_umgebung.dm;
    try {
        if (dm.Table_EinstellungenAnzahl() > 0) {
            QueryStarten(dm.gibZeitraum(), dm.gibMandant());
        } else {
            dm.aufSchaedenPruefen();
            m_umgebung.ui.message(QStringLiteral("Sie müssen noch ein Wirtschaftsjahr anlegen"));
            // the dialog alone: the refresh comes with the first showing
            m_zeitraeume->FormZeitraumZeigen();
            if (dm.Table_EinstellungenAnzahl() == 1)
                QueryStarten(dm.gibZeitraum(), dm.gibMandant());
        }
    } catch (const DatenbankFehler& e) {
        m_umgebung.ui.error(e.text());
    }
    Grid_Ein->setToolTip(displayText(gridHinweis()));
    Grid_Aus->setToolTip(displayText(gridHinweis()));
}

void TForm_Velmora::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!m_gezeigt) {
        m_gezeigt = true;
        FormShow();
    }
}

void TForm_Velmora::FormShow() {
    // the window must refresh at least when it is first shown
    aktivierungAnfordern();
}

void TForm_Velmora::aktivierungAnfordern() {
    if (m_aktivierungAngefordert)
        return;
    m_aktivierungAngefordert = true;
    QTimer::singleShot(0, this, [this] {
        m_aktivierungAngefordert = false;
        FormActivate();
    });
}

void TForm_Velmora::FormActivate() {
    // a refresh in the middle of a command or of another refresh would
    // pull the data from under it
    if (m_aktualisierungTiefe > 0 || QApplication::activeModalWidget())
        return;
    AnzeigeAktualisieren();
}

void TForm_Velmora::AnzeigeAktualisieren() {
    if (m_aktualisierungTiefe == 0)
        m_stammdatenGefragt = false;
    ++m_aktualisierungTiefe;
    struct Tiefe {
        int& t;
        ~Tiefe() { --t; }
    } tiefe{m_aktualisierungTiefe};

    TDM_EinAus& dm = m_umgebung.dm;
    try {
        berechne();
        QueryStarten(dm.gibZeitraum(), dm.gibMandant());
    } catch (const DatenbankFehler& e) {
        m_umgebung.ui.error(e.text());
        return;
    }
    StammdatenPruefen();
}

void TForm_Velmora::StammdatenPruefen() {
    // asked once a refresh, and never while the question is still open
    if (m_stammdatenOffen || m_stammdatenGefragt)
        return;
    Stammdaten daten;
    try {
        // a client without a row has no name either; the dialog creates the row
        daten = mandanten::stammdatenLesen(m_umgebung.dm);
    } catch (const DatenbankFehler& e) {
        m_umgebung.ui.error(e.text());
        return;
    }
    if (daten.mandant == -1 || !daten.GanzerName.isEmpty())
        return;
    m_stammdatenGefragt = true;
    Gesetzt offen(m_stammdatenOffen);
    m_umgebung.ui.message(QStringLiteral("Sie müssen noch die Stammdaten eintragen"));
    m_mandanten->Stammdaten1Click();
}

void TForm_Velmora::QueryStarten(int zeitraum, int mandant) {
    m_queryEin->starten(zeitraum, mandant);
    ersteZeileWaehlen(*Grid_Ein);
    m_queryAus->starten(zeitraum, mandant);
    ersteZeileWaehlen(*Grid_Aus);
}

void TForm_Velmora::QueryEinRequery() {
    try {
        m_queryEin->requery();
        ersteZeileWaehlen(*Grid_Ein);
    } catch (const DatenbankFehler& e) {
        m_umgebung.ui.error(e.text());
    }
}

void TForm_Velmora::QueryAusRequery() {
    try {
        m_queryAus->requery();
        ersteZeileWaehlen(*Grid_Aus);
    } catch (const DatenbankFehler& e) {
        m_umgebung.ui.error(e.text());
    }
}

void TForm_Velmora::ZeigeAktuellesJahr(int zeitraum, int mandant) {
    TDM_EinAus& dm = m_umgebung.dm;
    const int jahr = ZeitraumJahr(dm.db(), zeitraum, mandant);
    LabelJahr->setText(QString::number(jahr));
    LabelJahr->adjustSize();
    // the client that is current now, whatever was passed
    LabelMandant->setText(dm.gibMandantName(dm.gibMandant()));
    LabelMandant->adjustSize();
}

void TForm_Velmora::Berechne() {
    try {
        berechne();
    } catch (const DatenbankFehler& e) {
        m_umgebung.ui.error(e.text());
    }
}

void TForm_Velmora::berechne() {
    TDM_EinAus& dm = m_umgebung.dm;
    const auto gelesen = dm.zeitraumLesen();
    int zeitraum = gelesen.value_or(-1);
    const int mandant = dm.gibMandant();
    if (!gelesen) {
        // a damaged file may answer "no year": never ask for one then
        dm.aufSchaedenPruefen();
        // the year command ends in a full refresh, which asks again while
        // the client still has no fiscal year
        Wirtschaftsjahrauswhlen1Click();
        zeitraum = dm.gibZeitraum();
    }
    ZeigeAktuellesJahr(zeitraum, mandant);
    // all four or none: the labels change only when every query succeeded
    summenZeigen(SummenBerechnen(dm.db(), zeitraum, mandant));
    festschreibungZeigen(zeitraum, mandant);
}

void TForm_Velmora::festschreibungZeigen(int zeitraum, int mandant) {
    const auto bis = festschreibung::bis(m_umgebung.dm.db(), mandant, zeitraum);
    m_statusFestschreibung->setText(
        bis ? QStringLiteral("Festgeschrieben bis %1").arg(dates::format(*bis)) : QString());
    m_queryEin->setGesperrtBis(bis);
    m_queryAus->setGesperrtBis(bis);
}

void TForm_Velmora::setSicherungsHinweis(const std::optional<QString>& hinweis) {
    m_statusSicherung->setText(hinweis.value_or(QString()));
    m_statusSicherung->setToolTip(hinweis.value_or(QString()));
}

void TForm_Velmora::Datensicherungen1Click() {
    const QString dir = m_datenbankDir.isEmpty() ? QDir::currentPath() : m_datenbankDir;
    TDatensicherungen liste(Datensicherung(dir).ordner(), wiederherstellung::liste(dir), this);
    if (m_umgebung.ui.runModal(liste) != QDialog::Accepted)
        return;
    const auto kopie = liste.auswahl();
    if (!kopie)
        return;
    if (m_umgebung.ui.question(
            UserSeam::Kind::Warning,
            QStringLiteral("Die Sicherung %1 zurückspielen?\r\rDer jetzige Stand wird vorher als "
                           "eigene Sicherung im Ordner Datensicherung abgelegt.")
                .arg(QDir::toNativeSeparators(*kopie)),
            UserSeam::Yes | UserSeam::No | UserSeam::DefaultNo) != UserSeam::Yes)
        return;
    if (Zurueckspielen(*kopie))
        m_umgebung.ui.message(QStringLiteral("Die Sicherung wurde zurückgespielt."));
}

bool TForm_Velmora::Zurueckspielen(const QString& kopie) {
    const QString dir = m_datenbankDir.isEmpty() ? QDir::currentPath() : m_datenbankDir;
    TDM_EinAus& dm = m_umgebung.dm;
    // the lists and the data module hold statements of the connection: closed,
    // nothing of this program stands in the restore's way
    m_queryEin->clear();
    m_queryAus->clear();
    dm.db().close();
    bool zurueck = true;
    try {
        wiederherstellung::zurueckspielen(dir, kopie, m_umgebung.clock.now());
    } catch (const DatenbankFehler& e) {
        m_umgebung.ui.error(e.text());
        zurueck = false;
    }
    try {
        dm.DataModuleCreate();
    } catch (const DatenbankFehler& e) {
        m_umgebung.ui.error(e.text());
        return false;
    }
    // a restored copy has passed the whole check: what was found before is gone
    if (zurueck && m_startpruefung) {
        m_startpruefung->abbrechen();
        schadenAufheben();
    }
    AnzeigeAktualisieren();
    return zurueck;
}

void TForm_Velmora::summenZeigen(const Summen& s) {
    if (m_startpruefung && m_startpruefung->befund()) {
        schadenZeigen(*m_startpruefung->befund());
        return;
    }
    summeSetzen(Label_Einnahmen, s.Einnahmen.formatEuro());
    summeSetzen(Label_Ust, s.Ust.formatEuro());
    summeSetzen(Label_Ausgaben, s.Ausgaben.formatEuro());
    summeSetzen(Label_Vst, s.Vst.formatEuro());
}

std::optional<int> TForm_Velmora::aktuelleBuchung(bool einnahmeListe) const {
    const QTableView& grid = einnahmeListe ? *Grid_Ein : *Grid_Aus;
    const Buchungsliste& liste = einnahmeListe ? *m_queryEin : *m_queryAus;
    return liste.buchungsid(aktuelleZeile(grid));
}

bool TForm_Velmora::eventFilter(QObject* watched, QEvent* event) {
    if (watched == centralWidget() && event->type() == QEvent::Resize) {
        anordnen(static_cast<QResizeEvent*>(event)->size());
        return false;
    }
    const bool ein = watched == Grid_Ein || watched == Grid_Ein->viewport();
    const bool aus = watched == Grid_Aus || watched == Grid_Aus->viewport();
    if (!ein && !aus)
        return QMainWindow::eventFilter(watched, event);
    if (event->type() == QEvent::MouseButtonDblClick &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton &&
        (watched == Grid_Ein->viewport() || watched == Grid_Aus->viewport())) {
        // the double-click acts on the current row, wherever it lands
        if (ein)
            Grid_EinDblClick();
        else
            Grid_AusDblClick();
        return true;
    }
    if (event->type() == QEvent::ContextMenu) {
        // right click or the menu key
        kontextMenue(ein)->exec(static_cast<QContextMenuEvent*>(event)->globalPos());
        return true;
    }
    if (event->type() == QEvent::KeyPress && (watched == Grid_Ein || watched == Grid_Aus)) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Delete) {
            if (ein)
                Grid_EinKeyDown(*key);
            else
                Grid_AusKeyDown(*key);
            return true;
        }
        // the double-click's key: Enter already starts a new booking
        if (key->key() == Qt::Key_F2) {
            if (ein)
                Grid_EinDblClick();
            else
                Grid_AusDblClick();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TForm_Velmora::FormKeyDown(const QKeyEvent& key) {
    if (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter)
        Buchen1Click();
}

void TForm_Velmora::StornierenClick(bool einnahmeListe) {
    m_storno->Stornieren1Click(aktuelleBuchung(einnahmeListe));
}

std::unique_ptr<QMenu> TForm_Velmora::kontextMenue(bool einnahmeListe) {
    auto menu = std::make_unique<QMenu>(this);
    menu->setObjectName(einnahmeListe ? QStringLiteral("KontextEin")
                                      : QStringLiteral("KontextAus"));
    QAction* storno = menu->addAction(QStringLiteral("&Stornieren"));
    storno->setObjectName(QStringLiteral("Stornieren1"));
    storno->setEnabled(aktuelleBuchung(einnahmeListe).has_value());
    connect(storno, &QAction::triggered, this,
            [this, einnahmeListe] { StornierenClick(einnahmeListe); });
    return menu;
}

void TForm_Velmora::Grid_EinDblClick() {
    m_buchungen->GridDblClick(true, aktuelleBuchung(true));
}

void TForm_Velmora::Grid_AusDblClick() {
    m_buchungen->GridDblClick(false, aktuelleBuchung(false));
}

void TForm_Velmora::Grid_EinKeyDown(const QKeyEvent&) {
    m_buchungen->GridEntfernen(true, aktuelleBuchung(true));
}

void TForm_Velmora::Grid_AusKeyDown(const QKeyEvent&) {
    m_buchungen->GridEntfernen(false, aktuelleBuchung(false));
}

void TForm_Velmora::Beenden1Click() {
    close();
}

void TForm_Velmora::Buchen1Click() {
    m_buchungen->Buchen1Click();
}

void TForm_Velmora::Label7Click() {
    Buchen1Click();
}

void TForm_Velmora::LabelJahrClick() {
    Wirtschaftsjahrauswhlen1Click();
}

void TForm_Velmora::LabelMandantClick() {
    Mandanten1Click();
}

void TForm_Velmora::Stammdaten1Click() {
    m_mandanten->Stammdaten1Click();
}

void TForm_Velmora::Mandanten1Click() {
    m_mandanten->Mandanten1Click();
}

void TForm_Velmora::Wirtschaftsjahrauswhlen1Click() {
    m_zeitraeume->Wirtschaftsjahrauswhlen1Click();
}

void TForm_Velmora::Buchungskreise1Click() {
    m_buchungskreise->Buchungskreise1Click();
    // the lists show the circles' short names
    QueryEinRequery();
    QueryAusRequery();
}

void TForm_Velmora::MandantImportieren1Click() {
    m_mandanten->MandantImportieren1Click();
}

void TForm_Velmora::Iconerstellen1Click() {
    // whatever comes of it, nothing more is said
    if (m_umgebung.ui.question(UserSeam::Kind::Confirmation,
                               QStringLiteral("Wollen sie einen Icon auf dem Desktop erstellen"),
                               UserSeam::Ok | UserSeam::Cancel) == UserSeam::Ok)
        desktopverknuepfung::erstellen(desktopverknuepfung::desktopVerzeichnis(),
                                       QCoreApplication::applicationDirPath());
}
void TForm_Velmora::USTVerprobung1Click() {
    m_berichte->USTVerprobung1Click();
}
void TForm_Velmora::Journal1Click() {
    m_berichte->Journal1Click();
}
void TForm_Velmora::BuchungskreisAuswertung1Click() {
    m_berichte->BuchungskreisAuswertung1Click();
}
void TForm_Velmora::BuchungskreisDetails1Click() {
    m_berichte->BuchungskreisDetails1Click();
}
void TForm_Velmora::Plus_MinusClick() {
    m_berichte->Plus_MinusClick();
}
void TForm_Velmora::MonatsuebersichtClick() {
    m_berichte->MonatsuebersichtClick();
}

void TForm_Velmora::AnlagenVerwalten1Click() {
    TAnlagenverzeichnis fenster(m_umgebung, this);
    fenster.laden();
    m_umgebung.ui.runModal(fenster);
}

void TForm_Velmora::AnlagenverzeichnisClick() {
    m_berichte->AnlagenverzeichnisClick();
}

void TForm_Velmora::JahresabschlussClick() {
    m_berichte->JahresabschlussClick();
}
void TForm_Velmora::berVelmora1Click() {
    if (!m_aboutBox)
        m_aboutBox = std::make_unique<TAboutBox>(this);
    m_umgebung.ui.runModal(*m_aboutBox);
}

void TForm_Velmora::Finanzamt1Click() {
    ::Finanzamt1Click(m_umgebung, *m_exportansicht, m_finanzamtMonat);
}

void TForm_Velmora::closeEvent(QCloseEvent* event) {
    FormClose();
    event->accept();
}

void TForm_Velmora::FormClose() {
    if (m_startpruefung)
        m_startpruefung->abbrechen();
    // the backup runs on its own; the program ends whether it starts or not,
    // and a backup that could not run is told at the next start
    if (m_serverSicherung) {
        QList<std::pair<QString, QString>> umgebung;
        if (!m_serverSicherung->kennwort.isEmpty())
            umgebung.append({QStringLiteral("PGPASSWORD"), m_serverSicherung->kennwort});
        if (!process::startDetached(m_serverSicherung->programm, m_datenbankDir,
                                    m_serverSicherung->argumente, umgebung))
            sicherungsstatus::merken(
                m_datenbankDir, m_umgebung.clock.now(),
                QStringLiteral("Das Programm %1 konnte nicht gestartet werden.")
                    .arg(QDir::toNativeSeparators(m_serverSicherung->programm)));
        return;
    }
    if (m_backupProgramme.isEmpty())
        return;
    QString fehler;
    const auto programm = std::find_if(m_backupProgramme.cbegin(), m_backupProgramme.cend(),
                                       [](const QString& p) { return QFileInfo(p).isFile(); });
    if (programm == m_backupProgramme.cend()) {
        QStringList orte;
        for (const QString& p : m_backupProgramme)
            orte << QDir::toNativeSeparators(QFileInfo(p).path());
        fehler = QStringLiteral("Das Programm %1 wurde nicht gefunden (gesucht in %2).")
                     .arg(startup::backupFileName(), orte.join(QStringLiteral(" und ")));
    } else if (!process::startDetached(*programm, QDir::currentPath()))
        fehler = QStringLiteral("Das Programm %1 konnte nicht gestartet werden.")
                     .arg(QDir::toNativeSeparators(*programm));
    if (!fehler.isEmpty())
        sicherungsstatus::merken(m_datenbankDir, m_umgebung.clock.now(), fehler);
}
