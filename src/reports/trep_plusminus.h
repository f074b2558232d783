#pragma once

#include "data/currency.h"
#include "reportengine/report.h"
#include "reports/t_repdaten.h"

#include <array>

// The plus-minus comparison: one line per circle name with gross and net
// income, expenses and difference, and the result line over all circles.
class TRep_PlusMinus {
public:
    explicit TRep_PlusMinus(const T_RepDaten& daten);

    // Lays out the report over the rows of Query_PlusMinus.
    reportengine::PageModel erzeugen(reportengine::RowSource& Query_PlusMinus);
    reportengine::Report& report() { return m_report; }

private:
    void QRBand1BeforePrint(reportengine::Band& band);
    void QRBand2AfterPrint();
    void QRBand3BeforePrint(reportengine::Band& band);
    void summenLoeschen();

    const T_RepDaten& m_daten;
    reportengine::Report m_report;
    // the six column totals, in the order of the columns
    std::array<Currency, 6> m_summen{};
};
