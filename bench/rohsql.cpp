#include "rohsql.h"

#include "data/sortierung.h"

#include <QFile>
#include <stdexcept>

namespace {

int deutsch(void*, int la, const void* a, int lb, const void* b) {
    return sortierung::vergleichen(QStringView(static_cast<const char16_t*>(a), la / 2),
                                   QStringView(static_cast<const char16_t*>(b), lb / 2));
}

} // namespace

RohSql::RohSql(const QString& pfad) {
    if (sqlite3_open_v2(QFile::encodeName(pfad).constData(), &m_db, SQLITE_OPEN_READWRITE,
                        nullptr) != SQLITE_OK)
        throw std::runtime_error("cannot open " + pfad.toStdString());
    sqlite3_create_collation_v2(m_db, sortierung::kKollation, SQLITE_UTF16_ALIGNED, nullptr,
                                deutsch, nullptr);
    laufen(QStringLiteral("PRAGMA journal_mode=DELETE"));
    laufen(QStringLiteral("PRAGMA synchronous=FULL"));
    laufen(QStringLiteral("PRAGMA busy_timeout=5000"));
}

RohSql::~RohSql() {
    sqlite3_close(m_db);
}

long long RohSql::laufen(const QString& text, const Werte& werte, int zeilen) {
    const QByteArray utf8 = text.toUtf8();
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(m_db, utf8.constData(), int(utf8.size()), &st, nullptr) != SQLITE_OK)
        throw std::runtime_error(sqlite3_errmsg(m_db));
    for (int i = 1; i <= sqlite3_bind_parameter_count(st); ++i) {
        const QString name = QString::fromUtf8(sqlite3_bind_parameter_name(st, i)).mid(1);
        for (const auto& [n, v] : werte) {
            if (n.compare(name, Qt::CaseInsensitive) != 0)
                continue;
            binden(st, i, v);
        }
    }
    long long summe = 0;
    int rc = SQLITE_ROW;
    for (int n = 0; zeilen < 0 || n < zeilen; ++n) {
        rc = sqlite3_step(st);
        if (rc != SQLITE_ROW)
            break;
        for (int c = 0; c < sqlite3_column_count(st); ++c) {
            switch (sqlite3_column_type(st, c)) {
            case SQLITE_INTEGER:
                summe += sqlite3_column_int64(st, c);
                break;
            case SQLITE_FLOAT:
                summe += static_cast<long long>(sqlite3_column_double(st, c));
                break;
            case SQLITE_TEXT:
                summe += sqlite3_column_bytes16(st, c) +
                         *static_cast<const char16_t*>(sqlite3_column_text16(st, c)) % 2;
                break;
            default:
                break;
            }
        }
    }
    sqlite3_finalize(st);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE)
        throw std::runtime_error(sqlite3_errmsg(m_db));
    return summe;
}

void RohSql::binden(sqlite3_stmt* st, int i, const QVariant& v) {
    if (v.isNull()) {
        sqlite3_bind_null(st, i);
    } else if (v.typeId() == QMetaType::QString) {
        const QByteArray s = v.toString().toUtf8();
        sqlite3_bind_text(st, i, s.constData(), int(s.size()), SQLITE_TRANSIENT);
    } else if (v.typeId() == QMetaType::Double) {
        sqlite3_bind_double(st, i, v.toDouble());
    } else {
        sqlite3_bind_int64(st, i, v.toLongLong());
    }
}

long long RohSql::einfuegen(const QString& tabelle, const QStringList& spalten,
                            const std::vector<std::vector<QVariant>>& zeilen) {
    QStringList platz;
    for (int i = 1; i <= spalten.size(); ++i)
        platz << QStringLiteral("?%1").arg(i);
    const QByteArray utf8 =
        QStringLiteral("insert into %1 (%2) values (%3)")
            .arg(tabelle, spalten.join(QStringLiteral(", ")), platz.join(QStringLiteral(", ")))
            .toUtf8();
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(m_db, utf8.constData(), int(utf8.size()), &st, nullptr) != SQLITE_OK)
        throw std::runtime_error(sqlite3_errmsg(m_db));
    for (const auto& zeile : zeilen) {
        for (std::size_t c = 0; c < zeile.size(); ++c)
            binden(st, int(c) + 1, zeile[c]);
        if (sqlite3_step(st) != SQLITE_DONE) {
            const std::string fehler = sqlite3_errmsg(m_db);
            sqlite3_finalize(st);
            throw std::runtime_error(fehler);
        }
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    return static_cast<long long>(zeilen.size());
}
