#include "reports/anlagenablauf.h"

#include "data/db.h"
#include "data/dm_einaus.h"
#include "platform/clock.h"
#include "platform/userseam.h"
#include "reports/anlagenverzeichnis.h"
#include "reports/tformanlage.h"
#include "toolkit/umgebung.h"

using anlagenverzeichnis::Eintrag;

AnlagenAblauf::AnlagenAblauf(Umgebung& umgebung, TFormAnlage& dialog)
    : m_umgebung(umgebung), m_dialog(dialog) {
    m_dialog.setNettoVorschlag([this](int buchung) -> std::optional<Currency> {
        TDM_EinAus& dm = m_umgebung.dm;
        try {
            return anlagenverzeichnis::buchungsNetto(dm.db(), dm.gibMandant(), buchung);
        } catch (const DatenbankFehler& e) {
            m_umgebung.ui.message(e.text());
            return std::nullopt;
        }
    });
}

bool AnlagenAblauf::bearbeiten(const std::function<void(const Eintrag&)>& speichern) {
    UserSeam& ui = m_umgebung.ui;
    for (;;) {
        if (ui.runModal(m_dialog) != QDialog::Accepted)
            return false;
        QString fehler;
        const std::optional<Eintrag> e = m_dialog.eintrag(fehler);
        if (!e) {
            ui.message(fehler);
            continue;
        }
        try {
            speichern(*e);
        } catch (const DatenbankFehler& f) {
            ui.message(f.text());
            continue;
        }
        ausserhalbDesJahres(*e);
        return true;
    }
}

void AnlagenAblauf::ausserhalbDesJahres(const Eintrag& e) {
    // the list shows the fiscal year's register: say where an asset went that it leaves out
    const int jahr = m_umgebung.dm.gibJahr();
    if (anlagen::rechnen(e.anlage, jahr).vorhanden)
        return;
    m_umgebung.ui.message(QStringLiteral("Die Anlage \"%1\" ist gespeichert; sie gehört nicht zum "
                                         "Anlagenverzeichnis des Jahres %2.")
                              .arg(e.bezeichnung)
                              .arg(jahr));
}

bool AnlagenAblauf::neu() {
    Eintrag e;
    e.anlage.anschaffung = m_umgebung.clock.today();
    m_dialog.setEintrag(e, TFormAnlage::Modus::Neu);
    return bearbeiten([this](const Eintrag& neu) {
        TDM_EinAus& dm = m_umgebung.dm;
        m_zuletzt = anlagenverzeichnis::anlegen(dm.db(), dm.gibMandant(), neu);
    });
}

bool AnlagenAblauf::aendern(int id) {
    TDM_EinAus& dm = m_umgebung.dm;
    try {
        m_dialog.setEintrag(anlagenverzeichnis::lesen(dm.db(), dm.gibMandant(), id),
                            TFormAnlage::Modus::Aendern);
    } catch (const DatenbankFehler& f) {
        m_umgebung.ui.error(f.text());
        return false;
    }
    return bearbeiten([this, &dm](const Eintrag& e) {
        anlagenverzeichnis::aendern(dm.db(), dm.gibMandant(), e);
        m_zuletzt = e.id;
    });
}

bool AnlagenAblauf::abgang(int id) {
    TDM_EinAus& dm = m_umgebung.dm;
    try {
        Eintrag e = anlagenverzeichnis::lesen(dm.db(), dm.gibMandant(), id);
        // a first disposal starts from today, a recorded one shows its date
        if (!e.anlage.abgang)
            e.anlage.abgang = m_umgebung.clock.today();
        m_dialog.setEintrag(e, TFormAnlage::Modus::Abgang);
    } catch (const DatenbankFehler& f) {
        m_umgebung.ui.error(f.text());
        return false;
    }
    return bearbeiten([this, &dm](const Eintrag& e) {
        anlagenverzeichnis::aendern(dm.db(), dm.gibMandant(), e);
        m_zuletzt = e.id;
    });
}

bool AnlagenAblauf::loeschen(int id) {
    TDM_EinAus& dm = m_umgebung.dm;
    UserSeam& ui = m_umgebung.ui;
    try {
        const Eintrag e = anlagenverzeichnis::lesen(dm.db(), dm.gibMandant(), id);
        if (ui.question(UserSeam::Kind::Confirmation,
                        QStringLiteral("Soll die Anlage \"%1\" aus dem Anlagenverzeichnis "
                                       "gelöscht werden?")
                            .arg(e.bezeichnung),
                        UserSeam::Yes | UserSeam::No | UserSeam::DefaultNo) != UserSeam::Yes)
            return false;
        anlagenverzeichnis::loeschen(dm.db(), dm.gibMandant(), id);
    } catch (const DatenbankFehler& f) {
        ui.error(f.text());
        return false;
    }
    return true;
}
