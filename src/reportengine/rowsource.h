#pragma once

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <stdexcept>

namespace reportengine {

// The rows a report is bound to, read once from first to last.
class RowSource {
public:
    virtual ~RowSource() = default;
    virtual QStringList fields() const = 0;
    // Moves to the next row; false after the last one.
    virtual bool next() = 0;
    virtual QVariant value(int field) const = 0;
};

// An executed query as row source; the query should be forward-only, so
// that its rows are not cached a second time.
class QueryRowSource final : public RowSource {
public:
    explicit QueryRowSource(QSqlQuery& query) : m_query(query) {}
    QStringList fields() const override {
        QStringList out;
        const QSqlRecord r = m_query.record();
        for (int i = 0; i < r.count(); ++i)
            out << r.fieldName(i);
        return out;
    }
    // A failed step is an error, never the end of the rows.
    bool next() override {
        if (m_query.next())
            return true;
        if (m_query.lastError().type() != QSqlError::NoError)
            throw std::runtime_error(
                QStringLiteral("Die Daten des Berichts konnten nicht gelesen werden: %1")
                    .arg(m_query.lastError().text())
                    .toStdString());
        return false;
    }
    QVariant value(int field) const override { return m_query.value(field); }

private:
    QSqlQuery& m_query;
};

} // namespace reportengine
