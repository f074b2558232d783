#pragma once

#include "reportengine/pagemodel.h"
#include "reports/t_repdaten.h"
#include "reports/trep_jahresabschluss.h"

#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QWidget;
class TDM_EinAus;
class TCustomExport;
class TDBGridExport;
class TabellenModell;
class TExportauswahl;
class TMonatsAuswahl;
class TRep_EinAusDetail;
class TRep_Journal;
class TRep_PlusMinus;
class TRep_Verprobung;
struct Umgebung;

// The evaluation commands of the main menu with the windows they share,
// created once and kept for the program run.
class BerichtBefehle {
public:
    BerichtBefehle(Umgebung& umgebung, QWidget* parent);
    ~BerichtBefehle();

    // "Auswerten > UST-Verprobung": the period, then the preview.
    void USTVerprobung1Click();
    // "Auswerten > Journal": the period, then the preview or, with
    // "Datenexport" ticked, the export through the data export component.
    void Journal1Click();

    // "Auswerten > Buchungskreis-Auswertung": the circle, the period, then
    // the preview.
    void BuchungskreisAuswertung1Click();
    // "Auswerten > Buchungskreis Details": the circle, the period, then the
    // preview or, with "Datenexport" ticked, the export of every circle.
    void BuchungskreisDetails1Click();

    // "Auswerten > Plus - Minus": the period, then the preview.
    void Plus_MinusClick();

    // "Auswerten > Monatsübersicht": the months of the fiscal year with
    // their chart in the preview.
    void MonatsuebersichtClick();
    // "Auswerten > Anlagenverzeichnis" and "Auswerten > Jahresabschluss (E 1a)":
    // the current fiscal year in the preview, whose "Exportieren…" hands the
    // same rows to the grid export.
    void AnlagenverzeichnisClick();
    void JahresabschlussClick();

    // The circle picker: its modal result (1000 all, 1000 + id one circle,
    // less cancelled) and the "Datenexport" tick; the argument shows the box.
    struct KreisWahl {
        int ergebnis = 0;
        bool datenexport = false;
    };
    using KreisFrage = std::function<KreisWahl(bool datenexportZeigen)>;
    void setKreisFrage(KreisFrage frage) { m_kreisFrage = std::move(frage); }

    // The main window's DBGridExport1, which writes the data exports.
    void setDatenexport(TCustomExport* DBGridExport1) { m_datenexport = DBGridExport1; }

    TMonatsAuswahl& MonatsAuswahl() { return *m_monatsAuswahl; }
    TExportauswahl& Exportauswahl() { return *m_exportauswahl; }
    const T_RepDaten& verprobungDaten() const { return m_verprobungDaten; }
    const T_RepDaten& journalDaten() const { return m_journalDaten; }
    const T_RepDaten& einAusDaten() const { return m_einAusDaten; }
    const T_RepDaten& detailDaten() const { return m_detailDaten; }
    const T_RepDaten& plusMinusDaten() const { return m_plusMinusDaten; }
    // The rows of the latest year-end report and their grid export.
    const TabellenModell& jahresabschlussDaten() const { return *m_jahresabschlussDaten; }
    TDBGridExport& jahresabschlussExport() { return *m_jahresabschlussExport; }

private:
    // The period dialog without "Datenexport": the code chosen, or none.
    std::optional<int> periodeFragen();
    void vorschauZeigen(reportengine::PageModel seiten, const QString& titel,
                        std::function<void()> exportieren = {});
    // The register or the E 1a summary of the current fiscal year in the preview.
    void jahresabschlussZeigen(const QString& titel, const QString& misslungen,
                               std::vector<TRep_Jahresabschluss::Spalte> spalten,
                               const std::function<Tabelle(TDM_EinAus&, int jahr)>& zeilen);
    // The data export of Query_Export as filled by the command.
    void datenexportAusfuehren();
    // A failure of an evaluation: what it was, then why.
    void fehler(const QString& was, const std::exception& e);

    Umgebung& m_umgebung;
    QWidget* m_parent;
    std::unique_ptr<TMonatsAuswahl> m_monatsAuswahl;
    std::unique_ptr<TExportauswahl> m_exportauswahl;
    T_RepDaten m_verprobungDaten;
    std::unique_ptr<TRep_Verprobung> m_repVerprobung;
    T_RepDaten m_journalDaten;
    std::unique_ptr<TRep_Journal> m_repJournal;
    T_RepDaten m_einAusDaten;
    T_RepDaten m_detailDaten;
    std::unique_ptr<TRep_EinAusDetail> m_repEinAusDetail;
    T_RepDaten m_plusMinusDaten;
    std::unique_ptr<TRep_PlusMinus> m_repPlusMinus;
    std::unique_ptr<TabellenModell> m_jahresabschlussDaten;
    std::unique_ptr<TDBGridExport> m_jahresabschlussExport;
    TCustomExport* m_datenexport = nullptr;
    KreisFrage m_kreisFrage;
};
