#pragma once

#include <QByteArray>
#include <QString>

class QRegularExpression;
#include <optional>
#include <sys/types.h>

// Writes a file so that it is either complete or not there: the bytes go to
// a temporary file beside the target (".<name>.velmora.<pid>.XXXXXX", locked
// while it is written), every write is checked, and commit() syncs it and
// renames it over the target, then syncs the directory. Until then, and after
// any failure, an earlier file stays byte for byte as it was; the destructor
// removes a temporary file that was not committed.
class AtomicFile {
public:
    AtomicFile() = default;
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Creates the temporary file beside target. Leftovers of writers that
    // were killed in that directory are removed first. A target that is one
    // of the books' own files (the database, the settings, the backups) is
    // refused unless the program writes it as its own.
    bool open(const QString& target);
    void setProgramOwned(bool own) { m_programOwned = own; }
    // The mode the file gets; by default an existing target's mode, else
    // 0666 less the umask.
    void setPermissions(mode_t mode) { m_mode = mode; }

    bool write(const char* data, qint64 size);
    bool write(const QByteArray& bytes) { return write(bytes.constData(), bytes.size()); }

    // For a library that writes the temporary file by its name.
    const QString& temporaryPath() const { return m_temp; }

    // Syncs the temporary file, renames it over the target and syncs the
    // directory. False, with the reason, when any step failed.
    bool commit();
    // Removes the temporary file; the target stays as it was.
    void cancel();

    const QString& target() const { return m_target; }
    // "Die Datei … konnte nicht geschrieben werden: <Ursache>."
    QString errorString() const;
    // The cause alone: "Der Datenträger ist voll." and the like.
    const QString& cause() const { return m_cause; }
    // Records a failure found by a library that wrote the file itself.
    void fail(int error);

private:
    bool failed(int error);

    QString m_target;
    QString m_temp;
    QString m_cause;
    int m_fd = -1;
    bool m_programOwned = false;
    bool m_refused = false;
    std::optional<mode_t> m_mode;
};

// The whole file in one step; on failure *error gets AtomicFile's sentence.
bool writeFileAtomically(const QString& target, const QByteArray& bytes, QString* error,
                         bool programOwned = false);

namespace atomicfile {

// What errno says, as the cause shown to the user.
QString cause(int error);
// The sentence naming the file and the cause.
QString message(const QString& target, const QString& cause);

// A name for a temporary file of this process in dir, and its pattern:
// prefix + "." + pid + "." + six characters + suffix.
QString temporaryName(const QString& dir, const QString& prefix, const QString& suffix);

// Creates path exclusively (mode 0666 less the umask) and locks it; the
// descriptor, or -1 with errno set.
int createLocked(const QString& path);

// Removes, in dir, the temporary files named prefix.<pid>.XXXXXX<suffix>
// whose process is gone and that no one holds locked; answers how many.
int removeStale(const QString& dir, const QString& prefix, const QString& suffix);
// The same for names matching pattern, whose first capture is the process
// id; a match with an empty capture (a file of an older version) goes once it
// is an hour old and unlocked.
int removeStaleMatching(const QString& dir, const QRegularExpression& pattern);
// The same for AtomicFile's own temporaries.
int removeStaleTemporaries(const QString& dir);

// Syncs a directory so that a rename in it lasts.
bool syncDirectory(const QString& dir);

} // namespace atomicfile
