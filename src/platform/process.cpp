#include "platform/process.h"

#include <QFileInfo>
#include <QProcess>

namespace process {

QString commandLine(const QString& file, const QString& parameter) {
    return QLatin1Char('"') + file + QLatin1String("\" ") + parameter;
}

bool startAndWait(const QString& file, const QString& parameter) {
    QProcess p;
    p.setProgram(file);
    // The program sees the same words a Windows command line would give it:
    // a trailing blank adds no argument.
    p.setArguments(QProcess::splitCommand(parameter));
    p.setWorkingDirectory(QFileInfo(file).absolutePath());
    p.setProcessChannelMode(QProcess::ForwardedChannels);
    p.setInputChannelMode(QProcess::ForwardedInputChannel);
    p.start();
    if (!p.waitForStarted(-1))
        return false;
    p.waitForFinished(-1);
    return true;
}

bool startDetached(const QString& file, const QString& workingDir) {
    QProcess p;
    p.setProgram(file);
    p.setWorkingDirectory(workingDir);
    return p.startDetached();
}

bool startDetached(const QString& file, const QString& workingDir, const QStringList& arguments,
                   const QList<std::pair<QString, QString>>& umgebung) {
    QProcess p;
    p.setProgram(file);
    p.setArguments(arguments);
    p.setWorkingDirectory(workingDir);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const auto& [name, wert] : umgebung)
        env.insert(name, wert);
    p.setProcessEnvironment(env);
    return p.startDetached();
}

} // namespace process
