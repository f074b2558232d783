#pragma once

#include "bank/auszugszeile.h"

#include <vector>

class Datenbank;

// Which lines of a statement were imported before. A line with a reference
// is a duplicate when that reference was imported; the end-to-end reference
// never decides (payers reuse it). Without a reference, the k-th identical
// line of a day (same date, amount, counterparty and text) is a duplicate
// only when k such lines of that day were imported before, so that two
// genuine payments of the same amount on one day both count.
namespace duplikate {

QString schluessel(const Auszugszeile& z);

// One answer per line of a; pending lines are never duplicates.
std::vector<bool> pruefen(Datenbank& db, int mandant, const Auszug& a);

} // namespace duplikate
