#include "data/hintergrundpruefung.h"

#include "data/db.h"

#include <QSqlDriver>
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
    {
        Datenbank db(
            QStringLiteral("hintergrundpruefung-%1").arg(reinterpret_cast<quintptr>(this), 0, 16));
        try {
            db.open(m_path, true);
            bool abgebrochen = false;
            {
                std::lock_guard lock(m_mutex);
                m_handle =
                    *static_cast<sqlite3* const*>(db.connection().driver()->handle().constData());
                abgebrochen = m_abgebrochen;
            }
            // pages the check cannot read are findings; a cancel or a lock
            // held too long throws and leaves the verdict open
            if (!abgebrochen)
                ergebnis = db.integritaetPruefen({}, true);
        } catch (const DatenbankFehler&) {
        }
        std::lock_guard lock(m_mutex);
        m_handle = nullptr;
    }
    {
        std::lock_guard lock(m_mutex);
        m_ergebnis = std::move(ergebnis);
        m_laeuft = false;
    }
    m_ende.notify_all();
    QMetaObject::invokeMethod(this, &Hintergrundpruefung::fertig, Qt::QueuedConnection);
}
