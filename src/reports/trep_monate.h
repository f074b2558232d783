#pragma once

#include "reportengine/report.h"
#include "reports/monate.h"
#include "reports/t_repdaten.h"

// The monthly overview: a line per month with net income, expenses, result
// and cumulative result, the year's sums under them, and beside the lines
// the chart of the months. A4 landscape.
class TRep_Monate {
public:
    explicit TRep_Monate(const T_RepDaten& daten);

    // Lays out the report over the months of u. The chart needs the widgets'
    // application object.
    reportengine::PageModel erzeugen(const monate::Uebersicht& u);
    reportengine::Report& report() { return m_report; }

private:
    void KopfBeforePrint(reportengine::Band& band);

    const T_RepDaten& m_daten;
    reportengine::Report m_report;
};

namespace monate {

// Fills daten's client, year and client name, reads the months and lays out
// the report; the queries are closed when it returns or throws.
reportengine::PageModel erzeugen(TDM_EinAus& dm, TRep_Monate& bericht, T_RepDaten& daten);

} // namespace monate
