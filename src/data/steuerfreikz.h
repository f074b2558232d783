#pragma once

#include <QString>
#include <vector>

// Where a client's revenues at 0 % go in the VAT return
// (T_Stammdaten.SteuerfreiKZ): a Kennzahl of the tax-exempt revenues, or
// "nicht steuerbar", which keeps them out of the return.
namespace steuerfreikz {

struct Wahl {
    QString wert; // stored text
    QString text; // shown in the master data
};
const std::vector<Wahl>& wahlen();
QString nichtSteuerbar();
bool gueltig(const QString& wert);

} // namespace steuerfreikz
