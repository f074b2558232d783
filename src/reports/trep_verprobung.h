#pragma once

#include "reportengine/report.h"
#include "reports/t_repdaten.h"
#include "reports/verprobung.h"

#include <memory>
#include <optional>
#include <vector>

class Datenbank;
class TDM_EinAus;

// The VAT verification: one line per VAT rate of the revenues, then the
// summary with the acquisition tax, totals, input tax and the balance.
class TRep_Verprobung {
public:
    TRep_Verprobung(Datenbank& db, const T_RepDaten& daten);

    // Lays out the report from the period's postings: the revenue lines of
    // Query_Verprobung and the summary, both from the same selection.
    reportengine::PageModel erzeugen(const std::vector<verprobung::Posten>& posten);
    reportengine::Report& report() { return *m_report; }

private:
    void SeitenTitelBeforePrint(reportengine::Band& band);
    void QRBandDetailBeforePrint(reportengine::Band& band);
    void FussBeforePrint(reportengine::Band& band);
    // Title and detail bands; the summary follows once the period's lines are known.
    void aufbauen();
    void fussAufbauen();

    const T_RepDaten& m_daten;
    verprobung::Summen m_summen;
    std::vector<verprobung::Summenzeile> m_ust, m_vst;
    std::unique_ptr<reportengine::Report> m_report;
};

namespace verprobung {

// The command without its windows: fills daten for the period code (the
// client, its name by the null test, the fiscal year and the period), reads
// the period's postings and lays out the report. nullopt when the period has no
// tax posting at all (meldungKeineEinnahmen). Throws DatenbankFehler, or
// std::exception from the report, on failure; the query is closed either way.
std::optional<reportengine::PageModel> erzeugen(TDM_EinAus& dm, TRep_Verprobung& bericht,
                                                T_RepDaten& daten, int code);

} // namespace verprobung
