#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <sqlite3.h>
#include <utility>
#include <vector>

// The baseline of a measurement: statements straight through the SQLite C
// API, prepared, stepped and every value read, with the same settings the
// program's connection uses.
class RohSql {
public:
    using Werte = std::vector<std::pair<QString, QVariant>>;

    explicit RohSql(const QString& pfad);
    ~RohSql();
    RohSql(const RohSql&) = delete;
    RohSql& operator=(const RohSql&) = delete;

    // Runs text with the named values (names without colon, any case; names
    // the statement lacks are skipped); reads at most zeilen rows, all when
    // negative. Answers a checksum of what was read so nothing is optimised
    // away. Throws std::runtime_error on failure.
    long long laufen(const QString& text, const Werte& werte = {}, int zeilen = -1);

    // Inserts the rows into the columns of a table with one statement
    // prepared once, as a careful bulk writer does; the caller owns the
    // transaction. Answers the number of rows.
    long long einfuegen(const QString& tabelle, const QStringList& spalten,
                        const std::vector<std::vector<QVariant>>& zeilen);

private:
    void binden(sqlite3_stmt* st, int i, const QVariant& v);

    sqlite3* m_db = nullptr;
};
