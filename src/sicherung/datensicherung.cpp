#include "sicherung/datensicherung.h"

#include "data/datenbankpruefung.h"
#include "data/db.h"
#include "data/dm_einaus.h"
#include "platform/atomicfile.h"
#include "platform/files.h"
#include "sicherung/verbindung.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <memory>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kDatenbank = QStringLiteral("Velmora_tab.mdb");

// Pages copied while the working database is read-locked; in between,
// Velmora may open and write it.
constexpr int kSeitenJeSchritt = 256;
// How long a copy waits, in all, for a program that writes meanwhile.
constexpr int kHoechstensWartenMs = 60'000;

const QRegularExpression& kopieMuster() {
    static const QRegularExpression muster(
        QStringLiteral("^Velmora_tab_(\\d{4}-\\d{2}-\\d{2}_\\d{6})(?:_(\\d+))?\\.mdb$"),
        QRegularExpression::CaseInsensitiveOption);
    return muster;
}

const QString kTeilPraefix = QStringLiteral("Velmora_tab");
const QString kTeilEndung = QStringLiteral(".teil");

// The unfinished copy, named with this process's id and locked while it is
// written, so that another backup leaves it alone; it and its journal go
// unless the copy got its name.
struct Teilkopie {
    QString path;
    int fd = -1;
    bool uebergeben = false;
    explicit Teilkopie(QString p) : path(std::move(p)) {}
    Teilkopie(const Teilkopie&) = delete;
    Teilkopie& operator=(const Teilkopie&) = delete;
    ~Teilkopie() {
        if (!uebergeben) {
            QFile::remove(path);
            QFile::remove(path + QStringLiteral("-journal"));
        }
        // closed only after SQLite closed the copy: closing a descriptor of
        // a file drops the process's POSIX locks on it
        if (fd >= 0)
            ::close(fd);
    }
};

// Copies of killed runs: ours with a process id, older ones without.
void teileEntfernen(const QString& ordner) {
    atomicfile::removeStale(ordner, kTeilPraefix, kTeilEndung);
    atomicfile::removeStaleMatching(
        ordner, QRegularExpression(QStringLiteral("^Velmora_tab_()[A-Za-z0-9]{6}\\.teil$")));
}

QString schreibfehler(int code, int systemFehler, const QString& ordner, const QString& quelle) {
    const QString detail = QString::fromUtf8(sqlite3_errstr(code));
    const int primaer = code & 0xff;
    if (primaer == SQLITE_FULL || primaer == SQLITE_IOERR || primaer == SQLITE_CANTOPEN ||
        primaer == SQLITE_READONLY) {
        const int ursache = primaer == SQLITE_FULL ? ENOSPC : systemFehler;
        return QStringLiteral("Die Sicherung im Ordner %1 kann nicht geschrieben werden: %2 (%3)")
            .arg(QDir::toNativeSeparators(ordner), atomicfile::cause(ursache), detail);
    }
    return datenbankmeldung::fuerCode(code, quelle, detail, systemFehler);
}

} // namespace

Datensicherung::Datensicherung(QString dir) : m_dir(std::move(dir)) {}

QString Datensicherung::ordner() const {
    return QDir(m_dir).absoluteFilePath(ordnerName());
}

QString Datensicherung::logDatei() const {
    return QDir(ordner()).filePath(logName());
}

QStringList Datensicherung::kopien() const {
    struct Kopie {
        QString name;
        QString stempel;
        int nummer;
    };
    std::vector<Kopie> gefunden;
    const QStringList namen = QDir(ordner()).entryList(QDir::Files | QDir::NoDotAndDotDot);
    for (const QString& name : namen) {
        const QRegularExpressionMatch m = kopieMuster().match(name);
        if (m.hasMatch())
            gefunden.push_back(
                {name, m.captured(1), m.captured(2).isEmpty() ? 1 : m.captured(2).toInt()});
    }
    std::sort(gefunden.begin(), gefunden.end(), [](const Kopie& a, const Kopie& b) {
        return a.stempel != b.stempel ? a.stempel < b.stempel : a.nummer < b.nummer;
    });
    QStringList out;
    for (const Kopie& k : gefunden)
        out << k.name;
    return out;
}

bool Datensicherung::protokollieren(const QDateTime& jetzt, const QString& text) const {
    if (!QDir().mkpath(ordner()))
        return false;
    QFile log(logDatei());
    if (!log.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    QString zeile = text;
    zeile.replace(QLatin1String("\r\n"), QLatin1String(" / "));
    zeile.replace(QLatin1Char('\r'), QLatin1String(" / "));
    zeile.replace(QLatin1Char('\n'), QLatin1String(" / "));
    const QByteArray bytes = (jetzt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) +
                              QLatin1Char(' ') + zeile + QLatin1Char('\n'))
                                 .toUtf8();
    return log.write(bytes) == bytes.size() && log.flush();
}

QString Datensicherung::sichern(const QDateTime& jetzt) {
    const QString quelle = files::findCaseInsensitive(m_dir, kDatenbank);
    if (quelle.isEmpty())
        throw DatenbankFehler(
            QStringLiteral("Die Datenbank %1 wurde im Verzeichnis %2 nicht gefunden.")
                .arg(kDatenbank, QDir::toNativeSeparators(QDir(m_dir).absolutePath())));
    // a foreign file is no backup of the books
    if (const QString keine = TDM_EinAus::keineVelmoraDatenbank(quelle); !keine.isEmpty())
        throw DatenbankFehler(keine);

    const QDir ziel(ordner());
    if (!QDir().mkpath(ordner()))
        throw DatenbankFehler(QStringLiteral("Der Ordner %1 kann nicht angelegt werden.")
                                  .arg(QDir::toNativeSeparators(ordner())));
    teileEntfernen(ordner());
    Teilkopie teil{atomicfile::temporaryName(ordner(), kTeilPraefix, kTeilEndung)};
    teil.fd = atomicfile::createLocked(teil.path);
    if (teil.fd < 0)
        throw DatenbankFehler(
            QStringLiteral("Im Ordner %1 kann nicht geschrieben werden: %2")
                .arg(QDir::toNativeSeparators(ordner()), atomicfile::cause(errno)));

    kopieren(quelle, teil.path);
    // the copy may be read by whoever may read the books, no one else
    struct stat st {};
    if (::stat(QFile::encodeName(quelle).constData(), &st) == 0)
        ::fchmod(teil.fd, st.st_mode & 0777);

    // the copy is checked as a whole, with its own connection; what it
    // finds is a fault of the working database the pages came from
    try {
        Datenbank kopie(sicherung::verbindungsname());
        kopie.open(teil.path, true);
        const QStringList probleme = kopie.integritaetPruefen();
        if (!probleme.isEmpty()) {
            // until a check passes, nothing writes into the damaged books
            datenbankpruefung::markerSetzen(quelle, probleme);
            throw DatenbankFehler(probleme.mid(0, 10).join(QLatin1Char('\r')));
        }
        kopie.close();
        if (const QString keine = TDM_EinAus::keineVelmoraDatenbank(teil.path); !keine.isEmpty())
            throw DatenbankFehler(keine);
    } catch (const DatenbankFehler& e) {
        throw DatenbankFehler(datenbankmeldung::beschaedigt(quelle, e.text()));
    }

    // rename never replaces a file: an existing name takes the next number
    const QString stempel = jetzt.toString(QStringLiteral("yyyy-MM-dd_HHmmss"));
    QString neu;
    for (int n = 1; neu.isEmpty(); ++n) {
        const QString name = n == 1 ? QStringLiteral("Velmora_tab_%1.mdb").arg(stempel)
                                    : QStringLiteral("Velmora_tab_%1_%2.mdb").arg(stempel).arg(n);
        if (!files::findCaseInsensitive(ordner(), name).isEmpty())
            continue;
        if (QFile::rename(teil.path, ziel.filePath(name))) {
            teil.uebergeben = true;
            neu = ziel.filePath(name);
        } else if (!QFileInfo::exists(ziel.filePath(name))) {
            throw DatenbankFehler(QStringLiteral("Die Sicherung kann im Ordner %1 nicht als %2 "
                                                 "abgelegt werden.")
                                      .arg(QDir::toNativeSeparators(ordner()), name));
        }
    }

    atomicfile::syncDirectory(ordner());

    // only now, with a good copy in place, do the oldest go
    QStringList alle = kopien();
    alle.removeAll(QFileInfo(neu).fileName());
    while (alle.size() >= Behalten)
        QFile::remove(ziel.filePath(alle.takeFirst()));
    return neu;
}

void Datensicherung::kopieren(const QString& quelle, const QString& ziel) {
    Datenbank db(sicherung::verbindungsname());
    db.open(quelle, true);
    TDM_EinAus::aufSchaedenPruefen(db);

    struct Ziel {
        sqlite3* h = nullptr;
        ~Ziel() { sqlite3_close(h); }
    } kopie;
    const int offen = sqlite3_open_v2(QFile::encodeName(ziel).constData(), &kopie.h,
                                      SQLITE_OPEN_READWRITE, nullptr);
    if (offen != SQLITE_OK)
        throw DatenbankFehler(
            schreibfehler(offen, sqlite3_system_errno(kopie.h), ordner(), quelle));
    struct Kopiervorgang {
        sqlite3_backup* b;
        ~Kopiervorgang() { sqlite3_backup_finish(b); }
    } vorgang{sqlite3_backup_init(kopie.h, "main", sicherung::handle(db), "main")};
    if (!vorgang.b)
        throw DatenbankFehler(schreibfehler(sqlite3_extended_errcode(kopie.h),
                                            sqlite3_system_errno(kopie.h), ordner(), quelle));

    QElapsedTimer gewartet;
    gewartet.start();
    int rc = SQLITE_OK;
    for (;;) {
        rc = sqlite3_backup_step(vorgang.b, kSeitenJeSchritt);
        if (rc == SQLITE_OK) {
            if (m_zwischenschritt)
                m_zwischenschritt();
            continue;
        }
        // another program holds a lock: give way, then go on
        if ((rc == SQLITE_BUSY || rc == SQLITE_LOCKED) &&
            gewartet.elapsed() < kHoechstensWartenMs) {
            sqlite3_sleep(50);
            continue;
        }
        break;
    }
    if (rc != SQLITE_DONE)
        throw DatenbankFehler(schreibfehler(rc, sqlite3_system_errno(kopie.h), ordner(), quelle));
}
