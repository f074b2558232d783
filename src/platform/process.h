#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <utility>

namespace process {

// The command line as the program has always built it: the quoted file, one
// blank, then the parameter (so an empty parameter leaves a trailing blank).
QString commandLine(const QString& file, const QString& parameter);

// Starts file with the directory part of file as its working directory and
// waits for it to end, without time limit. False when it could not start.
bool startAndWait(const QString& file, const QString& parameter);

// Starts file in workingDir without waiting; failures are the caller's to ignore.
bool startDetached(const QString& file, const QString& workingDir);
// The same with arguments and variables added to its environment.
bool startDetached(const QString& file, const QString& workingDir, const QStringList& arguments,
                   const QList<std::pair<QString, QString>>& umgebung);

} // namespace process
