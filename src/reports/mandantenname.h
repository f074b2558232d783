#pragma once

#include <QString>

class TDM_EinAus;

// The client name of a report header, from the master data of the client
// the data module is filtered to. Both throw DatenbankFehler when the master
// data cannot be read.
namespace mandantenname {

QString keinName();

// VAT verification: a null name (also: no row) gives keinName(); an empty
// name stays empty.
QString nullTest(TDM_EinAus& dm);
// The other reports: no row gives keinName(); a null name becomes empty.
QString zeilenTest(TDM_EinAus& dm);

} // namespace mandantenname
