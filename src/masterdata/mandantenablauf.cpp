#include "masterdata/mandantenablauf.h"

#include "data/dm_einaus.h"
#include "masterdata/mandanten.h"
#include "masterdata/zeitraeume.h"
#include "platform/clock.h"
#include "platform/settingsfile.h"
#include "platform/userseam.h"
#include "toolkit/umgebung.h"

MandantenAblauf::MandantenAblauf(Umgebung& umgebung) : m_umgebung(umgebung) {}

void MandantenAblauf::listeNeu() {
    // the change is done; a list that cannot be reread is only reported
    try {
        m_umgebung.dm.Table_MandantRequery();
    } catch (const DatenbankFehler& e) {
        m_umgebung.ui.error(e.text());
    }
}

void MandantenAblauf::neu() {
    const auto name = m_umgebung.ui.inputBox(QStringLiteral("Neuer Mandant"),
                                             QStringLiteral("Bezeichnung des Mandanten"),
                                             QStringLiteral("Bezeichnung des neuen Mandanten"));
    if (!name || name->isEmpty())
        return;
    try {
        const mandanten::Angelegt ergebnis = mandanten::anlegen(m_umgebung.dm, *name);
        if (!ergebnis.id) {
            m_umgebung.ui.message(ergebnis.meldung);
            return;
        }
        listeNeu();
    } catch (const DatenbankFehler& e) {
        m_umgebung.ui.error(e.text());
    }
}

void MandantenAblauf::umbenennen(int mandant) {
    TDM_EinAus& dm = m_umgebung.dm;
    const auto name = m_umgebung.ui.inputBox(QStringLiteral("Mandant umbenennen"),
                                             QStringLiteral("Bezeichnung des Mandanten"),
                                             dm.gibMandantName(mandant));
    if (!name || name->isEmpty())
        return;
    try {
        if (const auto abgelehnt = mandanten::umbenennen(dm, mandant, *name)) {
            m_umgebung.ui.message(*abgelehnt);
            return;
        }
        listeNeu();
    } catch (const DatenbankFehler& e) {
        m_umgebung.ui.error(e.text());
    }
}

void MandantenAblauf::loeschen(int mandant) {
    TDM_EinAus& dm = m_umgebung.dm;
    UserSeam& ui = m_umgebung.ui;
    try {
        const QString name = dm.gibMandantName(mandant);
        if (const auto abgelehnt = mandanten::loeschenVerweigert(dm, mandant)) {
            ui.message(*abgelehnt);
            return;
        }
        if (ui.question(UserSeam::Kind::Warning, mandanten::frageLoeschen(name),
                        UserSeam::Yes | UserSeam::No) != UserSeam::Yes)
            return;
        if (ui.question(UserSeam::Kind::Warning, mandanten::frageEndgueltigLoeschen(name),
                        UserSeam::Yes | UserSeam::No) != UserSeam::Yes)
            return;
        const mandanten::Geloescht ergebnis = mandanten::loeschen(dm, m_umgebung.ini, mandant);
        listeNeu();
        ui.message(mandanten::meldungGeloescht(name));
        if (!ergebnis.einstellungenEntfernt)
            ui.error(mandanten::meldungEinstellungenNichtGeschrieben(m_umgebung.ini.path(),
                                                                     m_umgebung.ini.lastError()));
    } catch (const DatenbankFehler& e) {
        ui.error(e.text());
    }
}

void MandantenAblauf::wechseln(int mandant) {
    try {
        if (const auto abgelehnt = mandanten::wechseln(m_umgebung.dm, mandant))
            m_umgebung.ui.message(*abgelehnt);
    } catch (const DatenbankFehler& e) {
        m_umgebung.ui.error(e.text());
    }
}

void MandantenAblauf::nachDemSchliessen() {
    TDM_EinAus& dm = m_umgebung.dm;
    try {
        if (mandanten::brauchtErstesJahr(dm))
            dm.ersterZeitraumAnlegen(dm.gibMandant(), dm.erstesJahrErfragen(false));
        dm.setQueryZeitraumMandant(dm.gibMandant());
    } catch (const DatenbankFehler& e) {
        m_umgebung.ui.error(e.text());
    }
}
