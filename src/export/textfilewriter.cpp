#include "export/textfilewriter.h"

#include "export/windows1252.h"

#include "platform/atomicfile.h"

QString joinLines(const QStringList& lines) {
    qsizetype size = 0;
    for (const QString& line : lines)
        size += line.size() + 2;
    QString text;
    text.reserve(size);
    for (const QString& line : lines) {
        text += line;
        text += QLatin1String("\r\n");
    }
    return text;
}

TextFileResult writeTextFile(const QString& path, const QStringList& lines) {
    const Encoded1252 encoded = toWindows1252(joinLines(lines));
    TextFileResult result = writeBytesFile(path, encoded.bytes);
    result.replaced = encoded.replaced;
    return result;
}

TextFileResult writeBytesFile(const QString& path, const QByteArray& bytes) {
    TextFileResult result;
    AtomicFile file;
    if (!file.open(path) || !file.write(bytes) || !file.commit()) {
        result.error = file.cause();
        return result;
    }
    result.ok = true;
    return result;
}
