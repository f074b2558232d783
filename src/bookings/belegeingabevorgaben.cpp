#include "bookings/belegeingabevorgaben.h"

#include "bookings/buchungspruefung.h"
#include "data/dates.h"
#include "data/dm_einaus.h"
#include "platform/settingsfile.h"

namespace {

const QString kBuchungskreis = QStringLiteral("Buchungskreis");
const QString kBelegnummer = QStringLiteral("Belegnummer");
const QString kBelegdatum = QStringLiteral("Belegdatum");
const QString kIstEinnahme = QStringLiteral("IstEinnahme");
const QString kSteuersatz = QStringLiteral("Steuersatz");
const QString kBuchungstext = QStringLiteral("Buchungstext");

} // namespace

Merkwerte merkwerteLesen(const SettingsFile& datei, int mandant, const QDate& heute) {
    // one reading of the file for all five values
    const SettingsFile::Snapshot ini = datei.snapshot();
    const QString s = TDM_EinAus::buchenAbschnitt(mandant);
    Merkwerte m;
    m.Buchungskreis = ini.readInteger(s, kBuchungskreis, 0);
    m.Belegdatum = dates::parse(ini.readString(s, kBelegdatum)).value_or(heute);
    const int e = ini.readInteger(s, kIstEinnahme, buchungscode::Ja);
    m.IstEinnahme = e == buchungscode::Nein ? buchungscode::Nein : buchungscode::Ja;
    m.Steuersatz = buchungspruefung::steuersatz(ini.readString(s, kSteuersatz)).wert.value_or(0);
    m.Buchungstext = ini.readString(s, kBuchungstext);
    return m;
}

void EingabenMerken(SettingsFile& ini, int mandant, const Eingaben& e, bool weiter) {
    const QString s = TDM_EinAus::buchenAbschnitt(mandant);
    if (e.Buchungskreis)
        ini.writeString(s, kBuchungskreis, QString::number(*e.Buchungskreis));
    ini.writeString(s, kBelegnummer, e.Belegnummer);
    if (e.Belegdatum.isValid())
        ini.writeString(s, kBelegdatum, dates::format(e.Belegdatum));
    ini.writeString(s, kIstEinnahme, QString::number(e.IstEinnahme));
    ini.writeString(s, kSteuersatz, e.Steuersatz);
    ini.writeString(s, kBuchungstext, e.Buchungstext);
    if (!weiter)
        merkwerteVergessen(ini, mandant);
}

void merkwerteVergessen(SettingsFile& ini, int mandant) {
    const QString s = TDM_EinAus::buchenAbschnitt(mandant);
    ini.deleteKey(s, kSteuersatz);
    ini.deleteKey(s, kBuchungstext);
}

QDate belegdatumImJahr(const QDate& datum, int jahr) {
    const QDate erster(jahr, 1, 1);
    if (datum.isValid() && datum >= erster && datum <= QDate(jahr, 12, 31))
        return datum;
    return erster;
}

QStringList steuersaetze(int jahr, bool steuerDE) {
    QStringList s{QStringLiteral("0")};
    if (jahr >= 2026)
        s << QStringLiteral("4,9");
    s << QStringLiteral("5");
    if (steuerDE)
        s << QStringLiteral("7") << QStringLiteral("19");
    s << QStringLiteral("10") << (jahr < 2016 ? QStringLiteral("12") : QStringLiteral("13"))
      << QStringLiteral("20");
    return s;
}

Buchung neueBuchung(TDM_EinAus& dm, const SettingsFile& ini, const QDate& heute) {
    const int mandant = dm.gibMandant();
    const int jahr = dm.gibJahr();
    const Merkwerte m = merkwerteLesen(ini, mandant, heute);
    Buchung b;
    b.mandant = mandant;
    b.Steuersatz = m.Steuersatz;
    b.Text = m.Buchungstext;
    try {
        if (m.Buchungskreis > 0 &&
            buchungspruefung::buchungskreisVorhanden(dm.db(), m.Buchungskreis, mandant))
            b.BK = m.Buchungskreis;
    } catch (const DatenbankFehler&) {
        // an unreadable circle list leaves the circle for the user to pick
    }
    b.Belegnummer = dm.gibNeueBelegnummer();
    b.ID = dm.gibNeueID(QStringLiteral("T_Buchungen"));
    b.Wirtschaftsjahr = dm.gibZeitraum();
    b.Buchungsdatum = belegdatumImJahr(m.Belegdatum, jahr);
    b.IstEinnahme = m.IstEinnahme;
    b.IstEU = b.IstDrittland = b.IstKFZ = b.IstGebaeude = buchungscode::Nein;
    return b;
}
