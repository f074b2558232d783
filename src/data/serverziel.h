#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class SettingsFile;

// Where an office's books live on a PostgreSQL server: libpq's URI form
// postgresql://user@host:5432/velmora?sslmode=require. A password is never
// part of it: libpq finds it in ~/.pgpass or PGPASSWORD, else the window asks.
namespace serverziel {

struct Ziel {
    QString benutzer;
    QString host; // a name, an address, or the directory of a Unix socket
    int port = 5432;
    QString datenbank;
    QStringList optionen; // "sslmode=require", passed on to libpq as given

    // The address as the title bar and `status` name it, without port and options.
    QString anzeige() const;
    // The whole address again, host and port as parameters (a socket
    // directory fits there), for a program started with it.
    QString url() const;
    // The options for Qt's driver ("sslmode=require;connect_timeout=5").
    QString treiberOptionen() const;
};

bool istUrl(const QString& text);

// The parts of a URL; std::nullopt with the German reason in fehler for a
// URL that is not one, or one that carries a password.
std::optional<Ziel> lesen(const QString& url, QString* fehler);

// --db, else the environment's VELMORA_DB, else the settings' "Datenbank" /
// "Verbindung"; empty: the working database file.
QString waehlen(const std::optional<QString>& option, const SettingsFile& ini);

} // namespace serverziel
