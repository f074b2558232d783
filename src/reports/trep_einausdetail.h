#pragma once

#include "reportengine/report.h"
#include "reports/t_repdaten.h"

class Datenbank;

// The booking-circle details: every booking of the fiscal year, grouped by
// side and within it by circle, with sums per circle, per side and the result.
class TRep_EinAusDetail {
public:
    TRep_EinAusDetail(Datenbank& db, const T_RepDaten& daten);

    // The circle the command chose (0: all), carried to the page header by
    // the hidden label LabelZeitraum_integer.
    void setKreis(int kreis);
    int kreis() const { return m_kreis; }

    // Lays out the report over the rows of QueryEinAusDetail.
    reportengine::PageModel erzeugen(reportengine::RowSource& QueryEinAusDetail);
    reportengine::Report& report() { return m_report; }

private:
    void PageHeaderBand1BeforePrint(reportengine::Band& band);

    Datenbank& m_db;
    const T_RepDaten& m_daten;
    reportengine::Report m_report;
    int m_kreis = 0;
};
