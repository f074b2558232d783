#include "desktop/desktopverknuepfung.h"

#include "platform/atomicfile.h"
#include "platform/settingsfile.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>

namespace desktopverknuepfung {

namespace {

// A string value of a desktop entry: backslash and control characters escaped.
QString zeichenkette(const QString& s) {
    QString out;
    for (const QChar c : s) {
        if (c == QLatin1Char('\\'))
            out += QLatin1String("\\\\");
        else if (c == QLatin1Char('\n'))
            out += QLatin1String("\\n");
        else if (c == QLatin1Char('\t'))
            out += QLatin1String("\\t");
        else if (c == QLatin1Char('\r'))
            out += QLatin1String("\\r");
        else
            out += c;
    }
    return out;
}

// One argument of "Exec": quoted when it holds a reserved character, with
// '"', '`', '$' and '\' escaped inside the quotes, and '%' doubled.
QString execArgument(const QString& s) {
    static const QString reserviert = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    bool quoten = false;
    for (const QChar c : s)
        quoten = quoten || reserviert.contains(c);
    QString a;
    for (const QChar c : s) {
        if (quoten && QStringLiteral("\"`$\\").contains(c))
            a += QLatin1Char('\\');
        a += c;
    }
    if (quoten)
        a = QLatin1Char('"') + a + QLatin1Char('"');
    a.replace(QLatin1Char('%'), QLatin1String("%%"));
    return zeichenkette(a);
}

QString verzeichnis(const QString& dir) {
    QString d = QDir::cleanPath(QDir(dir).absolutePath());
    if (!d.endsWith(QLatin1Char('/')))
        d += QLatin1Char('/');
    return d;
}

} // namespace

QString dateiName() {
    return QStringLiteral("Velmora.desktop");
}
QString programmName() {
    return QStringLiteral("velmora");
}
QString iconName() {
    return QStringLiteral("velmora.png");
}

QString desktopVerzeichnis() {
    return QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
}

QString eintrag(const QString& programmVerzeichnis) {
    const QString dir = verzeichnis(programmVerzeichnis);
    QString text;
    text += QStringLiteral("[Desktop Entry]\n");
    text += QStringLiteral("Type=Application\n");
    text += QStringLiteral("Version=1.0\n");
    text += QStringLiteral("Name=Velmora\n");
    text += QStringLiteral("Comment=Velmora\n");
    text += QStringLiteral("Exec=") + execArgument(dir + programmName()) + QLatin1Char('\n');
    text += QStringLiteral("Path=") + zeichenkette(dir) + QLatin1Char('\n');
    text += QStringLiteral("Icon=") + zeichenkette(dir + iconName()) + QLatin1Char('\n');
    text += QStringLiteral("Terminal=false\n");
    return text;
}

bool erstellen(const QString& desktopDir, const QString& programmVerzeichnis) {
    if (desktopDir.isEmpty() || !QDir().mkpath(desktopDir))
        return false;
    const QString pfad = QDir(desktopDir).filePath(dateiName());
    AtomicFile f;
    // desktops start only launchers that are executable, GNOME also wants them trusted
    f.setPermissions(0755);
    if (!f.open(pfad) || !f.write(eintrag(programmVerzeichnis).toUtf8()) || !f.commit())
        return false;
    const QString gio = QStandardPaths::findExecutable(QStringLiteral("gio"));
    if (!gio.isEmpty()) {
        QProcess p;
        p.start(gio, {QStringLiteral("set"), pfad, QStringLiteral("metadata::trusted"),
                      QStringLiteral("true")});
        p.waitForFinished(3000);
    }
    return true;
}

void beimErstenStart(SettingsFile& ini, const std::function<void()>& erstellen) {
    const QString abschnitt = QStringLiteral("Einstellungen");
    const QString schluessel = QStringLiteral("DesktopIcon");
    if (ini.readString(abschnitt, schluessel, QStringLiteral("false")) != QLatin1String("false"))
        return;
    erstellen();
    ini.writeString(abschnitt, schluessel, QStringLiteral("true"));
}

} // namespace desktopverknuepfung
