#include "platform/atomicfile.h"

#include "platform/buchdateien.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <limits>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace atomicfile {

namespace {

QByteArray native(const QString& path) {
    return QFile::encodeName(path);
}

// A file left by a version that wrote no process id into the name is taken
// for a leftover only when nobody has touched it for this long.
constexpr qint64 kAltAbSekunden = 3600;

bool gesperrt(const QString& path) {
    const int fd = ::open(native(path).constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return true; // what cannot be looked at stays
    const bool frei = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    if (frei)
        ::unlink(native(path).constData());
    ::close(fd);
    return !frei;
}

bool prozessLebt(qint64 pid) {
    if (pid <= 0 || pid > std::numeric_limits<pid_t>::max())
        return false;
    if (pid == ::getpid())
        return true;
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

} // namespace

int removeStaleMatching(const QString& dir, const QRegularExpression& muster) {
    int entfernt = 0;
    const QFileInfoList eintraege =
        QDir(dir).entryInfoList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot | QDir::System);
    for (const QFileInfo& info : eintraege) {
        const QRegularExpressionMatch m = muster.match(info.fileName());
        if (!m.hasMatch() || info.isSymLink())
            continue;
        const QString pid = m.captured(1);
        if (pid.isEmpty()) {
            if (info.lastModified().secsTo(QDateTime::currentDateTime()) < kAltAbSekunden)
                continue;
        } else if (prozessLebt(pid.toLongLong())) {
            continue;
        }
        if (!gesperrt(info.absoluteFilePath()))
            ++entfernt;
    }
    return entfernt;
}

QString cause(int error) {
    switch (error) {
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("Der Datenträger ist voll.");
    case EFBIG:
        return QStringLiteral("Die Datei überschreitet die zulässige Größe.");
    case EACCES:
    case EPERM:
    case EROFS:
        return QStringLiteral("Keine Berechtigung.");
    case ENOENT:
    case ENOTDIR:
        return QStringLiteral("Das Verzeichnis gibt es nicht.");
    default:
        return QStringLiteral("Schreibfehler.");
    }
}

QString message(const QString& target, const QString& cause) {
    return QStringLiteral("Die Datei %1 konnte nicht geschrieben werden: %2")
        .arg(QDir::toNativeSeparators(target), cause);
}

QString temporaryName(const QString& dir, const QString& prefix, const QString& suffix) {
    static const char zeichen[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QString zufall;
    for (int i = 0; i < 6; ++i)
        zufall += QLatin1Char(zeichen[QRandomGenerator::system()->bounded(62)]);
    return QDir(dir).filePath(
        QStringLiteral("%1.%2.%3%4").arg(prefix).arg(::getpid()).arg(zufall, suffix));
}

int createLocked(const QString& path) {
    const int fd =
        ::open(native(path).constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (fd < 0)
        return -1;
    // the lock tells a cleanup in another process that this file is in use
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int e = errno;
        ::unlink(native(path).constData());
        ::close(fd);
        errno = e;
        return -1;
    }
    return fd;
}

int removeStale(const QString& dir, const QString& prefix, const QString& suffix) {
    const QRegularExpression muster(
        QStringLiteral("^%1\\.(\\d+)\\.[A-Za-z0-9]{6}%2$")
            .arg(QRegularExpression::escape(prefix), QRegularExpression::escape(suffix)));
    return removeStaleMatching(dir, muster);
}

int removeStaleTemporaries(const QString& dir) {
    // ours, and those of the xlsx export before it named its process
    static const QRegularExpression muster(
        QStringLiteral("^(?:\\..+\\.velmora\\.(\\d+)\\.[A-Za-z0-9]{6}|\\.velmora-[A-Za-z0-9]{6}"
                       "\\.xlsx)$"));
    return removeStaleMatching(dir, muster);
}

bool syncDirectory(const QString& dir) {
    const int fd = ::open(native(dir).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0 || errno == EINVAL;
    ::close(fd);
    return ok;
}

} // namespace atomicfile

AtomicFile::~AtomicFile() {
    cancel();
}

bool AtomicFile::failed(int error) {
    m_cause = atomicfile::cause(error);
    cancel();
    return false;
}

void AtomicFile::fail(int error) {
    failed(error);
}

bool AtomicFile::open(const QString& target) {
    cancel();
    m_cause.clear();
    m_refused = false;
    const QFileInfo info(target);
    m_target = info.absoluteFilePath();
    // one mistyped name must not cost the books
    if (!m_programOwned && buchdateien::gehoertZuDenBuechern(m_target)) {
        m_refused = true;
        m_cause = buchdateien::meldung();
        return false;
    }
    const QString dir = info.absolutePath();
    atomicfile::removeStaleTemporaries(dir);
    for (int versuch = 0; versuch < 100; ++versuch) {
        const QString temp = atomicfile::temporaryName(
            dir, QLatin1Char('.') + info.fileName() + QStringLiteral(".velmora"), QString());
        m_fd = atomicfile::createLocked(temp);
        if (m_fd >= 0) {
            m_temp = temp;
            return true;
        }
        if (errno != EEXIST)
            return failed(errno);
    }
    return failed(EEXIST);
}

bool AtomicFile::write(const char* data, qint64 size) {
    if (m_fd < 0)
        return false;
    while (size > 0) {
        const ssize_t n = ::write(m_fd, data, static_cast<size_t>(size));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return failed(errno);
        }
        if (n == 0)
            return failed(ENOSPC);
        data += n;
        size -= n;
    }
    return true;
}

bool AtomicFile::commit() {
    if (m_fd < 0)
        return false;
    mode_t mode = 0;
    if (m_mode) {
        mode = *m_mode;
    } else {
        struct stat st {};
        if (::stat(QFile::encodeName(m_target).constData(), &st) == 0 && S_ISREG(st.st_mode))
            mode = st.st_mode & 07777;
    }
    if (mode != 0 && ::fchmod(m_fd, mode) != 0)
        return failed(errno);
    if (::fdatasync(m_fd) != 0)
        return failed(errno);
    if (::rename(QFile::encodeName(m_temp).constData(), QFile::encodeName(m_target).constData()) !=
        0)
        return failed(errno);
    ::close(m_fd);
    m_fd = -1;
    m_temp.clear();
    // the new name is in place; a failed directory sync cannot undo it
    atomicfile::syncDirectory(QFileInfo(m_target).absolutePath());
    return true;
}

void AtomicFile::cancel() {
    if (m_fd < 0)
        return;
    // removed while still locked, so no cleanup can meet it half gone
    ::unlink(QFile::encodeName(m_temp).constData());
    ::close(m_fd);
    m_fd = -1;
    m_temp.clear();
}

QString AtomicFile::errorString() const {
    if (m_refused)
        return m_cause;
    return atomicfile::message(m_target, m_cause);
}

bool writeFileAtomically(const QString& target, const QByteArray& bytes, QString* error,
                         bool programOwned) {
    AtomicFile file;
    file.setProgramOwned(programOwned);
    if (file.open(target) && file.write(bytes) && file.commit())
        return true;
    if (error)
        *error = file.errorString();
    return false;
}
