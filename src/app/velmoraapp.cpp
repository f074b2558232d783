#include "app/velmoraapp.h"

#include "app/startup.h"
#include "app/tform_velmora.h"
#include "data/datenbankpruefung.h"
#include "data/dm_einaus.h"
#include "platform/clock.h"
#include "platform/userseam.h"
#include "sicherung/aktualisierung.h"
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

bool VelmoraApp::serverVorbereiten(const serverziel::Ziel& ziel) {
    QString kennwort;
    for (;;) {
        try {
            Datenbank db(QStringLiteral("velmora_server_vorbereiten"));
            db.openServer(ziel, kennwort);
            // a database of another program or an empty one is told by the
            // data module's connect; only Velmora's own tables are updated
            if (db.tabellen().contains(QStringLiteral("T_Buchungen"), Qt::CaseInsensitive))
                aktualisierung::serverAktualisieren(db, m_clock.now());
            m_dm->setServer(ziel, kennwort);
            return true;
        } catch (const DatenbankFehler& e) {
            if (!e.text().contains(QStringLiteral("Anmeldung abgelehnt"))) {
                m_ui.error(e.text());
                return false;
            }
            if (!kennwort.isEmpty())
                m_ui.error(e.text());
            // kept in memory for this run only, never written
            const auto antwort =
                m_ui.kennwortBox(QStringLiteral("Anmeldung"),
                                 QStringLiteral("Kennwort für %1:").arg(ziel.anzeige()));
            if (!antwort)
                return false;
            kennwort = *antwort;
        }
    }
}

bool VelmoraApp::starten(const std::optional<QString>& dbOption) {
    const QString adresse = serverziel::waehlen(dbOption, m_ini);
    if (!adresse.isEmpty()) {
        QString fehler;
        const auto ziel = serverziel::lesen(adresse, &fehler);
        if (!ziel) {
            m_ui.error(fehler);
            return false;
        }
        if (!serverVorbereiten(*ziel))
            return false;
    }
    try {
        m_dm->DataModuleCreate();
        datenbankpruefung::beimStartPruefen(m_dm->db());
    } catch (const DatenbankFehler& e) {
        m_ui.error(e.text());
        return false;
    }
    m_form = std::make_unique<TForm_Velmora>(*m_umgebung);
    if (const auto& server = m_dm->server()) {
        // the office's books: the title says where they are; the server
        // keeps its own pages, and its backups are the administrator's
        m_form->setWindowTitle(m_form->windowTitle() + QStringLiteral(" – ") + server->anzeige());
        m_form->setBackupProgramme({}, m_programmPfad);
        m_form->setServerSicherung(
            QDir(m_programmPfad).absoluteFilePath(QStringLiteral("velmora-cli")),
            {QStringLiteral("--dir"), m_programmPfad, QStringLiteral("--db"), server->url(),
             QStringLiteral("sicherung")},
            m_dm->passwort());
        m_form->setSicherungsHinweis(sicherungsstatus::letzterFehler(m_programmPfad));
        return true;
    }
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
