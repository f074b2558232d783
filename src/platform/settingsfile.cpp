#include "platform/settingsfile.h"

#include "platform/atomicfile.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <SimpleIni.h>
#include <string>
#include <utility>

namespace {

using Ini = CSimpleIniA;

std::string utf8(const QString& text) {
    return text.toUtf8().toStdString();
}

// Empty when the file is missing or was loaded; otherwise why it cannot be read.
QString load(Ini& ini, const QString& path) {
    ini.SetUnicode(true);
    ini.SetSpaces(false);
    QFile file(path);
    if (!file.exists())
        return QString();
    if (!file.open(QIODevice::ReadOnly))
        return file.errorString();
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return file.errorString();
    // this program writes UTF-8 text; anything else was not written by it
    QStringDecoder utf8Decoder(QStringDecoder::Utf8);
    const QString text = utf8Decoder(data);
    if (utf8Decoder.hasError() || data.contains('\0'))
        return QStringLiteral("Die Datei ist keine lesbare Textdatei.");
    if (ini.LoadData(data.constData(), static_cast<size_t>(data.size())) < 0)
        return QStringLiteral("Die Datei kann nicht gelesen werden.");
    return QString();
}

bool save(const Ini& ini, const QString& path, QString& error) {
    std::string text;
    if (ini.Save(text) < 0) {
        error = atomicfile::message(path, atomicfile::cause(ENOMEM));
        return false;
    }
    return writeFileAtomically(path, QByteArray::fromStdString(text), &error, true);
}

} // namespace

SettingsFile::SettingsFile(QString path) : m_path(std::move(path)) {}

struct SettingsFile::Snapshot::Data {
    Ini ini;
};

SettingsFile::Snapshot::Snapshot(std::unique_ptr<Data> data) : m_data(std::move(data)) {}
SettingsFile::Snapshot::Snapshot(Snapshot&&) noexcept = default;
SettingsFile::Snapshot::~Snapshot() = default;

QString SettingsFile::Snapshot::readString(const QString& section, const QString& key,
                                           const QString& defaultValue) const {
    const char* value = m_data->ini.GetValue(utf8(section).c_str(), utf8(key).c_str(), nullptr);
    return value ? QString::fromUtf8(value) : defaultValue;
}

int SettingsFile::Snapshot::readInteger(const QString& section, const QString& key,
                                        int defaultValue) const {
    bool ok = false;
    const int value = readString(section, key).trimmed().toInt(&ok);
    return ok ? value : defaultValue;
}

SettingsFile::Snapshot SettingsFile::snapshot() const {
    auto data = std::make_unique<Snapshot::Data>();
    load(data->ini, m_path);
    return Snapshot(std::move(data));
}

QString SettingsFile::readString(const QString& section, const QString& key,
                                 const QString& defaultValue) const {
    return snapshot().readString(section, key, defaultValue);
}

int SettingsFile::readInteger(const QString& section, const QString& key, int defaultValue) const {
    return snapshot().readInteger(section, key, defaultValue);
}

bool SettingsFile::hasKey(const QString& section, const QString& key) const {
    Ini ini;
    load(ini, m_path);
    return ini.GetValue(utf8(section).c_str(), utf8(key).c_str(), nullptr) != nullptr;
}

bool SettingsFile::mayWrite(const QString& problem) {
    if (problem.isEmpty())
        return true;
    if (!m_reported && m_reporter) {
        m_reported = true;
        m_reporter(QStringLiteral("Die Einstellungsdatei %1 kann nicht gelesen werden und wird "
                                  "deshalb nicht geändert: %2")
                       .arg(QDir::toNativeSeparators(m_path), problem));
    }
    return false;
}

bool SettingsFile::writeString(const QString& section, const QString& key, const QString& value) {
    m_lastError.clear();
    Ini ini;
    if (!mayWrite(load(ini, m_path)))
        return false;
    if (ini.SetValue(utf8(section).c_str(), utf8(key).c_str(), utf8(value).c_str()) < 0)
        return false;
    return save(ini, m_path, m_lastError);
}

bool SettingsFile::deleteKey(const QString& section, const QString& key) {
    m_lastError.clear();
    Ini ini;
    if (!mayWrite(load(ini, m_path)))
        return false;
    if (!ini.Delete(utf8(section).c_str(), utf8(key).c_str()))
        return true; // nothing to delete
    return save(ini, m_path, m_lastError);
}

bool SettingsFile::eraseSection(const QString& section) {
    m_lastError.clear();
    Ini ini;
    if (!mayWrite(load(ini, m_path)))
        return false;
    if (!ini.Delete(utf8(section).c_str(), nullptr))
        return true;
    return save(ini, m_path, m_lastError);
}
