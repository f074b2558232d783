// "Verwalten > Datenbank prüfen": the whole integrity check of the file.
#include "app/startpruefung.h"
#include "app/tform_velmora.h"
#include "data/datenbankpruefung.h"
#include "data/dm_einaus.h"
#include "platform/userseam.h"
#include "toolkit/umgebung.h"

#include <QCoreApplication>
#include <QProgressDialog>

void TForm_Velmora::DatenbankPruefen1Click() {
    TDM_EinAus& dm = m_umgebung.dm;
    QProgressDialog fortschritt(QStringLiteral("Die Datenbank wird geprüft ..."), QString(), 0, 100,
                                this);
    fortschritt.setWindowTitle(QStringLiteral("Datenbank prüfen"));
    fortschritt.setWindowModality(Qt::WindowModal);
    fortschritt.setMinimumDuration(300);
    QStringList probleme;
    try {
        probleme = dm.DatenbankPruefen([&fortschritt](int prozent) {
            fortschritt.setValue(prozent);
            // repaint only: no command may start while the check reads the file
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        });
    } catch (const DatenbankFehler& e) {
        fortschritt.reset();
        m_umgebung.ui.error(e.text());
        return;
    }
    fortschritt.reset();
    if (probleme.isEmpty()) {
        // a passing check lifts what the start check found
        if (m_startpruefung && m_startpruefung->befund()) {
            schadenAufheben();
            Berechne();
        }
        m_umgebung.ui.message(datenbankpruefung::inOrdnung());
    } else {
        const QString meldung = datenbankpruefung::befund(dm.db().path(), probleme, dm.dir());
        if (m_startpruefung) {
            m_startpruefung->gefunden(meldung);
            schadenZeigen(meldung);
        }
        m_umgebung.ui.error(meldung);
    }
}
