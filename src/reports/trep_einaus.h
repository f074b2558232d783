#pragma once

#include "data/currency.h"
#include "reportengine/report.h"
#include "reports/t_repdaten.h"

// The booking-circle evaluation: net and gross per circle, income first,
// a subtotal per side and the result income minus expenses. Made for one
// run: its totals start at zero.
class TRep_EinAus {
public:
    explicit TRep_EinAus(const T_RepDaten& daten);

    // Lays out the report over the rows of QueryEinAus.
    reportengine::PageModel erzeugen(reportengine::RowSource& QueryEinAus);
    reportengine::Report& report() { return m_report; }

private:
    void PageHeaderBand1BeforePrint(reportengine::Band& band);
    void QRGroup1BeforePrint(reportengine::Band& band);
    void DetailBand1BeforePrint();
    void QRBand1BeforePrint(reportengine::Band& band);
    void SummaryBand1BeforePrint(reportengine::Band& band);

    const T_RepDaten& m_daten;
    reportengine::Report m_report;
    // exact, so that adding two-decimal amounts loses nothing
    bool m_ausgaben = false;
    Currency m_netto, m_brutto;
    Currency m_einNetto, m_einBrutto;
    Currency m_ausNetto, m_ausBrutto;
};
