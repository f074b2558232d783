#pragma once

#include "reportengine/pagemodel.h"
#include "reports/t_repdaten.h"
#include "reports/zeitraum.h"

#include <QStringList>

class TDM_EinAus;
class TRep_PlusMinus;

// The plus-minus comparison: per circle name the income of a period of the
// current fiscal year (by voucher date) against its expenses, gross and net. Widget-free; reads
// throw DatenbankFehler.
namespace plusminus {

// Query_PlusMinus, one row per circle name in the order of the names.
QStringList queryPlusMinusZeilen();

// Fills daten for the period of code (1 to 17, the whole year by default),
// opens Query_PlusMinus and lays out the report; the query is closed when it
// returns or throws.
reportengine::PageModel erzeugen(TDM_EinAus& dm, TRep_PlusMinus& bericht, T_RepDaten& daten,
                                 int code = letzterZeitraumCode);

} // namespace plusminus
