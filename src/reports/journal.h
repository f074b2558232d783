#pragma once

#include "reportengine/pagemodel.h"
#include "reports/t_repdaten.h"

#include <QStringList>

class TDM_EinAus;
class TRep_Journal;

// The journal's data: the bookings of a period of the current fiscal year
// in date order. Widget-free; reads throw DatenbankFehler.
namespace journal {

// QueryJournal, one row per tax posting.
QStringList queryJournalZeilen();
// Query_Export of the journal: each booking once, with its circle's name.
QStringList exportZeilen();

// Fills daten for the period code: client, fiscal year, year, period and
// the client name by the row test.
void datenSetzen(TDM_EinAus& dm, T_RepDaten& daten, int code);

// Opens QueryJournal over daten's period and lays out the report; the query
// is closed when it returns or throws.
reportengine::PageModel erzeugen(TDM_EinAus& dm, TRep_Journal& bericht, const T_RepDaten& daten);

// Fills the data module's Query_Export with the journal export of daten's period.
void exportOeffnen(TDM_EinAus& dm, const T_RepDaten& daten);

} // namespace journal
