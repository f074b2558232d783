#include "bookings/buchungsstapel.h"

#include "bookings/buchungsschreiber.h"
#include "data/buchung.h"
#include "data/dm_einaus.h"
#include "data/festschreibung.h"
#include "data/summen.h"
#include "data/texte.h"

namespace {

Datenbank& inTransaktion(TDM_EinAus& dm) {
    if (!dm.db().inTransaction())
        throw DatenbankFehler(
            QStringLiteral("Ein Buchungsstapel wird nur innerhalb einer Transaktion geschrieben."));
    return dm.db();
}

} // namespace

Buchungsstapel::Buchungsstapel(TDM_EinAus& dm)
    : m_dm(dm), m_nachschlag(inTransaktion(dm)), m_protokoll(dm.db()) {}

Buchungsstapel::Jahr& Buchungsstapel::jahr(int mandant, int zeitraum) {
    const auto schluessel = std::make_pair(mandant, zeitraum);
    auto it = m_jahre.find(schluessel);
    if (it == m_jahre.end()) {
        Datenbank& db = m_dm.db();
        Jahr j;
        j.kalenderjahr = ZeitraumJahr(db, zeitraum, mandant);
        j.gesperrtBis = festschreibung::bis(db, mandant, zeitraum);
        it = m_jahre.insert(schluessel, j);
    }
    return *it;
}

bool Buchungsstapel::kleinunternehmer(int mandant) {
    auto it = m_kleinunternehmer.find(mandant);
    if (it == m_kleinunternehmer.end())
        it = m_kleinunternehmer.insert(mandant, ::kleinunternehmer(m_dm.db(), mandant));
    return *it;
}

int Buchungsstapel::neueBuchung(const Buchung& b) {
    Datenbank& db = m_dm.db();
    Buchung neu = b;
    neu.Text = texte::einzeilig(neu.Text);
    Jahr& j = jahr(neu.mandant, neu.Wirtschaftsjahr);
    if (const QString fehler = buchungspruefung::buchung(m_nachschlag, neu, j.kalenderjahr);
        !fehler.isEmpty())
        throw BuchungAbgewiesen(fehler);
    if (const QString fehler = festschreibung::pruefen(j.gesperrtBis, neu); !fehler.isEmpty())
        throw BuchungAbgewiesen(fehler);
    if (!m_naechsteID)
        m_naechsteID = m_dm.neueID(QStringLiteral("T_Buchungen"));
    if (!j.naechsteBelegnummer)
        j.naechsteBelegnummer = m_dm.neueBelegnummer(neu.mandant, neu.Wirtschaftsjahr);
    neu.ID = *m_naechsteID;
    neu.Belegnummer = *j.naechsteBelegnummer;
    buchungstabelle::einfuegen(db, neu);
    if (!m_naechsteBewegung)
        m_naechsteBewegung = m_dm.neueID(QStringLiteral("t_Kontenbewegungen"));
    steuerbuchungenEinfuegen(db, neu, neu.Steuerschuld && kleinunternehmer(neu.mandant),
                             [this] { return (*m_naechsteBewegung)++; });
    aenderungsprotokoll::buchung(m_dm, m_protokoll, std::nullopt, neu.ID, neu.mandant);
    ++*m_naechsteID;
    ++*j.naechsteBelegnummer;
    return neu.ID;
}
