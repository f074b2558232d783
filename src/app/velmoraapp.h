#pragma once

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
    bool starten();

    TDM_EinAus& DM_EinAus() { return *m_dm; }
    TForm_Velmora& Form_Velmora() { return *m_form; }
    SettingsFile& ini() { return m_ini; }
    Umgebung& umgebung() { return *m_umgebung; }
    const QString& programmPfad() const { return m_programmPfad; }

private:
    QString m_programmPfad;
    UserSeam& m_ui;
    const Clock& m_clock;
    SettingsFile m_ini;
    QString m_arbeitsverzeichnis;
    std::unique_ptr<TDM_EinAus> m_dm;
    std::unique_ptr<Umgebung> m_umgebung;
    std::unique_ptr<TForm_Velmora> m_form;
};
