#pragma once

#include <QString>
#include <QStringList>

struct TextFileResult {
    bool ok = false;
    // Why the file could not be written, for the user.
    QString error;
    // Characters written as "?" because Windows-1252 cannot hold them.
    int replaced = 0;
};

// Writes lines as Windows-1252 text, each followed by CR LF (the last one
// too), to a temporary file beside path that replaces path only when it is
// complete: a failure leaves no half-written file and an earlier file intact.
TextFileResult writeTextFile(const QString& path, const QStringList& lines);
// The same for bytes already encoded.
TextFileResult writeBytesFile(const QString& path, const QByteArray& bytes);

// The same lines as one text, each followed by CR LF.
QString joinLines(const QStringList& lines);
