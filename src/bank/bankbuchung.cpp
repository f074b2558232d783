#include "bank/bankbuchung.h"

#include "bookings/buchungsschreiber.h"

namespace bankbuchung {

namespace {

int code(bool ja) {
    return ja ? buchungscode::Ja : buchungscode::Nein;
}

} // namespace

Buchung buchungAus(const Auszugszeile& z, const Vorschlag& v, int mandant, int zeitraum) {
    Buchung b;
    b.mandant = mandant;
    b.Wirtschaftsjahr = zeitraum;
    b.Buchungsdatum = z.buchungsdatum;
    b.Text = v.text;
    b.Steuersatz = v.steuersatz;
    b.Betrag = z.betrag < Currency() ? -z.betrag : z.betrag;
    b.BK = v.bk;
    b.IstEinnahme = code(v.einnahme);
    // reverse charge and construction services post like an acquisition
    const bool steuerschuld = v.merkmale.reverseCharge || v.merkmale.bauleistung;
    b.IstEU = code(v.merkmale.eu || steuerschuld);
    if (steuerschuld)
        b.Steuerschuld =
            v.merkmale.reverseCharge ? steuerschuld::ReverseCharge : steuerschuld::Bauleistung;
    b.IstDrittland = code(v.merkmale.drittland);
    b.IstKFZ = code(v.merkmale.kfz);
    b.IstGebaeude = code(v.merkmale.gebaeude);
    return b;
}

Vorschlag vorschlagAus(const Buchung& b) {
    Vorschlag v;
    v.bk = b.BK.value_or(0);
    v.steuersatz = b.Steuersatz;
    v.einnahme = b.IstEinnahme == buchungscode::Ja;
    v.merkmale.eu = b.IstEU == buchungscode::Ja && !b.Steuerschuld;
    v.merkmale.reverseCharge = b.Steuerschuld == steuerschuld::ReverseCharge;
    v.merkmale.bauleistung = b.Steuerschuld == steuerschuld::Bauleistung;
    v.merkmale.drittland = b.IstDrittland == buchungscode::Ja;
    v.merkmale.kfz = b.IstKFZ == buchungscode::Ja;
    v.merkmale.gebaeude = b.IstGebaeude == buchungscode::Ja;
    v.herkunft = Vorschlag::Herkunft::Gelernt;
    return v;
}

} // namespace bankbuchung
