#include "app/velmoraapp.h"

#include "app/startup.h"
#include "app/tform_velmora.h"
#include "data/dm_einaus.h"
#include "platform/userseam.h"

#include <QDir>

VelmoraApp::VelmoraApp(QString programmPfad, QString arbeitsverzeichnis, UserSeam& ui,
                       const Clock& clock)
    : m_programmPfad(std::move(programmPfad)), m_ui(ui), m_clock(clock),
      m_ini(m_programmPfad + QStringLiteral("velmora.ini")),
      m_dm(std::make_unique<TDM_EinAus>(std::move(arbeitsverzeichnis), ui, clock)),
      m_umgebung(std::make_unique<Umgebung>(Umgebung{*m_dm, ui, m_ini, clock})) {
    m_ini.setProblemReporter([&ui](const QString& text) { ui.message(text); });
}

VelmoraApp::~VelmoraApp() {
    // windows first: they hold models of the data module's connection
    m_form.reset();
}

bool VelmoraApp::starten() {
    try {
        m_dm->DataModuleCreate();
    } catch (const DatenbankFehler& e) {
        m_ui.error(e.text());
        return false;
    }
    m_form = std::make_unique<TForm_Velmora>(*m_umgebung);
    // started from the working directory, as the program always has
    m_form->setBackupProgram(QDir::current().filePath(startup::backupFileName()));
    m_form->startpruefungBeginnen();
    return true;
}
