#pragma once

#include <QDate>
#include <QString>
#include <optional>

// A VAT rate: a percentage with at most one decimal (4,9 since 01.07.2026).
// Whole rates are stored as the integers they are; any other as the real
// value. Rates are compared in tenths, never as doubles.
namespace steuersatz {

// round(satz × 10): 4.9 → 49, 20 → 200.
int zehntel(double satz);
double ausZehntel(int zehntel);
bool gleich(double a, double b);

// "20", "4,9": the decimal comma, no trailing zero.
QString text(double satz);
// "4,9", "4.9", " 20 "; nullopt for anything else, more than one decimal or
// a whole part beyond the small integer the column always held.
std::optional<double> lesen(const QString& text);

// The rate account: basis + r for a whole rate r, basis + tenths otherwise
// (4,9 → 1049, 2049).
int konto(int basis, double satz);

// The first day a rate may be booked; invalid when it has no start.
QDate gueltigAb(double satz);
// Empty when the rate may be booked on that voucher date.
QString datumPruefen(double satz, const QDate& datum);

} // namespace steuersatz
