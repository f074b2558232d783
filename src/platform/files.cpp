#include "platform/files.h"

#include <QDir>
#include <QFileInfo>

namespace files {

QString findCaseInsensitive(const QString& dir, const QString& name) {
    const QDir d(dir);
    const QFileInfo exact(d.filePath(name));
    if (exact.isFile() && !exact.isHidden())
        return exact.filePath();
    const QFileInfoList entries = d.entryInfoList(QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo& entry : entries) {
        if (entry.fileName().compare(name, Qt::CaseInsensitive) == 0)
            return entry.filePath();
    }
    return QString();
}

bool exists(const QString& dir, const QString& name) {
    const QFileInfo info(QDir(dir).filePath(name));
    return info.isFile() && !info.isHidden();
}

} // namespace files
