#pragma once

#include <QString>
#include <functional>
#include <memory>

// The program's INI file: plain "key=value" lines, section and key names kept
// verbatim ("[Buchen Mandant 123]"). Every write re-reads the file, changes
// one entry and replaces the file atomically, so a crash never leaves half a
// file behind and concurrent readers see either the old or the new file.
class SettingsFile {
public:
    explicit SettingsFile(QString path);

    const QString& path() const { return m_path; }

    QString readString(const QString& section, const QString& key,
                       const QString& defaultValue = QString()) const;
    int readInteger(const QString& section, const QString& key, int defaultValue) const;
    bool hasKey(const QString& section, const QString& key) const;

    // The file read once, for several values in a row.
    class Snapshot {
    public:
        Snapshot(Snapshot&&) noexcept;
        ~Snapshot();
        QString readString(const QString& section, const QString& key,
                           const QString& defaultValue = QString()) const;
        int readInteger(const QString& section, const QString& key, int defaultValue) const;

    private:
        friend class SettingsFile;
        struct Data;
        explicit Snapshot(std::unique_ptr<Data> data);
        std::unique_ptr<Data> m_data;
    };
    Snapshot snapshot() const;

    // Each answers false when the file could not be written. A file that
    // exists but cannot be read or parsed is never written: rewriting it from
    // what could be read would lose every other entry.
    bool writeString(const QString& section, const QString& key, const QString& value);
    bool deleteKey(const QString& section, const QString& key);
    bool eraseSection(const QString& section);
    // Why the last write failed ("Die Datei … konnte nicht geschrieben
    // werden: …"); empty after a write that succeeded or was refused because
    // the file cannot be read.
    const QString& lastError() const { return m_lastError; }

    // Told once, with a German message, the first time a write is skipped
    // because the file cannot be read.
    void setProblemReporter(std::function<void(const QString&)> reporter) {
        m_reporter = std::move(reporter);
    }

private:
    // Whether a file that was loaded with this problem (empty: none) may be
    // rewritten; reports the first refusal.
    bool mayWrite(const QString& problem);

    QString m_path;
    std::function<void(const QString&)> m_reporter;
    bool m_reported = false;
    QString m_lastError;
};
