#pragma once

#include "data/serverziel.h"

#include <optional>

#include "platform/settingsfile.h"
#include "toolkit/umgebung.h"

#include <QString>
#include <memory>

class Clock;
class UserSeam;
class TDM_EinAus;
class TForm_Velmora;

// Owns the single instances, in the order of their creation: the data
// module first, then the main window. A test builds a fresh one.
class VelmoraApp {
public:
    VelmoraApp(QString programmPfad, QString arbeitsverzeichnis, UserSeam& ui, const Clock& clock);
    ~VelmoraApp();
    VelmoraApp(const VelmoraApp&) = delete;
    VelmoraApp& operator=(const VelmoraApp&) = delete;

    // The data module's start-up, then the main window. False when the
    // database could not be opened; the error has been shown then.
    // dbOption: `--db URL`; without it VELMORA_DB or the settings may still
    // name a PostgreSQL server instead of the working database file.
    bool starten(const std::optional<QString>& dbOption = std::nullopt);

    TDM_EinAus& DM_EinAus() { return *m_dm; }
    TForm_Velmora& Form_Velmora() { return *m_form; }
    SettingsFile& ini() { return m_ini; }
    Umgebung& umgebung() { return *m_umgebung; }
    const QString& programmPfad() const { return m_programmPfad; }

private:
    // Connects to the server (asking for the password when libpq has none)
    // and brings its tables up to the template; false after showing why not.
    bool serverVorbereiten(const serverziel::Ziel& ziel);

    QString m_programmPfad;
    UserSeam& m_ui;
    const Clock& m_clock;
    SettingsFile m_ini;
    QString m_arbeitsverzeichnis;
    std::unique_ptr<TDM_EinAus> m_dm;
    std::unique_ptr<Umgebung> m_umgebung;
    std::unique_ptr<TForm_Velmora> m_form;
};
