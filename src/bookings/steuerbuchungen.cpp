#include "bookings/steuerbuchungen.h"

#include "data/buchung.h"
#include "data/steuersatz.h"

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

double enthalteneSteuer(double brutto, double r) {
    return round2(brutto - brutto / ((r + 100.0) / 100.0));
}

double steuerAufNetto(double netto, double r) {
    return round2((netto / 100.0) * r);
}

std::vector<Steuerbuchung> SteuerbuchungenAbleiten(const Buchung& b, bool kleinunternehmer) {
    const double betrag = b.Betrag.toDouble();
    const double r = b.Steuersatz;
    switch (klassifiziere(b)) {
    case Buchungsart::Einnahme:
        return {{steuersatz::konto(1000, r), enthalteneSteuer(betrag, r)}};
    case Buchungsart::Ausgabe:
        return {{steuersatz::konto(2000, r), enthalteneSteuer(betrag, r)}};
    case Buchungsart::IgErwerb: {
        const double t = steuerAufNetto(betrag, r);
        if (b.Steuerschuld && kleinunternehmer)
            return {{1021, t}};
        return {{1021, t}, {2021, t}};
    }
    case Buchungsart::Einfuhr:
        return {{3000, betrag}};
    }
    return {};
}

std::optional<int> steuerkontoFuer(Buchungsart art, double satz) {
    switch (art) {
    case Buchungsart::Einnahme:
        return steuersatz::konto(1000, satz);
    case Buchungsart::Ausgabe:
        return steuersatz::konto(2000, satz);
    case Buchungsart::IgErwerb:
    case Buchungsart::Einfuhr:
        break;
    }
    return std::nullopt;
}
