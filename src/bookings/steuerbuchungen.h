#pragma once

#include <optional>
#include <vector>

struct Buchung;

// How a booking is posted, decided in this order: income, then on an expense
// an intra-community acquisition, then an import (which wins over both).
enum class Buchungsart { Einnahme, Ausgabe, IgErwerb, Einfuhr };

// Any code other than 1 counts as no; an income never looks at the flags.
Buchungsart klassifiziere(int IstEinnahme, int IstEU, int IstDrittland);
Buchungsart klassifiziere(const Buchung& b);

// Cents in binary floating point: x / 0.01 (the double nearest 0.01)
// carried out with a 64-bit mantissa, nearest integer with ties to even,
// times 0.01. So the result is the nearest cent of the binary value x: at a
// decimal half cent the binary value decides, never a decimal rule.
double round2(double x);

// One row of t_kontenbewegungen as derived: the account and the amount as
// the double the arithmetic produced.
struct Steuerbuchung {
    int Konten_Nr = 0;
    double St_Betrag = 0.0;
    bool operator==(const Steuerbuchung&) const = default;
};

// The postings of a booking, in the order they are written. A reverse-charge
// or construction service of a client under the small-business exemption
// (Kennzahl 016) owes the tax without deducting it: no 2021 posting.
std::vector<Steuerbuchung> SteuerbuchungenAbleiten(const Buchung& b, bool kleinunternehmer = false);

// The rate account that the booking's kind and rate post to (1000 + r or
// 2000 + r, 1049 and 2049 for 4,9); nullopt where the account does not
// depend on the rate.
std::optional<int> steuerkontoFuer(Buchungsart art, double steuersatz);

// Tax owed on a net amount: round2((net / 100) × r), as an intra-community
// acquisition, a reverse-charge and a construction service compute it.
double steuerAufNetto(double netto, double steuersatz);
// Tax contained in a gross amount: round2(B − B / ((r + 100) / 100)).
double enthalteneSteuer(double brutto, double steuersatz);
