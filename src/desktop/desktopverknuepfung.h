#pragma once

#include <QString>
#include <functional>

class SettingsFile;

// The launcher "Velmora.desktop" on the user's desktop.
namespace desktopverknuepfung {

QString dateiName();    // "Velmora.desktop"
QString programmName(); // "velmora"
QString iconName();     // "velmora.png", installed beside the program

// The user's desktop directory (XDG); it may not exist yet.
QString desktopVerzeichnis();

// The launcher's text for the program in programmVerzeichnis.
QString eintrag(const QString& programmVerzeichnis);

// Writes the launcher into desktopDir, creating the directory and replacing
// an older launcher, executable and trusted. Tells nobody if it fails; the
// answer is for tests.
bool erstellen(const QString& desktopDir, const QString& programmVerzeichnis);

// The first start: when "DesktopIcon" in "Einstellungen" is exactly "false"
// (also when missing), runs erstellen and then records "true", whether or not
// the launcher was made. Any other value does nothing.
void beimErstenStart(SettingsFile& ini, const std::function<void()>& erstellen);

} // namespace desktopverknuepfung
