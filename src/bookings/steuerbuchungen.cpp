#include "bookings/steuerbuchungen.h"

#include "data/buchung.h"

#include <cfloat>
#include <cmath>

Buchungsart klassifiziere(int IstEinnahme, int IstEU, int IstDrittland) {
    if (IstEinnahme == buchungscode::Ja)
        return Buchungsart::Einnahme;
    if (IstDrittland == buchungscode::Ja)
        return Buchungsart::Einfuhr;
    if (IstEU == buchungscode::Ja)
        return Buchungsart::IgErwerb;
    return Buchungsart::Ausgabe;
}

Buchungsart klassifiziere(const Buchung& b) {
    return klassifiziere(b.IstEinnahme, b.IstEU, b.IstDrittland);
}

// A quotient in double lands on an exact .5 for about one amount in fifty
// that lies below or above the half cent in binary; the 64-bit mantissa of
// the x87 format keeps it on the side where x lies, as the tax postings
// have always been computed.
static_assert(LDBL_MANT_DIG == 64, "round2 needs long double with a 64-bit mantissa");

double round2(double x) {
    const long double q = static_cast<long double>(x) / static_cast<long double>(0.01);
    // nearbyintl follows the default rounding mode: nearest, ties to even
    const double n = static_cast<double>(std::nearbyintl(q));
    return n * 0.01;
}

namespace {

double enthalteneSteuer(double brutto, int satz) {
    const double r = static_cast<double>(satz);
    return round2(brutto - brutto / ((r + 100.0) / 100.0));
}

} // namespace

std::vector<Steuerbuchung> SteuerbuchungenAbleiten(const Buchung& b) {
    const double betrag = b.Betrag.toDouble();
    switch (klassifiziere(b)) {
    case Buchungsart::Einnahme:
        return {{1000 + b.Steuersatz, enthalteneSteuer(betrag, b.Steuersatz)}};
    case Buchungsart::Ausgabe:
        return {{2000 + b.Steuersatz, enthalteneSteuer(betrag, b.Steuersatz)}};
    case Buchungsart::IgErwerb: {
        const double t = round2((betrag / 100.0) * static_cast<double>(b.Steuersatz));
        return {{1021, t}, {2021, t}};
    }
    case Buchungsart::Einfuhr:
        return {{3000, betrag}};
    }
    return {};
}

std::optional<int> steuerkontoFuer(Buchungsart art, int steuersatz) {
    switch (art) {
    case Buchungsart::Einnahme:
        return 1000 + steuersatz;
    case Buchungsart::Ausgabe:
        return 2000 + steuersatz;
    case Buchungsart::IgErwerb:
    case Buchungsart::Einfuhr:
        break;
    }
    return std::nullopt;
}
