#pragma once

#include "data/currency.h"
#include "reportengine/report.h"
#include "reports/t_repdaten.h"

// The journal: one line per booking of the period, in date order, with its
// signed amount, rate and input or output tax; a page header on every page
// and under the last line the sums of the lines printed.
class TRep_Journal {
public:
    explicit TRep_Journal(const T_RepDaten& daten);

    // Lays out the report over the rows of QueryJournal.
    reportengine::PageModel erzeugen(reportengine::RowSource& QueryJournal);
    reportengine::Report& report() { return m_report; }

private:
    void ReportBeforePrint();
    void PageHeaderBand1BeforePrint(reportengine::Band& band);
    void DetailBand1BeforePrint(reportengine::Band& band, bool& print);
    void SummenBandBeforePrint(reportengine::Band& band);

    const T_RepDaten& m_daten;
    reportengine::Report m_report;
    // an import's amount is not printed and so not added
    Currency m_betrag, m_vst, m_ust;
    // the detail band's elements the event switches on and off
    reportengine::Element* m_satz = nullptr;
    reportengine::Element* m_vstFeld = nullptr;
    reportengine::Element* m_ustFeld = nullptr;
    reportengine::Element* m_betragFeld = nullptr;
};
