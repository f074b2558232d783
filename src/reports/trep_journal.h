#pragma once

#include "reportengine/report.h"
#include "reports/t_repdaten.h"

// The journal: one line per booking of the period, in date order, with its
// signed amount, rate and input or output tax; a page header on every page.
class TRep_Journal {
public:
    explicit TRep_Journal(const T_RepDaten& daten);

    // Lays out the report over the rows of QueryJournal.
    reportengine::PageModel erzeugen(reportengine::RowSource& QueryJournal);
    reportengine::Report& report() { return m_report; }

private:
    void PageHeaderBand1BeforePrint(reportengine::Band& band);
    void DetailBand1BeforePrint(reportengine::Band& band, bool& print);

    const T_RepDaten& m_daten;
    reportengine::Report m_report;
};
