#include "bookings/belegeingaberegeln.h"

#include "data/buchung.h"

namespace {

bool ja(int code) {
    return code == buchungscode::Ja;
}
int code(bool an) {
    return an ? buchungscode::Ja : buchungscode::Nein;
}

} // namespace

void Belegeingaberegeln::laden(const Buchung& b) {
    const bool einnahme = ja(b.IstEinnahme);
    const bool rc = !einnahme && b.Steuerschuld == steuerschuld::ReverseCharge;
    const bool bau = !einnahme && b.Steuerschuld == steuerschuld::Bauleistung;
    m_an = {einnahme,
            !einnahme,
            ja(b.IstEU) && !rc && !bau,
            ja(b.IstDrittland),
            ja(b.IstKFZ),
            ja(b.IstGebaeude),
            rc,
            bau};
    m_flagsVerfuegbar = !einnahme;
    m_bruttoNetto = ja(b.IstEU) ? QStringLiteral("(Netto)") : QStringLiteral("Brutto");
    m_steuersatz.reset();
}

bool Belegeingaberegeln::setzen(Schalter s, bool an) {
    const bool flag = s != Einnahme && s != Ausgabe;
    if (flag && an && !m_flagsVerfuegbar)
        return false;
    if (m_an[s] == an)
        return true;
    m_an[s] = an;
    switch (s) {
    case Einnahme:
        if (an) {
            setzen(Ausgabe, false);
            flagsAus();
        } else {
            setzen(Ausgabe, true);
        }
        break;
    case Ausgabe:
        if (an) {
            setzen(Einnahme, false);
            m_flagsVerfuegbar = true;
        } else {
            setzen(Einnahme, true);
            flagsAus();
        }
        break;
    case EU:
    case ReverseCharge:
    case Bauleistung:
        if (an) {
            for (const Schalter andere : {EU, ReverseCharge, Bauleistung})
                if (andere != s)
                    setzen(andere, false);
            netto();
            setzen(Drittland, false);
            setzen(KFZ, false);
            setzen(Gebaeude, false);
        } else if (!m_an[EU] && !m_an[ReverseCharge] && !m_an[Bauleistung]) {
            m_bruttoNetto = QStringLiteral("(Brutto)");
        }
        break;
    case Drittland:
        if (an) {
            m_steuersatz = 0;
            setzen(EU, false);
            setzen(ReverseCharge, false);
            setzen(Bauleistung, false);
            setzen(KFZ, false);
            setzen(Gebaeude, false);
        }
        break;
    case KFZ:
        if (an)
            setzen(Gebaeude, false);
        break;
    case Gebaeude:
        if (an)
            setzen(KFZ, false);
        break;
    }
    return true;
}

void Belegeingaberegeln::netto() {
    m_bruttoNetto = QStringLiteral("(Netto)");
    m_steuersatz = 20;
}

void Belegeingaberegeln::flagsAus() {
    setzen(EU, false);
    setzen(ReverseCharge, false);
    setzen(Bauleistung, false);
    setzen(Drittland, false);
    setzen(KFZ, false);
    setzen(Gebaeude, false);
    m_flagsVerfuegbar = false;
}

std::optional<double> Belegeingaberegeln::nimmSteuersatz() {
    auto s = m_steuersatz;
    m_steuersatz.reset();
    return s;
}

void Belegeingaberegeln::uebernehmen(Buchung& b) const {
    b.IstEinnahme = code(m_an[Einnahme]);
    b.IstEU = code(m_an[EU] || m_an[ReverseCharge] || m_an[Bauleistung]);
    b.Steuerschuld.reset();
    if (m_an[ReverseCharge])
        b.Steuerschuld = steuerschuld::ReverseCharge;
    else if (m_an[Bauleistung])
        b.Steuerschuld = steuerschuld::Bauleistung;
    b.IstDrittland = code(m_an[Drittland]);
    b.IstKFZ = code(m_an[KFZ]);
    b.IstGebaeude = code(m_an[Gebaeude]);
}
