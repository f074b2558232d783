#pragma once

class TDM_EinAus;
class UserSeam;
class SettingsFile;
class Clock;

// What every window and command works with: the data module, the user, the
// settings file and the clock. Owned by the application object.
struct Umgebung {
    TDM_EinAus& dm;
    UserSeam& ui;
    SettingsFile& ini;
    const Clock& clock;
};
