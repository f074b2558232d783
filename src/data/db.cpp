#include "data/db.h"
#include "data/sortierung.h"

#include <QFileInfo>
#include <QSqlError>
#include <QUrl>
#include <utility>

namespace {

QString errorText(const QSqlError& e) {
    QString text = e.databaseText();
    if (text.isEmpty())
        text = e.text();
    return text;
}

} // namespace

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
            if (!names.contains(name, Qt::CaseInsensitive))
                names << name;
        }
        i = j - 1;
    }
    return names;
}

Sql::Sql(Datenbank& db, const QString& text)
    : m_text(text), m_query(db.connection()), m_placeholders(placeholders(text)) {
    if (!m_query.prepare(text))
        throw DatenbankFehler(errorText(m_query.lastError()));
}

Sql& Sql::bind(const QString& name, const QVariant& value) {
    for (const QString& p : std::as_const(m_placeholders)) {
        if (p.compare(name, Qt::CaseInsensitive) == 0) {
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
        throw DatenbankFehler(errorText(m_query.lastError()));
    return *this;
}

Datenbank::Datenbank(QString connectionName) : m_name(std::move(connectionName)) {}

Datenbank::~Datenbank() {
    close();
    QSqlDatabase::removeDatabase(m_name);
}

void Datenbank::open(const QString& path) {
    close();
    QSqlDatabase db = QSqlDatabase::contains(m_name) ? QSqlDatabase::database(m_name, false)
                                                     : QSqlDatabase::addDatabase("QSQLITE", m_name);
    // mode=rw: SQLite must never create a missing file
    QUrl url = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
    url.setQuery(QStringLiteral("mode=rw"));
    db.setDatabaseName(url.toString(QUrl::FullyEncoded));
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=5000"));
    if (!db.open())
        throw DatenbankFehler(errorText(db.lastError()));
    sortierung::registrieren(db);
}

void Datenbank::close() {
    if (!QSqlDatabase::contains(m_name))
        return;
    QSqlDatabase db = QSqlDatabase::database(m_name, false);
    if (db.isOpen())
        db.close();
    m_depth = 0;
}

bool Datenbank::isOpen() const {
    return QSqlDatabase::contains(m_name) && QSqlDatabase::database(m_name, false).isOpen();
}

QSqlDatabase Datenbank::connection() const {
    return QSqlDatabase::database(m_name, false);
}

Transaktion::Transaktion(Datenbank& db) : m_db(db), m_level(db.m_depth) {
    if (m_level == 0)
        m_db.execute(QStringLiteral("BEGIN IMMEDIATE"));
    else
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
