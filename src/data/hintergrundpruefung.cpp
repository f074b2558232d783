#include "data/hintergrundpruefung.h"

#include "data/db.h"

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <sqlite3.h>

Hintergrundpruefung::Hintergrundpruefung(QString path, QObject* parent)
    : QObject(parent), m_path(std::move(path)) {}

Hintergrundpruefung::~Hintergrundpruefung() {
    abbrechen();
    if (m_thread.joinable())
        m_thread.join();
}

void Hintergrundpruefung::starten() {
    if (m_thread.joinable())
        return;
    {
        std::lock_guard lock(m_mutex);
        m_laeuft = true;
    }
    m_thread = std::thread([this] { pruefen(); });
}

bool Hintergrundpruefung::laeuft() const {
    std::lock_guard lock(m_mutex);
    return m_laeuft;
}

std::optional<QStringList> Hintergrundpruefung::warten() {
    std::unique_lock lock(m_mutex);
    m_ende.wait(lock, [this] { return !m_laeuft; });
    return m_ergebnis;
}

void Hintergrundpruefung::abbrechen() {
    std::lock_guard lock(m_mutex);
    m_abgebrochen = true;
    if (m_handle)
        sqlite3_interrupt(m_handle);
}

void Hintergrundpruefung::pruefen() {
    std::optional<QStringList> ergebnis;
    const QString name =
        QStringLiteral("hintergrundpruefung-%1").arg(reinterpret_cast<quintptr>(this), 0, 16);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        QUrl url = QUrl::fromLocalFile(m_path);
        url.setQuery(QStringLiteral("mode=ro"));
        db.setDatabaseName(url.toString(QUrl::FullyEncoded));
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=5000"));
        if (db.open()) {
            auto* handle = *static_cast<sqlite3* const*>(db.driver()->handle().constData());
            bool abgebrochen = false;
            {
                std::lock_guard lock(m_mutex);
                m_handle = handle;
                abgebrochen = m_abgebrochen;
            }
            if (!abgebrochen) {
                QSqlQuery q(db);
                QStringList befunde;
                bool zuEnde = q.exec(QStringLiteral("PRAGMA quick_check"));
                while (zuEnde && q.next())
                    befunde << datenbankmeldung::befunde(q.value(0).toString());
                const QSqlError e = q.lastError();
                const int code = e.nativeErrorCode().toInt() & 0xff;
                if (e.isValid()) {
                    // a file so damaged that the check stops is a finding;
                    // a cancel or a lock leaves the verdict open
                    if (code == SQLITE_CORRUPT || code == SQLITE_NOTADB || code == SQLITE_IOERR)
                        befunde << e.databaseText();
                    else
                        zuEnde = false;
                }
                if (zuEnde || !befunde.isEmpty())
                    ergebnis = befunde;
            }
            {
                std::lock_guard lock(m_mutex);
                m_handle = nullptr;
            }
        } else {
            const int code = db.lastError().nativeErrorCode().toInt() & 0xff;
            if (code == SQLITE_CORRUPT || code == SQLITE_NOTADB)
                ergebnis = QStringList{db.lastError().databaseText()};
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    {
        std::lock_guard lock(m_mutex);
        m_ergebnis = std::move(ergebnis);
        m_laeuft = false;
    }
    m_ende.notify_all();
    QMetaObject::invokeMethod(this, &Hintergrundpruefung::fertig, Qt::QueuedConnection);
}
