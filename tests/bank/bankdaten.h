#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// The hand-written statement files of these tests.
namespace bankdaten {

inline QString pfad(const char* name) {
    return QStringLiteral(VELMORA_BANK_DATEN "/") + QLatin1String(name);
}

inline QByteArray datei(const char* name) {
    QFile f(pfad(name));
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray("nicht lesbar: ") + name;
    return f.readAll();
}

} // namespace bankdaten
