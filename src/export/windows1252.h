#pragma once

#include <QByteArray>
#include <QString>

// Windows-1252, the code page the export files have always been written in.
struct Encoded1252 {
    QByteArray bytes;
    // Characters the code page cannot hold, each written as one "?".
    int replaced = 0;
};

Encoded1252 toWindows1252(const QString& text);
