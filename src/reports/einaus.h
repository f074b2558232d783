#pragma once

#include "reportengine/pagemodel.h"
#include "reports/t_repdaten.h"
#include "reports/zeitraum.h"

#include <QStringList>

class TDM_EinAus;
class TRep_EinAus;
class TRep_EinAusDetail;

// The booking-circle evaluations of a period of the current fiscal year (by
// voucher date): the totals per side and circle, and every booking grouped by
// side and circle. Each booking
// counts once: of an intra-community acquisition only the posting on 1021.
// Widget-free; reads throw DatenbankFehler.
namespace einaus {

// QueryEinAus: net and gross per side and circle, income first.
QStringList queryEinAusZeilen();
// QueryEinAusDetail: one row per booking, by side, circle name and date.
QStringList queryEinAusDetailZeilen();
// Query_Export of the details: every circle, by date and circle name.
QStringList detailExportZeilen();

// The picker's result: 1000 all circles, 1000 + id one circle, less cancelled.
constexpr int kAlle = 1000;

// The evaluation for circle kreis (0: all) over the period of code (1 to
// 17, the whole year by default): fills daten, opens QueryEinAus and lays out
// the report; the query is closed when it returns or throws.
reportengine::PageModel auswertungErzeugen(TDM_EinAus& dm, TRep_EinAus& bericht, T_RepDaten& daten,
                                           int kreis, int code = letzterZeitraumCode);

// The details' client, name and period of code.
void detailDatenSetzen(TDM_EinAus& dm, T_RepDaten& daten, int code = letzterZeitraumCode);
// The details for circle kreis (0: all) over QueryEinAusDetail.
reportengine::PageModel detailsErzeugen(TDM_EinAus& dm, TRep_EinAusDetail& bericht,
                                        const T_RepDaten& daten);
// Fills Query_Export with the details' export of daten's period.
void detailExportOeffnen(TDM_EinAus& dm, const T_RepDaten& daten);

} // namespace einaus
