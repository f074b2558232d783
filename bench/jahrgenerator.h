#pragma once

#include <QString>

// A working database for measurements: 20 clients with 20 booking circles
// each and the fiscal years 2024 to 2026; the current client's current year
// (2026) holds `anzahl` bookings of every kind, every other year a few
// hundred. The same seed gives the same file.
namespace jahrgenerator {

constexpr int kMandanten = 20;
constexpr int kKreise = 20;
constexpr int kAktuellerMandant = 1;
// T_Zeitraum.id of the current client's 2026
constexpr int kAktuellerZeitraum = 3;
constexpr int kJahr = 2026;

// Copies the template to ziel and fills it in one transaction; throws
// std::runtime_error on failure.
void erzeugen(const QString& vorlage, const QString& ziel, int anzahl, unsigned seed = 20260101);

// The directory of a generated year of `anzahl` bookings below basis, made
// once and reused while the template is unchanged.
QString verzeichnis(const QString& vorlage, const QString& basis, int anzahl);

} // namespace jahrgenerator
