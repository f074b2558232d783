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
    m_an = {einnahme, !einnahme, ja(b.IstEU), ja(b.IstDrittland), ja(b.IstKFZ), ja(b.IstGebaeude)};
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
        if (an) {
            m_bruttoNetto = QStringLiteral("(Netto)");
            m_steuersatz = 20;
            setzen(Drittland, false);
            setzen(KFZ, false);
            setzen(Gebaeude, false);
        } else {
            m_bruttoNetto = QStringLiteral("(Brutto)");
        }
        break;
    case Drittland:
        if (an) {
            m_steuersatz = 0;
            setzen(EU, false);
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

void Belegeingaberegeln::flagsAus() {
    setzen(EU, false);
    setzen(Drittland, false);
    setzen(KFZ, false);
    setzen(Gebaeude, false);
    m_flagsVerfuegbar = false;
}

std::optional<int> Belegeingaberegeln::nimmSteuersatz() {
    auto s = m_steuersatz;
    m_steuersatz.reset();
    return s;
}

void Belegeingaberegeln::uebernehmen(Buchung& b) const {
    b.IstEinnahme = code(m_an[Einnahme]);
    b.IstEU = code(m_an[EU]);
    b.IstDrittland = code(m_an[Drittland]);
    b.IstKFZ = code(m_an[KFZ]);
    b.IstGebaeude = code(m_an[Gebaeude]);
}
