#pragma once

#include "reportengine/rowsource.h"

#include <QVariantList>
#include <vector>

// Rows from a table in the test, counting how often they are read.
class TabellenZeilen final : public reportengine::RowSource {
public:
    TabellenZeilen(QStringList fields, std::vector<QVariantList> rows)
        : m_fields(std::move(fields)), m_rows(std::move(rows)) {}
    QStringList fields() const override { return m_fields; }
    bool next() override {
        ++m_at;
        ++nextCalls;
        return m_at < static_cast<int>(m_rows.size());
    }
    QVariant value(int field) const override {
        return m_rows.at(static_cast<size_t>(m_at)).value(field);
    }
    int nextCalls = 0;

private:
    QStringList m_fields;
    std::vector<QVariantList> m_rows;
    int m_at = -1;
};
