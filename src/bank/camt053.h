#pragma once

#include "bank/auszugszeile.h"

#include <QByteArray>

// CAMT.053 bank-to-customer statements (ISO 20022), versions 001.02, 001.04
// and 001.08. A DTD is never read and no entity expanded: a file with a
// DOCTYPE is refused, as is malformed XML (with its line and column) and
// any other version (with its name).
namespace camt053 {

Auszug lesen(const QByteArray& xml);

} // namespace camt053
