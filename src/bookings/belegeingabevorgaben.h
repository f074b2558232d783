#pragma once

#include "data/buchung.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>

class SettingsFile;
class TDM_EinAus;

// What a new booking starts with: the next numbers, the fiscal year and the
// entries remembered per client in the settings file.

// The remembered entries; each absent or unreadable key gives its default.
struct Merkwerte {
    int Buchungskreis = 0;
    QDate Belegdatum;
    int IstEinnahme = buchungscode::Ja;
    double Steuersatz = 0;
    QString Buchungstext;
};
Merkwerte merkwerteLesen(const SettingsFile& ini, int mandant, const QDate& heute);

// The entries of a confirmed new booking, as they stand in the dialog.
struct Eingaben {
    std::optional<int> Buchungskreis;
    QString Belegnummer;
    QDate Belegdatum;
    int IstEinnahme = buchungscode::Ja;
    QString Steuersatz;
    QString Buchungstext;
};
// Writes the six keys one by one (a failing write is skipped); unless the
// run goes on, rate and text are forgotten again right away.
void EingabenMerken(SettingsFile& ini, int mandant, const Eingaben& eingaben, bool weiter);
// Rate and text do not outlive a cancelled new booking.
void merkwerteVergessen(SettingsFile& ini, int mandant);

// The remembered date if it lies in the calendar year, else 1 January.
QDate belegdatumImJahr(const QDate& datum, int jahr);

// The rates offered for the calendar year, with or without the German ones;
// 4,9 from 2026.
QStringList steuersaetze(int jahr, bool steuerDE);

// A new booking of the current client and fiscal year as it opens: next
// identifier and voucher number, remembered rate, text, circle (only if it
// still exists for the client), date, income/expense, and the four flags no.
// BK stays empty when nothing usable is remembered.
Buchung neueBuchung(TDM_EinAus& dm, const SettingsFile& ini, const QDate& heute);
