#include "masterdata/mandantenbefehle.h"

#include "data/dm_einaus.h"
#include "masterdata/mandanten.h"
#include "masterdata/tmandantenauswahl.h"
#include "masterdata/tmandantimportieren.h"
#include "masterdata/tstammdaten.h"
#include "platform/userseam.h"
#include "toolkit/hauptfenster.h"
#include "toolkit/umgebung.h"

MandantenBefehle::MandantenBefehle(Umgebung& umgebung, Hauptfenster& hauptfenster)
    : m_umgebung(umgebung), m_hauptfenster(hauptfenster), m_ablauf(umgebung) {}

void MandantenBefehle::Mandanten1Click() {
    try {
        m_umgebung.dm.Table_MandantRequery();
        TMandantenauswahl dialog(m_umgebung, m_ablauf, m_hauptfenster.widget());
        dialog.FormActivate();
        m_umgebung.ui.runModal(dialog);
    } catch (const DatenbankFehler& e) {
        m_umgebung.ui.error(e.text());
    }
    // whatever the result: the current client may have changed in the list
    m_ablauf.nachDemSchliessen();
    m_hauptfenster.AnzeigeAktualisieren();
}

void MandantenBefehle::Stammdaten1Click() {
    TDM_EinAus& dm = m_umgebung.dm;
    try {
        const Stammdaten vorher = mandanten::stammdatenLesen(dm);
        if (vorher.mandant == -1)
            return;
        TStammdaten dialog(m_umgebung, m_hauptfenster.widget());
        dialog.setDaten(vorher);
        dialog.FormActivate();
        if (m_umgebung.ui.runModal(dialog) != QDialog::Accepted)
            return;
        mandanten::stammdatenSpeichern(dm, dialog.daten());
    } catch (const DatenbankFehler& e) {
        m_umgebung.ui.error(e.text());
    }
}

void MandantenBefehle::MandantImportieren1Click() {
    TMandantImportieren dialog(m_hauptfenster.widget());
    m_umgebung.ui.runModal(dialog);
}
