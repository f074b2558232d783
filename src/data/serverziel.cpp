#include "data/serverziel.h"

#include "platform/settingsfile.h"

#include <QUrl>
#include <QUrlQuery>

namespace serverziel {

QString Ziel::anzeige() const {
    QString text = QStringLiteral("postgresql://");
    if (!benutzer.isEmpty())
        text += benutzer + QLatin1Char('@');
    return text + host + QLatin1Char('/') + datenbank;
}

QString Ziel::url() const {
    const auto teil = [](const QString& t) {
        return QString::fromUtf8(QUrl::toPercentEncoding(t));
    };
    // concatenated, not .arg(): "%2F" in an encoded part is no placeholder
    QString text = QStringLiteral("postgresql://") +
                   (benutzer.isEmpty() ? QString() : teil(benutzer) + QLatin1Char('@')) +
                   QLatin1Char('/') + teil(datenbank) + QStringLiteral("?host=") + teil(host) +
                   QStringLiteral("&port=") + QString::number(port);
    for (const QString& o : optionen)
        text += QLatin1Char('&') + teil(o.section(QLatin1Char('='), 0, 0)) + QLatin1Char('=') +
                teil(o.section(QLatin1Char('='), 1));
    return text;
}

QString Ziel::treiberOptionen() const {
    QStringList alle = optionen;
    bool zeitlimit = false;
    for (const QString& o : optionen)
        zeitlimit = zeitlimit || o.startsWith(QLatin1String("connect_timeout="));
    // an unreachable server answers after seconds, not minutes
    if (!zeitlimit)
        alle << QStringLiteral("connect_timeout=5");
    return alle.join(QLatin1Char(';'));
}

bool istUrl(const QString& text) {
    return text.startsWith(QLatin1String("postgresql://"), Qt::CaseInsensitive) ||
           text.startsWith(QLatin1String("postgres://"), Qt::CaseInsensitive);
}

std::optional<Ziel> lesen(const QString& url, QString* fehler) {
    const auto falsch = [&](const QString& grund) {
        if (fehler)
            *fehler = QStringLiteral("Die Datenbankadresse %1 ist ungültig: %2").arg(url, grund);
        return std::nullopt;
    };
    if (!istUrl(url))
        return falsch(QStringLiteral("Sie muss mit postgresql:// beginnen."));
    const QUrl u(url, QUrl::StrictMode);
    if (!u.isValid())
        return falsch(u.errorString());
    if (!u.password().isEmpty())
        return falsch(QStringLiteral("Ein Kennwort gehört nicht in die Adresse; es steht in "
                                     "~/.pgpass oder PGPASSWORD oder wird beim Start erfragt."));
    Ziel z;
    z.benutzer = u.userName(QUrl::FullyDecoded);
    z.host = u.host(QUrl::FullyDecoded);
    z.port = u.port(5432);
    z.datenbank = u.path(QUrl::FullyDecoded).mid(1);
    const QUrlQuery query(u);
    for (const auto& [key, value] : query.queryItems(QUrl::FullyDecoded)) {
        // postgresql:///velmora?host=/run/postgresql: a socket directory
        if (key == QLatin1String("host"))
            z.host = value;
        else if (key == QLatin1String("port"))
            z.port = value.toInt();
        else if (key == QLatin1String("user"))
            z.benutzer = value;
        else if (key == QLatin1String("password"))
            return falsch(
                QStringLiteral("Ein Kennwort gehört nicht in die Adresse; es steht in "
                               "~/.pgpass oder PGPASSWORD oder wird beim Start erfragt."));
        else if (!key.contains(QLatin1Char(';')) && !value.contains(QLatin1Char(';')))
            z.optionen << key + QLatin1Char('=') + value;
        else
            return falsch(QStringLiteral("Die Option %1 enthält ein Semikolon.").arg(key));
    }
    if (z.host.isEmpty())
        z.host = QStringLiteral("localhost");
    if (z.datenbank.isEmpty() || z.datenbank.contains(QLatin1Char('/')))
        return falsch(QStringLiteral("Der Name der Datenbank fehlt."));
    if (z.port <= 0 || z.port > 65535)
        return falsch(QStringLiteral("Der Port ist keine Zahl zwischen 1 und 65535."));
    return z;
}

QString waehlen(const std::optional<QString>& option, const SettingsFile& ini) {
    if (option)
        return *option;
    const QString umgebung = qEnvironmentVariable("VELMORA_DB");
    if (!umgebung.isEmpty())
        return umgebung;
    return ini.readString(QStringLiteral("Datenbank"), QStringLiteral("Verbindung")).trimmed();
}

} // namespace serverziel
