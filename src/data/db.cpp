#include "data/db.h"
#include "data/datenbankpruefung.h"
#include "data/serverziel.h"
#include "data/sortierung.h"
#include "data/sqldialekt.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QUrl>
#include <cerrno>
#include <pwd.h>
#include <sqlite3.h>
#include <unistd.h>
#include <utility>

namespace datenbankmeldung {

QString beschaedigt(const QString& path, const QString& grund) {
    return QStringLiteral("Die Datenbank %1 ist beschädigt oder nicht lesbar: %2")
        .arg(QDir::toNativeSeparators(path), grund);
}

QString gesperrt(const QString& path) {
    return QStringLiteral("Die Datenbank %1 wird gerade von einem anderen Programm benutzt. Bitte "
                          "versuchen Sie es in einigen Sekunden noch einmal.")
        .arg(QDir::toNativeSeparators(path));
}

QString schreibgeschuetzt(const QString& path) {
    return QStringLiteral(
               "Die Datenbank %1 ist schreibgeschützt und kann nicht geschrieben werden.")
        .arg(QDir::toNativeSeparators(path));
}

QString verzeichnisSchreibgeschuetzt(const QString& dir) {
    return QStringLiteral("Im Verzeichnis %1 kann nicht geschrieben werden; die Datenbank darin "
                          "kann daher nicht geändert werden.")
        .arg(QDir::toNativeSeparators(dir));
}

QStringList befunde(const QString& zeile) {
    QStringList out;
    for (const QString& teil : zeile.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QString t = teil.trimmed();
        if (t.compare(QLatin1String("ok"), Qt::CaseInsensitive) != 0 &&
            !t.startsWith(QLatin1String("*** in database")))
            out << t;
    }
    return out;
}

namespace {

// The driver's English text only ever follows a German sentence.
QString mitDetail(const QString& satz, const QString& detail) {
    return detail.isEmpty() ? satz : satz + QStringLiteral(" (%1)").arg(detail);
}

} // namespace

QString fuerCode(int code, const QString& path, const QString& detail, int systemFehler) {
    const QString datei = QDir::toNativeSeparators(path);
    const QString dir = QFileInfo(path).absolutePath();
    const int primaer = code & 0xff;
    if (primaer == SQLITE_FULL ||
        (primaer == SQLITE_IOERR && (systemFehler == ENOSPC || systemFehler == EDQUOT)))
        return mitDetail(QStringLiteral("Der Datenträger ist voll: die Datenbank %1 kann nicht "
                                        "geschrieben werden. Bitte schaffen Sie Platz auf dem "
                                        "Datenträger; die letzte Änderung wurde nicht gespeichert.")
                             .arg(datei),
                         detail);
    switch (code) {
    case SQLITE_READONLY_DIRECTORY:
        return verzeichnisSchreibgeschuetzt(dir);
    case SQLITE_IOERR_READ:
    case SQLITE_IOERR_SHORT_READ:
        return beschaedigt(path, mitDetail(QStringLiteral("Der Datenträger meldet einen "
                                                          "Lesefehler. Bitte prüfen Sie den "
                                                          "Datenträger und spielen Sie "
                                                          "gegebenenfalls eine Sicherung zurück."),
                                           detail));
    default:
        break;
    }
    switch (primaer) {
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return beschaedigt(
            path,
            mitDetail(QStringLiteral("Bitte spielen Sie eine Sicherung der Datenbank zurück."),
                      detail));
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return gesperrt(path);
    case SQLITE_READONLY:
    case SQLITE_CANTOPEN:
        // the journal beside the file needs a writable directory
        if (!QFileInfo(dir).isWritable())
            return verzeichnisSchreibgeschuetzt(dir);
        if (primaer == SQLITE_READONLY)
            return schreibgeschuetzt(path);
        return mitDetail(QStringLiteral("Die Datenbank %1 kann nicht geöffnet werden. Bitte prüfen "
                                        "Sie, ob die Datei vorhanden ist und Sie sie lesen und "
                                        "schreiben dürfen.")
                             .arg(datei),
                         detail);
    case SQLITE_IOERR:
        if (code == SQLITE_IOERR_NOMEM)
            break; // a lack of memory, below
        if (systemFehler == EFBIG)
            return mitDetail(QStringLiteral("Die Datenbank %1 überschreitet die zulässige "
                                            "Dateigröße und kann nicht geschrieben werden; die "
                                            "letzte Änderung wurde nicht gespeichert.")
                                 .arg(datei),
                             detail);
        return mitDetail(QStringLiteral("Schreib- oder Lesefehler des Datenträgers bei der "
                                        "Datenbank %1; die letzte Änderung wurde nicht "
                                        "gespeichert. Bitte prüfen Sie den Datenträger und "
                                        "versuchen Sie es noch einmal.")
                             .arg(datei),
                         detail);
    case SQLITE_TOOBIG:
        return mitDetail(QStringLiteral("Ein Wert ist zu groß für die Datenbank %1 und wurde nicht "
                                        "gespeichert. Bitte kürzen Sie die Eingabe.")
                             .arg(datei),
                         detail);
    case SQLITE_CONSTRAINT:
        return mitDetail(QStringLiteral("Die Änderung verletzt eine Regel der Datenbank %1 und "
                                        "wurde nicht gespeichert. Bitte prüfen Sie die Eingaben.")
                             .arg(datei),
                         detail);
    case SQLITE_NOMEM:
        break;
    default:
        return mitDetail(QStringLiteral("Die Datenbank %1 meldet einen Fehler.").arg(datei),
                         detail);
    }
    return mitDetail(QStringLiteral("Der Arbeitsspeicher reicht für die Datenbank %1 nicht aus. "
                                    "Bitte schließen Sie andere Programme und versuchen Sie es "
                                    "noch einmal.")
                         .arg(datei),
                     detail);
}

QString serverNichtErreichbar(const QString& adresse, const QString& detail) {
    return mitDetail(QStringLiteral("Der Datenbankserver %1 ist nicht erreichbar. Bitte prüfen Sie "
                                    "die Adresse, das Netz und ob der Server läuft.")
                         .arg(adresse),
                     detail.trimmed());
}

QString fuerServer(const QString& sqlstate, const QString& adresse, const QString& detail) {
    const QString d = detail.trimmed();
    const QString klasse = sqlstate.left(2);
    // libpq's own texts at connecting carry no SQLSTATE; they may be German
    if (sqlstate == QLatin1String("28P01") || sqlstate == QLatin1String("28000") ||
        d.contains(QLatin1String("password authentication failed")) ||
        d.contains(QLatin1String("Passwort-Authentifizierung")) ||
        d.contains(QLatin1String("no password supplied")) ||
        d.contains(QLatin1String("kein Passwort angegeben")))
        return mitDetail(QStringLiteral("Der Datenbankserver %1 hat die Anmeldung abgelehnt: "
                                        "Benutzer oder Kennwort sind falsch.")
                             .arg(adresse),
                         d);
    if (sqlstate == QLatin1String("3D000") ||
        (d.contains(QLatin1String("database")) && d.contains(QLatin1String("does not exist"))) ||
        (d.contains(QLatin1String("Datenbank")) && d.contains(QLatin1String("existiert nicht"))))
        return mitDetail(QStringLiteral("Die Datenbank auf dem Datenbankserver %1 gibt es nicht. "
                                        "Bitte prüfen Sie den Namen in der Adresse.")
                             .arg(adresse),
                         d);
    if (sqlstate == QLatin1String("55P03") || sqlstate == QLatin1String("40P01") ||
        sqlstate == QLatin1String("40001") || sqlstate == QLatin1String("57014"))
        return gesperrt(adresse);
    if (klasse == QLatin1String("23"))
        return mitDetail(QStringLiteral("Die Änderung verletzt eine Regel der Datenbank %1 und "
                                        "wurde nicht gespeichert. Bitte prüfen Sie die Eingaben.")
                             .arg(adresse),
                         d);
    if (klasse == QLatin1String("53"))
        return mitDetail(QStringLiteral("Der Datenbankserver %1 hat keinen Platz oder Speicher "
                                        "mehr; die letzte Änderung wurde nicht gespeichert. Bitte "
                                        "verständigen Sie den Betreuer des Servers.")
                             .arg(adresse),
                         d);
    if (sqlstate == QLatin1String("42501"))
        return mitDetail(QStringLiteral("Der Benutzer darf in der Datenbank %1 nicht lesen oder "
                                        "schreiben. Bitte verständigen Sie den Betreuer des "
                                        "Servers.")
                             .arg(adresse),
                         d);
    if (sqlstate.isEmpty() || klasse == QLatin1String("08") || klasse == QLatin1String("57"))
        return serverNichtErreichbar(adresse, d);
    return mitDetail(QStringLiteral("Die Datenbank %1 meldet einen Fehler.").arg(adresse), d);
}

} // namespace datenbankmeldung

QString Datenbank::fehlerText(const QSqlError& e) const {
    QString text = e.databaseText();
    if (text.isEmpty())
        text = e.text();
    if (m_server)
        return datenbankmeldung::fuerServer(e.nativeErrorCode(), m_path,
                                            text.isEmpty() ? e.driverText() : text);
    bool ok = false;
    const int code = e.nativeErrorCode().toInt(&ok);
    if (!ok)
        return text;
    // an I/O error's cause (a full disk at fdatasync) is only in errno
    int systemFehler = 0;
    if (isOpen()) {
        if (auto* h = *static_cast<sqlite3* const*>(connection().driver()->handle().constData()))
            systemFehler = sqlite3_system_errno(h);
    }
    return datenbankmeldung::fuerCode(code, m_path, text, systemFehler);
}

QStringList Sql::placeholders(const QString& text) {
    QStringList names;
    bool inLiteral = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('\'')) {
            inLiteral = !inLiteral;
            continue;
        }
        if (inLiteral || c != QLatin1Char(':'))
            continue;
        qsizetype j = i + 1;
        while (j < text.size() && (text[j].isLetterOrNumber() || text[j] == QLatin1Char('_')))
            ++j;
        if (j > i + 1) {
            const QString name = text.mid(i + 1, j - i - 1);
            for (const QString& n : std::as_const(names)) {
                if (n != name && n.compare(name, Qt::CaseInsensitive) == 0)
                    throw DatenbankFehler(
                        QStringLiteral("Der Parameter :%1 steht in der Abfrage auch als :%2.")
                            .arg(n, name));
            }
            if (!names.contains(name))
                names << name;
        }
        i = j - 1;
    }
    return names;
}

Sql::Sql(Datenbank& db, const QString& text)
    : m_db(&db), m_text(text), m_query(db.connection()), m_placeholders(placeholders(text)) {
    if (!m_query.prepare(db.m_server ? db.uebersetzt(text) : text))
        throw DatenbankFehler(db.fehlerText(m_query.lastError()));
}

Sql::Sql(Datenbank& db, const QString& text, QSqlQuery query, QStringList placeholders, Vorbereitet)
    : m_db(&db), m_text(text), m_query(std::move(query)), m_placeholders(std::move(placeholders)),
      m_zurueckgeben(true) {}

Sql::Sql(Sql&& other) noexcept
    : m_db(other.m_db), m_text(std::move(other.m_text)), m_query(std::move(other.m_query)),
      m_placeholders(std::move(other.m_placeholders)), m_bound(std::move(other.m_bound)),
      m_zurueckgeben(std::exchange(other.m_zurueckgeben, false)) {}

Sql::~Sql() {
    if (m_zurueckgeben)
        m_db->zurueckgeben(m_text, std::move(m_query), std::move(m_placeholders));
}

Sql& Sql::bind(const QString& name, const QVariant& value) {
    for (const QString& p : std::as_const(m_placeholders)) {
        if (p.compare(name, Qt::CaseInsensitive) == 0) {
            // yes/no columns are integers on both engines
            if (m_db->m_server && value.typeId() == QMetaType::Bool)
                m_query.bindValue(QLatin1Char(':') + p, value.toBool() ? 1 : 0);
            else
                m_query.bindValue(QLatin1Char(':') + p, value);
            if (!m_bound.contains(p))
                m_bound << p;
            return *this;
        }
    }
    throw DatenbankFehler(QStringLiteral("Parameter %1 kommt in der Abfrage nicht vor.").arg(name));
}

Sql& Sql::exec() {
    for (const QString& p : std::as_const(m_placeholders)) {
        if (!m_bound.contains(p))
            throw DatenbankFehler(QStringLiteral("Parameter %1 hat keinen Wert.").arg(p));
    }
    if (!m_query.exec())
        throw DatenbankFehler(m_db->fehlerText(m_query.lastError()));
    return *this;
}

void Sql::nurVorwaerts() {
    m_query.setForwardOnly(!m_db->istServer());
}

bool Sql::next() {
    if (m_query.next())
        return true;
    if (m_query.lastError().isValid())
        throw DatenbankFehler(m_db->fehlerText(m_query.lastError()));
    return false;
}

Datenbank::Datenbank(QString connectionName) : m_name(std::move(connectionName)) {}

Datenbank::~Datenbank() {
    close();
    QSqlDatabase::removeDatabase(m_name);
}

void Datenbank::open(const QString& path, bool nurLesen) {
    close();
    if (m_server) {
        // the same connection name cannot change its driver
        QSqlDatabase::removeDatabase(m_name);
        m_server = false;
    }
    m_vorDemSchreibenGeprueft = false;
    m_path = QFileInfo(path).absoluteFilePath();
    QSqlDatabase db = QSqlDatabase::contains(m_name) ? QSqlDatabase::database(m_name, false)
                                                     : QSqlDatabase::addDatabase("QSQLITE", m_name);
    // mode=rw: SQLite must never create a missing file
    QUrl url = QUrl::fromLocalFile(m_path);
    url.setQuery(nurLesen ? QStringLiteral("mode=ro") : QStringLiteral("mode=rw"));
    db.setDatabaseName(url.toString(QUrl::FullyEncoded));
    db.setConnectOptions(
        QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1").arg(m_busyTimeoutMs));
    if (!db.open())
        throw DatenbankFehler(fehlerText(db.lastError()));
    // the driver reports primary codes only unless asked
    if (auto* handle = *static_cast<sqlite3* const*>(db.driver()->handle().constData()))
        sqlite3_extended_result_codes(handle, 1);
    sortierung::registrieren(db);
}

void Datenbank::openServer(const serverziel::Ziel& ziel, const QString& passwort) {
    close();
    m_server = true;
    m_vorDemSchreibenGeprueft = true;
    m_path = ziel.anzeige();
    QSqlDatabase db = QSqlDatabase::contains(m_name) ? QSqlDatabase::database(m_name, false)
                                                     : QSqlDatabase::addDatabase("QPSQL", m_name);
    if (!db.isValid())
        throw DatenbankFehler(QStringLiteral("Für den Datenbankserver %1 fehlt der Treiber "
                                             "(Debian: Paket libqt6sql6-psql).")
                                  .arg(m_path));
    db.setHostName(ziel.host);
    db.setPort(ziel.port);
    db.setDatabaseName(ziel.datenbank);
    db.setUserName(ziel.benutzer);
    db.setPassword(passwort);
    db.setConnectOptions(ziel.treiberOptionen());
    if (!db.open())
        throw DatenbankFehler(fehlerText(db.lastError()));
    // a lock held by another clerk ends the wait like SQLite's busy timeout
    execute(QStringLiteral("SET lock_timeout = %1").arg(m_busyTimeoutMs));
    execute(QStringLiteral("SET client_min_messages = warning"));
}

void Datenbank::execute(const QString& text) {
    if (!m_server) {
        Sql(*this, text).exec();
        return;
    }
    // the server cannot prepare transaction control or settings
    QSqlQuery q(connection());
    if (!q.exec(uebersetzt(text)))
        throw DatenbankFehler(fehlerText(q.lastError()));
}

QStringList Datenbank::tabellen() {
    Sql q = sql(m_server ? QStringLiteral("select table_name from information_schema.tables "
                                          "where table_schema = 'public' and table_type = 'BASE "
                                          "TABLE'")
                         : QStringLiteral("select name from sqlite_master where type = 'table' "
                                          "and name not like 'sqlite\\_%' escape '\\'"));
    q.exec();
    QStringList namen;
    while (q.next())
        namen << q.value(0).toString();
    return namen;
}

QString Datenbank::benutzer() {
    if (m_server) {
        Sql q = sql(QStringLiteral("select current_user"));
        q.exec();
        if (!q.next())
            throw DatenbankFehler(fehlerText(q.query().lastError()));
        return q.value(0).toString();
    }
    if (const passwd* pw = getpwuid(geteuid()))
        return QString::fromLocal8Bit(pw->pw_name);
    return qEnvironmentVariable("USER");
}

bool Datenbank::hatSpalte(const QString& tabelle, const QString& spalte) {
    Sql q = sql(m_server ? QStringLiteral("select 1 from information_schema.columns where "
                                          "table_schema = 'public' and table_name = lower(:t) "
                                          "and column_name = lower(:s)")
                         : QStringLiteral("select 1 from pragma_table_info(:t) where lower(name) "
                                          "= lower(:s)"));
    q.bind(QStringLiteral("t"), tabelle).bind(QStringLiteral("s"), spalte).exec();
    return q.next();
}

const QString& Datenbank::uebersetzt(const QString& text) {
    auto it = m_uebersetzt.find(text);
    if (it == m_uebersetzt.end())
        it = m_uebersetzt.emplace(text, sqldialekt::fuerPostgres(text)).first;
    return it->second;
}

void Datenbank::close() {
    m_vorrat.clear();
    if (!QSqlDatabase::contains(m_name))
        return;
    QSqlDatabase db = QSqlDatabase::database(m_name, false);
    if (db.isOpen())
        db.close();
    m_depth = 0;
}

Sql Datenbank::wiederverwendet(const QString& text) {
    const auto it = m_vorrat.find(text);
    if (it == m_vorrat.end()) {
        Sql neu(*this, text);
        neu.m_zurueckgeben = true;
        return neu;
    }
    Vorrat v = std::move(it->second);
    m_vorrat.erase(it);
    return Sql(*this, text, std::move(v.query), std::move(v.placeholders), Sql::Vorbereitet{});
}

void Datenbank::zurueckgeben(const QString& text, QSqlQuery query, QStringList placeholders) {
    // a statement left open would hold its read lock
    query.finish();
    if (isOpen() && !m_vorrat.contains(text))
        m_vorrat.emplace(text, Vorrat{std::move(query), std::move(placeholders)});
}

bool Datenbank::isOpen() const {
    return QSqlDatabase::contains(m_name) && QSqlDatabase::database(m_name, false).isOpen();
}

QSqlDatabase Datenbank::connection() const {
    return QSqlDatabase::database(m_name, false);
}

namespace {

struct Fortschritt {
    const std::function<void(int)>* melden;
    qint64 schritte = 0;
    qint64 erwartet = 1;
    int zuletzt = -1;
};

int fortschrittMelden(void* daten) {
    auto* f = static_cast<Fortschritt*>(daten);
    ++f->schritte;
    // the estimate can fall short: stay below 100 until the check is done
    const int prozent = static_cast<int>(std::min<qint64>(99, f->schritte * 100 / f->erwartet));
    if (prozent != f->zuletzt) {
        f->zuletzt = prozent;
        (*f->melden)(prozent);
    }
    return 0;
}

} // namespace

QStringList Datenbank::integritaetPruefen(const std::function<void(int)>& fortschritt,
                                          bool nurSeiten) {
    // the server keeps its own pages; what it finds it reports on every read
    if (m_server)
        return {};
    Sql seiten = sql(QStringLiteral("PRAGMA page_count"));
    seiten.exec();
    const qint64 anzahl = seiten.next() ? seiten.value(0).toLongLong() : 0;

    sqlite3* handle = *static_cast<sqlite3* const*>(connection().driver()->handle().constData());
    constexpr int Intervall = 1000; // virtual machine steps between two calls
    // About 30 steps of 1000 instructions per page, measured on typical files.
    Fortschritt f{&fortschritt, 0, std::max<qint64>(1, anzahl * 30), -1};
    if (fortschritt && handle)
        sqlite3_progress_handler(handle, Intervall, fortschrittMelden, &f);
    struct Abmelden {
        sqlite3* h;
        ~Abmelden() {
            if (h)
                sqlite3_progress_handler(h, 0, nullptr, nullptr);
        }
    } abmelden{fortschritt ? handle : nullptr};

    // A file so damaged that the check itself stops is a finding, not a failure.
    QSqlQuery q(connection());
    QStringList probleme;
    const auto befund = [&]() {
        const QSqlError e = q.lastError();
        const int code = e.nativeErrorCode().toInt() & 0xff;
        if (code != SQLITE_CORRUPT && code != SQLITE_NOTADB && code != SQLITE_IOERR)
            throw DatenbankFehler(fehlerText(e));
        probleme << e.databaseText();
    };
    if (!q.exec(nurSeiten ? QStringLiteral("PRAGMA quick_check")
                          : QStringLiteral("PRAGMA integrity_check"))) {
        befund();
    } else {
        while (q.next()) {
            probleme << datenbankmeldung::befunde(q.value(0).toString());
        }
        if (q.lastError().isValid())
            befund();
    }
    if (fortschritt)
        fortschritt(100);
    return probleme;
}

Transaktion::Transaktion(Datenbank& db) : m_db(db), m_level(db.m_depth) {
    if (m_level == 0 && m_db.m_waechter)
        m_db.m_waechter();
    if (m_level == 0 && m_db.m_server) {
        m_db.execute(QStringLiteral("BEGIN"));
        // one writer at a time, as SQLite's write lock gives it: identifiers
        // and voucher numbers are "largest plus one" inside the transaction
        try {
            m_db.execute(QStringLiteral("SELECT pg_advisory_xact_lock(%1)").arg(kSchreibsperre));
        } catch (const DatenbankFehler&) {
            QSqlQuery(m_db.connection()).exec(QStringLiteral("ROLLBACK"));
            throw;
        }
    } else if (m_level == 0) {
        m_db.execute(QStringLiteral("BEGIN IMMEDIATE"));
        // the first write of a connection looks at the header first: a cut
        // or damaged file is never written into
        if (!m_db.m_vorDemSchreibenGeprueft) {
            try {
                datenbankpruefung::vorDemSchreibenPruefen(m_db);
            } catch (const DatenbankFehler&) {
                QSqlQuery(m_db.connection()).exec(QStringLiteral("ROLLBACK"));
                throw;
            }
            m_db.m_vorDemSchreibenGeprueft = true;
        }
    } else
        m_db.execute(QStringLiteral("SAVEPOINT sp%1").arg(m_level));
    ++m_db.m_depth;
}

Transaktion::~Transaktion() {
    if (m_done)
        return;
    --m_db.m_depth;
    QSqlQuery q(m_db.connection());
    if (m_level == 0) {
        q.exec(QStringLiteral("ROLLBACK"));
    } else {
        q.exec(QStringLiteral("ROLLBACK TO sp%1").arg(m_level));
        q.exec(QStringLiteral("RELEASE sp%1").arg(m_level));
    }
}

void Transaktion::commit() {
    if (m_level == 0)
        m_db.execute(QStringLiteral("COMMIT"));
    else
        m_db.execute(QStringLiteral("RELEASE sp%1").arg(m_level));
    --m_db.m_depth;
    m_done = true;
}
