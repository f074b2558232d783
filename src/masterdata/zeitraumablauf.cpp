#include "masterdata/zeitraumablauf.h"

#include "data/dm_einaus.h"
#include "data/festschreibung.h"
#include "masterdata/zeitraeume.h"
#include "platform/clock.h"
#include "platform/userseam.h"
#include "toolkit/umgebung.h"

ZeitraumAblauf::ZeitraumAblauf(Umgebung& umgebung) : m_umgebung(umgebung) {}

void ZeitraumAblauf::neuesJahr() {
    TDM_EinAus& dm = m_umgebung.dm;
    const auto antwort = m_umgebung.ui.inputBox(QStringLiteral("Neues Wirtschaftsjahr"),
                                                QStringLiteral("Jahreszahl (zb: 2008)"),
                                                QString::number(m_umgebung.clock.today().year()));
    if (!antwort)
        return;
    const zeitraeume::Angelegt ergebnis = zeitraeume::anlegen(dm, dm.gibMandant(), *antwort);
    if (!ergebnis.id) {
        m_umgebung.ui.message(ergebnis.meldung);
        return;
    }
    listeNeu();
}

void ZeitraumAblauf::listeNeu() {
    // the change is done; a list that cannot be reread is only reported
    try {
        m_umgebung.dm.QueryZeitraumRequery();
    } catch (const DatenbankFehler& e) {
        m_umgebung.ui.error(e.text());
    }
}

void ZeitraumAblauf::loeschen(int zeitraum) {
    TDM_EinAus& dm = m_umgebung.dm;
    UserSeam& ui = m_umgebung.ui;
    try {
        if (const auto abgelehnt = zeitraeume::loeschenVerweigert(dm, zeitraum)) {
            ui.message(*abgelehnt);
            return;
        }
        if (ui.question(UserSeam::Kind::Warning, zeitraeume::frageLoeschen(),
                        UserSeam::Yes | UserSeam::No) != UserSeam::Yes)
            return;
        if (ui.question(UserSeam::Kind::Warning, zeitraeume::frageEndgueltigLoeschen(),
                        UserSeam::Yes | UserSeam::No) != UserSeam::Yes)
            return;
        if (const auto bis = festschreibung::bis(dm.db(), dm.gibMandant(), zeitraum);
            bis &&
            ui.question(UserSeam::Kind::Warning, zeitraeume::frageFestgeschriebenLoeschen(*bis),
                        UserSeam::Yes | UserSeam::No) != UserSeam::Yes)
            return;
        zeitraeume::loeschen(dm, zeitraum);
    } catch (const DatenbankFehler& e) {
        ui.error(e.text());
        return;
    }
    listeNeu();
    ui.message(zeitraeume::meldungGeloescht());
}

bool ZeitraumAblauf::setzen(int zeitraum, int mandant) {
    try {
        if (const auto abgelehnt = zeitraeume::setzen(m_umgebung.dm, zeitraum, mandant)) {
            m_umgebung.ui.message(*abgelehnt);
            return false;
        }
        return true;
    } catch (const DatenbankFehler& e) {
        m_umgebung.ui.error(e.text());
        return false;
    }
}
