#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <map>
#include <stdexcept>

class QSqlError;
namespace serverziel {
struct Ziel;
}

// A database failure with the text to show the user.
class DatenbankFehler : public std::runtime_error {
public:
    explicit DatenbankFehler(const QString& text)
        : std::runtime_error(text.toStdString()), m_text(text) {}
    const QString& text() const { return m_text; }

private:
    QString m_text;
};

class Datenbank;

// One prepared statement. Placeholders are matched without regard to case
// (binding "Zeitraum" sets ":zeitraum"); binding a name the statement does not
// have, or running it with a placeholder left unbound, is an error rather
// than a silently empty value. A statement that spells one placeholder in two
// cases is refused when it is prepared: the driver would bind only one of them.
class Sql {
public:
    Sql(Datenbank& db, const QString& text);
    ~Sql();
    Sql(Sql&& other) noexcept;
    Sql(const Sql&) = delete;
    Sql& operator=(const Sql&) = delete;
    Sql& operator=(Sql&&) = delete;

    Sql& bind(const QString& name, const QVariant& value);
    // Runs the statement; throws DatenbankFehler on failure.
    Sql& exec();

    // The next row; false only at the end. A row that cannot be read (a
    // damaged page, a lock) throws instead of ending the result early.
    bool next();
    // NULL as an empty QVariant on both engines (PostgreSQL's driver hands
    // out a null of the column's type, whose text would be "0").
    QVariant value(int column) const {
        return m_query.isNull(column) ? QVariant() : m_query.value(column);
    }
    QVariant value(const QString& column) const {
        return m_query.isNull(column) ? QVariant() : m_query.value(column);
    }
    int rowsAffected() const { return m_query.numRowsAffected(); }
    QSqlQuery& query() { return m_query; }
    // Rows read once from first to last, not cached a second time. Only for
    // SQLite: PostgreSQL's driver would then hold the connection for this one
    // result, and libpq hands over a result whole anyway.
    void nurVorwaerts();
    // Hands the executed query on, e.g. to a list model.
    QSqlQuery take() {
        m_zurueckgeben = false;
        return std::move(m_query);
    }

    // The placeholders of a statement text, without colon, outside literals.
    // Throws DatenbankFehler when one is spelt in two cases.
    static QStringList placeholders(const QString& text);

private:
    friend class Datenbank;
    struct Vorbereitet {};
    // A statement the connection prepared earlier; handed back when done.
    Sql(Datenbank& db, const QString& text, QSqlQuery query, QStringList placeholders, Vorbereitet);

    Datenbank* m_db;
    QString m_text;
    QSqlQuery m_query;
    QStringList m_placeholders;
    QStringList m_bound;
    bool m_zurueckgeben = false;
};

// The one connection of a data module, with nested write transactions.
class Datenbank {
public:
    explicit Datenbank(QString connectionName);
    ~Datenbank();
    Datenbank(const Datenbank&) = delete;
    Datenbank& operator=(const Datenbank&) = delete;

    // Opens an existing file for reading and writing (or only for reading);
    // never creates one.
    void open(const QString& path, bool nurLesen = false);
    // Opens the books on a PostgreSQL server; the password only when libpq
    // finds none of its own (kept by the caller in memory, never written).
    void openServer(const serverziel::Ziel& ziel, const QString& passwort = QString());
    void close();
    bool isOpen() const;
    QSqlDatabase connection() const;
    // The file, or the server's address as messages name it.
    const QString& path() const { return m_path; }
    bool istServer() const { return m_server; }
    // The names of the database's own tables, as the engine spells them.
    QStringList tabellen();
    // Who writes: the database role on a server, else the system's user.
    QString benutzer();
    // Whether a table has a column, names compared without regard to case.
    bool hatSpalte(const QString& tabelle, const QString& spalte);
    // How long a statement waits for another program's lock before it fails.
    void setBusyTimeout(int ms) { m_busyTimeoutMs = ms; }
    int busyTimeout() const { return m_busyTimeoutMs; }
    bool inTransaction() const { return m_depth > 0; }
    // Runs before every outermost write transaction; a write it must not
    // allow (a file found damaged) it refuses by throwing DatenbankFehler.
    void setSchreibwaechter(std::function<void()> waechter) { m_waechter = std::move(waechter); }

    Sql sql(const QString& text) { return Sql(*this, text); }
    // The same, for a small statement run again and again (the booking
    // dialog's reads): prepared once per connection and then reused.
    Sql wiederverwendet(const QString& text);
    // A statement without parameters, e.g. transaction control.
    void execute(const QString& text);

    // The German message for a failure of this database's driver.
    QString fehlerText(const QSqlError& error) const;

    // A whole integrity check; answers the problems found, none for a sound
    // file. fortschritt (0 ... 100) is called now and then while it runs.
    // nurSeiten: SQLite's quick_check, every page but not whether each index
    // matches its table.
    QStringList integritaetPruefen(const std::function<void(int)>& fortschritt = {},
                                   bool nurSeiten = false);

private:
    friend class Transaktion;
    friend class Sql;
    struct Vorrat {
        QSqlQuery query;
        QStringList placeholders;
    };
    void zurueckgeben(const QString& text, QSqlQuery query, QStringList placeholders);

    // a statement as the connection's engine takes it
    const QString& uebersetzt(const QString& text);

    QString m_name;
    bool m_server = false;
    std::map<QString, QString> m_uebersetzt;
    // prepared statements not in use, by their text; emptied when the file closes
    std::map<QString, Vorrat> m_vorrat;
    QString m_path;
    int m_depth = 0;
    int m_busyTimeoutMs = 5000;
    bool m_vorDemSchreibenGeprueft = false;
    std::function<void()> m_waechter;
};

// One write transaction (BEGIN IMMEDIATE ... COMMIT) that rolls back unless
// committed. Nested guards become savepoints, so a helper that guards its own
// write can run inside a caller's larger transaction.
class Transaktion {
public:
    explicit Transaktion(Datenbank& db);
    ~Transaktion();
    Transaktion(const Transaktion&) = delete;
    Transaktion& operator=(const Transaktion&) = delete;

    void commit();

    // The key of the server's transaction-level lock that every writer takes.
    static constexpr qint64 kSchreibsperre = 0x56454c4d4f5241; // "VELMORA"

private:
    Datenbank& m_db;
    int m_level;
    bool m_done = false;
};

namespace datenbankmeldung {

QString beschaedigt(const QString& path, const QString& grund);
QString gesperrt(const QString& path);
QString schreibgeschuetzt(const QString& path);
QString verzeichnisSchreibgeschuetzt(const QString& dir);

// The findings in one row of SQLite's quick_check or integrity_check: none
// for "ok", and without the line that only names the schema.
QStringList befunde(const QString& zeile);

// The message for an SQLite result code (primary or extended) of the file
// at path: a German sentence naming the file and what to do, the driver's
// own text (detail) in parentheses after it. systemFehler is errno of the
// failed call, which tells a full disk from other I/O errors.
QString fuerCode(int code, const QString& path, const QString& detail, int systemFehler = 0);

// The message for a failure of a PostgreSQL server at the address named:
// by its SQLSTATE, or for a connection that failed, by what libpq said.
QString fuerServer(const QString& sqlstate, const QString& adresse, const QString& detail);

QString serverNichtErreichbar(const QString& adresse, const QString& detail);
} // namespace datenbankmeldung
