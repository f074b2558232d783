#include "reports/berichtbefehle.h"

#include "data/dm_einaus.h"
#include "export/programmexport.h"
#include "export/tcustomexport.h"
#include "export/tdbgridexport.h"
#include "platform/userseam.h"
#include "reportengine/previewwindow.h"
#include "reports/anlagenverzeichnis.h"
#include "reports/auswertung.h"
#include "reports/e1a.h"
#include "reports/einaus.h"
#include "reports/journal.h"
#include "reports/mandantenname.h"
#include "reports/plusminus.h"
#include "reports/tabelle.h"
#include "reports/tmonatsauswahl.h"
#include "reports/trep_einaus.h"
#include "reports/trep_einausdetail.h"
#include "reports/trep_jahresabschluss.h"
#include "reports/trep_journal.h"
#include "reports/trep_monate.h"
#include "reports/trep_plusminus.h"
#include "reports/trep_verprobung.h"
#include "reports/verprobung.h"
#include "toolkit/umgebung.h"

#include <QCheckBox>

namespace {

// Hides a "Datenexport" box again however the command ends.
class Verbergen {
public:
    explicit Verbergen(QWidget& w) : m_w(w) {}
    ~Verbergen() { m_w.setVisible(false); }
    Verbergen(const Verbergen&) = delete;
    Verbergen& operator=(const Verbergen&) = delete;

private:
    QWidget& m_w;
};

} // namespace

BerichtBefehle::BerichtBefehle(Umgebung& umgebung, QWidget* parent)
    : m_umgebung(umgebung), m_parent(parent),
      m_monatsAuswahl(std::make_unique<TMonatsAuswahl>(parent)),
      m_exportauswahl(std::make_unique<TExportauswahl>(parent)),
      m_repVerprobung(std::make_unique<TRep_Verprobung>(umgebung.dm.db(), m_verprobungDaten)),
      m_repJournal(std::make_unique<TRep_Journal>(m_journalDaten)),
      m_repEinAusDetail(std::make_unique<TRep_EinAusDetail>(umgebung.dm.db(), m_detailDaten)),
      m_repPlusMinus(std::make_unique<TRep_PlusMinus>(m_plusMinusDaten)),
      m_jahresabschlussDaten(std::make_unique<TabellenModell>()),
      m_jahresabschlussExport(std::make_unique<TDBGridExport>(umgebung.ui, umgebung.clock)) {
    m_jahresabschlussExport->setObjectName(QStringLiteral("JahresabschlussExport"));
    m_jahresabschlussExport->setModel(m_jahresabschlussDaten.get());
    programmExportEinrichten(*m_jahresabschlussExport, umgebung.ui,
                             QStringLiteral("Export Buchhaltung"));
}

BerichtBefehle::~BerichtBefehle() = default;

void BerichtBefehle::USTVerprobung1Click() {
    UserSeam& ui = m_umgebung.ui;
    m_monatsAuswahl->CheckBox_export->setVisible(false);
    if (ui.runModal(*m_monatsAuswahl) != QDialog::Accepted)
        return;
    const int code = m_monatsAuswahl->rueckgabe();
    std::optional<reportengine::PageModel> seiten;
    // the query is closed when erzeugen returns or throws
    try {
        seiten = verprobung::erzeugen(m_umgebung.dm, *m_repVerprobung, m_verprobungDaten, code);
    } catch (const DatenbankFehler& e) {
        ui.error(QStringLiteral("Die Umsatzsteuerverprobung konnte nicht erstellt werden.\r") +
                 e.text());
        return;
    } catch (const std::exception& e) {
        ui.error(QStringLiteral("Die Umsatzsteuerverprobung konnte nicht erstellt werden.\r") +
                 QString::fromStdString(e.what()));
        return;
    }
    if (!seiten) {
        ui.message(verprobung::meldungKeineEinnahmen());
        return;
    }
    reportengine::PreviewWindow vorschau(
        std::move(*seiten),
        QStringLiteral("Umsatzsteuerverprobung ") + m_verprobungDaten.ZeitraumText, m_parent);
    vorschau.setMessageSink([&ui](const QString& text) { ui.message(text); });
    ui.runModal(vorschau);
}

void BerichtBefehle::Journal1Click() {
    UserSeam& ui = m_umgebung.ui;
    m_monatsAuswahl->CheckBox_export->setVisible(true);
    const Verbergen verbergen(*m_monatsAuswahl->CheckBox_export);
    if (ui.runModal(*m_monatsAuswahl) != QDialog::Accepted)
        return;
    const int code = m_monatsAuswahl->rueckgabe();
    const bool datenexport = m_monatsAuswahl->datenexport();
    std::optional<reportengine::PageModel> seiten;
    try {
        journal::datenSetzen(m_umgebung.dm, m_journalDaten, code);
        if (datenexport)
            journal::exportOeffnen(m_umgebung.dm, m_journalDaten);
        else
            seiten = journal::erzeugen(m_umgebung.dm, *m_repJournal, m_journalDaten);
    } catch (const std::exception& e) {
        fehler(QStringLiteral("Das Journal konnte nicht erstellt werden."), e);
        return;
    }
    if (datenexport)
        datenexportAusfuehren();
    else
        vorschauZeigen(std::move(*seiten),
                       QStringLiteral("Buchungsjournal ") + m_journalDaten.ZeitraumText);
}

void BerichtBefehle::BuchungskreisAuswertung1Click() {
    if (!m_kreisFrage)
        return;
    const KreisWahl wahl = m_kreisFrage(false);
    if (wahl.ergebnis < einaus::kAlle)
        return;
    const int kreis = wahl.ergebnis - einaus::kAlle;
    const std::optional<int> code = periodeFragen();
    if (!code)
        return;
    std::optional<reportengine::PageModel> seiten;
    try {
        // made for this run only, so its totals start at zero
        TRep_EinAus Rep_EinAus(m_einAusDaten);
        seiten = einaus::auswertungErzeugen(m_umgebung.dm, Rep_EinAus, m_einAusDaten, kreis, *code);
    } catch (const std::exception& e) {
        fehler(QStringLiteral("Die Buchungskreis-Auswertung konnte nicht erstellt werden."), e);
        return;
    }
    vorschauZeigen(std::move(*seiten),
                   QStringLiteral("Einnahmen - Ausgaben Rechnung ") + m_einAusDaten.ZeitraumText);
}

void BerichtBefehle::BuchungskreisDetails1Click() {
    if (!m_kreisFrage)
        return;
    const KreisWahl wahl = m_kreisFrage(true);
    if (wahl.ergebnis < einaus::kAlle)
        return;
    const std::optional<int> code = periodeFragen();
    if (!code)
        return;
    m_repEinAusDetail->setKreis(wahl.ergebnis - einaus::kAlle);
    std::optional<reportengine::PageModel> seiten;
    try {
        einaus::detailDatenSetzen(m_umgebung.dm, m_detailDaten, *code);
        if (wahl.datenexport)
            einaus::detailExportOeffnen(m_umgebung.dm, m_detailDaten);
        else
            seiten = einaus::detailsErzeugen(m_umgebung.dm, *m_repEinAusDetail, m_detailDaten);
    } catch (const std::exception& e) {
        fehler(QStringLiteral("Die Buchungskreis Details konnten nicht erstellt werden."), e);
        return;
    }
    if (wahl.datenexport)
        datenexportAusfuehren();
    else
        vorschauZeigen(std::move(*seiten),
                       QStringLiteral("Buchungskreis Details ") + m_detailDaten.ZeitraumText);
}

void BerichtBefehle::Plus_MinusClick() {
    const std::optional<int> code = periodeFragen();
    if (!code)
        return;
    std::optional<reportengine::PageModel> seiten;
    try {
        seiten = plusminus::erzeugen(m_umgebung.dm, *m_repPlusMinus, m_plusMinusDaten, *code);
    } catch (const std::exception& e) {
        fehler(QStringLiteral("Die Plus - Minus Rechnung konnte nicht erstellt werden."), e);
        return;
    }
    vorschauZeigen(std::move(*seiten),
                   QStringLiteral("Plus - Minus Rechnung ") + m_plusMinusDaten.ZeitraumText);
}

void BerichtBefehle::MonatsuebersichtClick() {
    std::optional<reportengine::PageModel> seiten;
    T_RepDaten daten;
    try {
        TRep_Monate bericht(daten);
        seiten = monate::erzeugen(m_umgebung.dm, bericht, daten);
    } catch (const std::exception& e) {
        fehler(QStringLiteral("Die Monatsübersicht konnte nicht erstellt werden."), e);
        return;
    }
    vorschauZeigen(std::move(*seiten), QStringLiteral("Monatsübersicht ") + daten.ZeitraumText);
}

std::optional<int> BerichtBefehle::periodeFragen() {
    m_monatsAuswahl->CheckBox_export->setVisible(false);
    if (m_umgebung.ui.runModal(*m_monatsAuswahl) != QDialog::Accepted)
        return std::nullopt;
    return m_monatsAuswahl->rueckgabe();
}

void BerichtBefehle::AnlagenverzeichnisClick() {
    jahresabschlussZeigen(QStringLiteral("Anlagenverzeichnis"),
                          QStringLiteral("Das Anlagenverzeichnis konnte nicht erstellt werden."),
                          jahresabschluss::anlagenSpalten(), [](TDM_EinAus& dm, int jahr) {
                              return jahresabschluss::anlagenTabelle(
                                  anlagenverzeichnis::jahr(dm.db(), dm.gibMandant(), jahr));
                          });
}

void BerichtBefehle::JahresabschlussClick() {
    jahresabschlussZeigen(QStringLiteral("Jahresabschluss (E 1a)"),
                          QStringLiteral("Der Jahresabschluss konnte nicht erstellt werden."),
                          jahresabschluss::e1aSpalten(), [](TDM_EinAus& dm, int jahr) {
                              return jahresabschluss::e1aTabelle(
                                  e1a::rechnen(dm.db(), dm.gibMandant(), dm.gibZeitraum(), jahr));
                          });
}

void BerichtBefehle::jahresabschlussZeigen(
    const QString& titel, const QString& misslungen,
    std::vector<TRep_Jahresabschluss::Spalte> spalten,
    const std::function<Tabelle(TDM_EinAus&, int jahr)>& zeilen) {
    std::optional<reportengine::PageModel> seiten;
    T_RepDaten daten;
    try {
        TDM_EinAus& dm = m_umgebung.dm;
        daten.GanzerName = mandantenname::zeilenTest(dm);
        daten.Jahr = dm.gibJahr();
        daten.ZeitraumText = auswertung::jahrText(daten.Jahr);
        Tabelle tabelle = zeilen(dm, daten.Jahr);
        TRep_Jahresabschluss bericht(daten, titel, std::move(spalten));
        seiten = bericht.erzeugen(tabelle.texte());
        m_jahresabschlussDaten->setTabelle(std::move(tabelle));
    } catch (const std::exception& e) {
        fehler(misslungen, e);
        return;
    }
    vorschauZeigen(std::move(*seiten), titel + QLatin1Char(' ') + daten.ZeitraumText,
                   [this] { programmExportAusfuehren(*m_jahresabschlussExport, m_umgebung.ui); });
}

void BerichtBefehle::vorschauZeigen(reportengine::PageModel seiten, const QString& titel,
                                    std::function<void()> exportieren) {
    UserSeam& ui = m_umgebung.ui;
    reportengine::PreviewWindow vorschau(std::move(seiten), titel, m_parent);
    vorschau.setMessageSink([&ui](const QString& text) { ui.message(text); });
    if (exportieren)
        vorschau.addExportAction(std::move(exportieren));
    ui.runModal(vorschau);
}

void BerichtBefehle::datenexportAusfuehren() {
    if (!m_datenexport) {
        m_umgebung.ui.error(QStringLiteral("Der Datenexport ist nicht eingerichtet.\rDie Daten "
                                           "wurden nicht exportiert."));
        return;
    }
    programmExportAusfuehren(*m_datenexport, m_umgebung.ui);
}

void BerichtBefehle::fehler(const QString& was, const std::exception& e) {
    const auto* db = dynamic_cast<const DatenbankFehler*>(&e);
    m_umgebung.ui.error(was + QLatin1Char('\r') +
                        (db ? db->text() : QString::fromStdString(e.what())));
}
