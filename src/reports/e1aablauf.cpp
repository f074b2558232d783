#include "reports/e1aablauf.h"

#include "data/db.h"
#include "data/dm_einaus.h"
#include "platform/userseam.h"
#include "reports/e1a.h"
#include "reports/tforme1a.h"
#include "toolkit/umgebung.h"

E1aAblauf::E1aAblauf(Umgebung& umgebung, TFormE1a& dialog)
    : m_umgebung(umgebung), m_dialog(dialog) {}

bool E1aAblauf::waehlen(int bk) {
    TDM_EinAus& dm = m_umgebung.dm;
    UserSeam& ui = m_umgebung.ui;
    const int mandant = dm.gibMandant();
    try {
        m_dialog.setzen(e1a::kreisName(dm.db(), mandant, bk), e1a::zuordnung(dm.db(), mandant, bk),
                        e1a::eigene(dm.db(), mandant));
    } catch (const DatenbankFehler& e) {
        ui.error(e.text());
        return false;
    }
    for (;;) {
        if (ui.runModal(m_dialog) != QDialog::Accepted)
            return false;
        QString fehler;
        const auto w = m_dialog.wahl(fehler);
        if (!w) {
            ui.message(fehler);
            continue;
        }
        try {
            e1a::zuordnen(dm.db(), mandant, bk, w->zuordnung, w->istEinnahme, w->text);
            return true;
        } catch (const DatenbankFehler& e) {
            ui.message(e.text());
        }
    }
}
