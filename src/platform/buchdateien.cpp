#include "platform/buchdateien.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace buchdateien {

namespace {

const QStringList& geschuetzteNamen() {
    static const QStringList namen{
        QStringLiteral("velmora_tab.mdb"),
        QStringLiteral("velmora_tab.mdb-journal"),
        QStringLiteral("velmora_tab.mdb-wal"),
        QStringLiteral("velmora_tab.mdb-shm"),
        QStringLiteral("velmora_neu.mdb"),
        QStringLiteral("velmora.ini"),
        QStringLiteral("velmora"),
        QStringLiteral("velmora-cli"),
        QStringLiteral("check_update"),
        QStringLiteral("datensicherung"),
    };
    return namen;
}

// The directory as the file system names it, also when its last parts do
// not exist yet; links in the existing part are resolved.
QString kanonischesVerzeichnis(const QString& dir) {
    QFileInfo info(dir);
    const QString kanonisch = info.canonicalFilePath();
    if (!kanonisch.isEmpty())
        return kanonisch;
    const QString eltern = info.absolutePath();
    if (eltern == info.absoluteFilePath())
        return info.absoluteFilePath();
    return QDir(kanonischesVerzeichnis(eltern)).filePath(info.fileName());
}

bool gleichOhneGross(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// dir/name is a book file of one of the two directories, or lies (at any
// depth) inside one of their backup folders.
bool imSchutzbereich(const QString& pfad, const QStringList& verzeichnisse) {
    const QFileInfo info(pfad);
    const QString dir = info.absolutePath();
    for (const QString& v : verzeichnisse) {
        if (v.isEmpty())
            continue;
        if (dir == v && geschuetzteNamen().contains(info.fileName(), Qt::CaseInsensitive))
            return true;
        // anything below <v>/Datensicherung, whatever the case of its name
        QString rest = pfad;
        if (!rest.startsWith(v + QLatin1Char('/')))
            continue;
        rest = rest.mid(v.size() + 1);
        const QString erster = rest.section(QLatin1Char('/'), 0, 0);
        if (gleichOhneGross(erster, QStringLiteral("Datensicherung")))
            return true;
    }
    return false;
}

} // namespace

Orte desProzesses() {
    return Orte{QDir::currentPath(),
                QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QString()};
}

bool gehoertZuDenBuechern(const QString& target, const Orte& orte) {
    if (target.isEmpty())
        return false;
    const QFileInfo info(QDir::current().absoluteFilePath(target));
    QStringList verzeichnisse;
    for (const QString& v : {orte.arbeitsverzeichnis, orte.programmverzeichnis})
        if (!v.isEmpty())
            verzeichnisse << kanonischesVerzeichnis(QDir(v).absolutePath());

    // the name as written, in its directory with links resolved
    const QString gewaehlt =
        QDir(kanonischesVerzeichnis(info.absolutePath())).filePath(info.fileName());
    if (imSchutzbereich(gewaehlt, verzeichnisse))
        return true;
    // a link (or a chain of them) that ends at one of the books' files
    const QString ziel = info.canonicalFilePath();
    if (!ziel.isEmpty() && ziel != gewaehlt && imSchutzbereich(ziel, verzeichnisse))
        return true;
    return false;
}

bool gehoertZuDenBuechern(const QString& target) {
    return gehoertZuDenBuechern(target, desProzesses());
}

QString meldung() {
    return QStringLiteral(
        "Diese Datei gehört zu den Büchern von Velmora und wird nicht überschrieben.");
}

} // namespace buchdateien
