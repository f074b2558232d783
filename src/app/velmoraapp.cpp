#include "app/velmoraapp.h"

#include "app/startup.h"
#include "app/tform_velmora.h"
#include "data/datenbankpruefung.h"
#include "data/dm_einaus.h"
#include "platform/userseam.h"
#include "sicherung/sicherungsstatus.h"

#include <QDir>
#include <QFileInfo>

VelmoraApp::VelmoraApp(QString programmPfad, QString arbeitsverzeichnis, UserSeam& ui,
                       const Clock& clock)
    : m_programmPfad(std::move(programmPfad)), m_ui(ui), m_clock(clock),
      m_ini(m_programmPfad + QStringLiteral("velmora.ini")),
      m_arbeitsverzeichnis(arbeitsverzeichnis),
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
        datenbankpruefung::beimStartPruefen(m_dm->db());
    } catch (const DatenbankFehler& e) {
        m_ui.error(e.text());
        return false;
    }
    m_form = std::make_unique<TForm_Velmora>(*m_umgebung);
    // the working directory first, as the program always has looked; then
    // beside the program, so a start from elsewhere still backs up
    QStringList programme{QDir(m_arbeitsverzeichnis).absoluteFilePath(startup::backupFileName())};
    const QString daneben = QDir(m_programmPfad).absoluteFilePath(startup::backupFileName());
    if (QFileInfo(daneben) != QFileInfo(programme.front()))
        programme << daneben;
    m_form->setBackupProgramme(programme, m_arbeitsverzeichnis);
    m_form->setSicherungsHinweis(sicherungsstatus::letzterFehler(m_arbeitsverzeichnis));
    m_form->startpruefungBeginnen();
    return true;
}
