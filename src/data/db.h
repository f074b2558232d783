#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <stdexcept>

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
// than a silently empty value.
class Sql {
public:
    Sql(Datenbank& db, const QString& text);

    Sql& bind(const QString& name, const QVariant& value);
    // Runs the statement; throws DatenbankFehler on failure.
    Sql& exec();

    bool next() { return m_query.next(); }
    QVariant value(int column) const { return m_query.value(column); }
    QVariant value(const QString& column) const { return m_query.value(column); }
    int rowsAffected() const { return m_query.numRowsAffected(); }
    QSqlQuery& query() { return m_query; }
    // Hands the executed query on, e.g. to a list model.
    QSqlQuery take() { return std::move(m_query); }

    // The placeholders of a statement text, without colon, outside literals.
    static QStringList placeholders(const QString& text);

private:
    QString m_text;
    QSqlQuery m_query;
    QStringList m_placeholders;
    QStringList m_bound;
};

// The one connection of a data module, with nested write transactions.
class Datenbank {
public:
    explicit Datenbank(QString connectionName);
    ~Datenbank();
    Datenbank(const Datenbank&) = delete;
    Datenbank& operator=(const Datenbank&) = delete;

    // Opens an existing file for reading and writing; never creates one.
    void open(const QString& path);
    void close();
    bool isOpen() const;
    QSqlDatabase connection() const;

    Sql sql(const QString& text) { return Sql(*this, text); }
    void execute(const QString& text) { Sql(*this, text).exec(); }

private:
    friend class Transaktion;
    QString m_name;
    int m_depth = 0;
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

private:
    Datenbank& m_db;
    int m_level;
    bool m_done = false;
};
