#pragma once

#include <QString>

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

    // Each answers false when the file could not be written.
    bool writeString(const QString& section, const QString& key, const QString& value);
    bool deleteKey(const QString& section, const QString& key);
    bool eraseSection(const QString& section);

private:
    QString m_path;
};
