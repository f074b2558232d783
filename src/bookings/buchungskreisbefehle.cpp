#include "bookings/buchungskreisbefehle.h"

#include "bookings/buchungskreis.h"
#include "bookings/buchungskreisauswahl.h"
#include "bookings/buchungskreisliste.h"
#include "bookings/buchungskreisneu.h"
#include "data/dm_einaus.h"
#include "platform/userseam.h"
#include "toolkit/umgebung.h"

BuchungskreisBefehle::BuchungskreisBefehle(Umgebung& umgebung, QWidget* parent)
    : m_umgebung(umgebung),
      m_liste(std::make_unique<TFormBuchungskreis>(umgebung.dm.ADO_BK(), parent)),
      m_neu(std::make_unique<TFormBuchungskreisNeu>(parent)),
      m_auswahl(std::make_unique<TFormBuchungsKreisAuswahl>(umgebung.dm.ADO_BK(), parent)) {
    m_liste->setAktionen({[this] { SchalterNeuClick(); },
                          [this] { SchalterLoeschenClick(); },
                          [this] { SchalterAendernClick(); },
                          {}});
}

BuchungskreisBefehle::~BuchungskreisBefehle() = default;

void BuchungskreisBefehle::setE1a(E1a e1a) {
    m_e1a = std::move(e1a);
    m_liste->setAktionen({[this] { SchalterNeuClick(); }, [this] { SchalterLoeschenClick(); },
                          [this] { SchalterAendernClick(); }, [this] { SchalterE1aClick(); }});
}

void BuchungskreisBefehle::e1aTexteLesen() {
    if (!m_e1a.texte)
        return;
    try {
        m_liste->setE1aTexte(m_e1a.texte());
    } catch (const DatenbankFehler& e) {
        m_umgebung.ui.error(e.text());
    }
}

void BuchungskreisBefehle::SchalterE1aClick() {
    const std::optional<int> id = m_liste->ausgewaehlt();
    if (!id || !m_e1a.waehlen || !m_e1a.waehlen(*id))
        return;
    e1aTexteLesen();
}

void BuchungskreisBefehle::Buchungskreise1Click() {
    TDM_EinAus& dm = m_umgebung.dm;
    try {
        dm.BuchungskreiseFiltern(dm.gibMandant());
    } catch (const DatenbankFehler& e) {
        m_umgebung.ui.error(e.text());
        return;
    }
    m_liste->auswaehlen(std::nullopt);
    e1aTexteLesen();
    m_umgebung.ui.runModal(*m_liste);
}

void BuchungskreisBefehle::listeNeu(std::optional<int> auswahl) {
    // the change is stored; a list that cannot be reread is only reported
    try {
        m_umgebung.dm.ADO_BKRequery();
    } catch (const DatenbankFehler& e) {
        m_umgebung.ui.error(e.text());
        return;
    }
    m_liste->auswaehlen(auswahl);
    e1aTexteLesen();
}

void BuchungskreisBefehle::SchalterNeuClick() {
    TDM_EinAus& dm = m_umgebung.dm;
    m_neu->neu();
    m_neu->FormActivate();
    if (m_umgebung.ui.runModal(*m_neu) != QDialog::Accepted)
        return;
    int id = -1;
    try {
        id = buchungskreise::anlegen(dm, dm.gibMandant(), m_neu->name(), m_neu->kurz());
    } catch (const DatenbankFehler& e) {
        m_umgebung.ui.error(e.text());
        return;
    }
    listeNeu(id);
}

void BuchungskreisBefehle::SchalterAendernClick() {
    TDM_EinAus& dm = m_umgebung.dm;
    // an empty list has no circle to change
    const std::optional<int> id = m_liste->ausgewaehlt();
    if (!id)
        return;
    try {
        const int mandant = dm.gibMandant();
        const auto kreis = buchungskreise::lesen(dm, *id, mandant);
        if (!kreis)
            return;
        m_neu->bearbeiten(kreis->BKName, kreis->BKKurz);
        m_neu->FormActivate();
        if (m_umgebung.ui.runModal(*m_neu) != QDialog::Accepted)
            return;
        buchungskreise::aendern(dm, *id, mandant, m_neu->name(), m_neu->kurz());
    } catch (const DatenbankFehler& e) {
        m_umgebung.ui.error(e.text());
        return;
    }
    listeNeu(id);
}

void BuchungskreisBefehle::SchalterLoeschenClick() {
    TDM_EinAus& dm = m_umgebung.dm;
    const std::optional<int> id = m_liste->ausgewaehlt();
    if (!id)
        return;
    try {
        if (!buchungskreise::loeschen(dm, *id, dm.gibMandant())) {
            m_umgebung.ui.message(buchungskreise::meldungInGebrauch());
            return;
        }
    } catch (const DatenbankFehler& e) {
        m_umgebung.ui.error(e.text());
        return;
    }
    listeNeu(std::nullopt);
}

BuchungskreisBefehle::Auswahl
BuchungskreisBefehle::BuchungskreisAuswaehlen(bool datenexportZeigen) {
    TDM_EinAus& dm = m_umgebung.dm;
    try {
        dm.BuchungskreiseFiltern(dm.gibMandant());
    } catch (const DatenbankFehler& e) {
        m_umgebung.ui.error(e.text());
        return Auswahl{};
    }
    m_auswahl->setDatenexportSichtbar(datenexportZeigen);
    const int ergebnis = m_umgebung.ui.runModal(*m_auswahl);
    return Auswahl{ergebnis, m_auswahl->datenexport()};
}
