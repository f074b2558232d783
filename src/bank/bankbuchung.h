#pragma once

#include "bank/auszugszeile.h"
#include "bank/vorschlag.h"
#include "data/buchung.h"

// The one place where a proposal becomes a booking and a booking a learned
// proposal: every kind flag of a proposal is mapped (or refused) here.
namespace bankbuchung {

// The booking of line z as proposed, in the client's fiscal year: income for
// credits, expense for debits, the absolute amount, the booking date as the
// voucher date. Throws BuchungAbgewiesen for a kind the booking cannot hold.
Buchung buchungAus(const Auszugszeile& z, const Vorschlag& v, int mandant, int zeitraum);

// The circle, rate and flags of a stored booking, for the next line of the
// same counterparty.
Vorschlag vorschlagAus(const Buchung& b);

} // namespace bankbuchung
