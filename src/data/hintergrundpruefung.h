#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

struct sqlite3;

// SQLite's quick_check over the whole file, on a connection and a thread of
// its own, so that the window shows its lists while a large file is read.
// Destroying it cancels a check still running.
class Hintergrundpruefung final : public QObject {
    Q_OBJECT
public:
    explicit Hintergrundpruefung(QString path, QObject* parent = nullptr);
    ~Hintergrundpruefung() override;
    Hintergrundpruefung(const Hintergrundpruefung&) = delete;
    Hintergrundpruefung& operator=(const Hintergrundpruefung&) = delete;

    void starten();
    bool laeuft() const;
    // Waits for the verdict: the findings, none for a sound file; nullopt
    // when the check could not run to its end (cancelled, file locked).
    std::optional<QStringList> warten();
    void abbrechen();

signals:
    // Queued to the thread that made the object, once the check has ended.
    void fertig();

private:
    void pruefen();

    QString m_path;
    std::thread m_thread;
    mutable std::mutex m_mutex;
    std::condition_variable m_ende;
    bool m_laeuft = false;
    sqlite3* m_handle = nullptr; // guarded by m_mutex, for sqlite3_interrupt
    bool m_abgebrochen = false;
    std::optional<QStringList> m_ergebnis;
};
