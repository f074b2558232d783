#include "sicherung/wiederherstellung.h"

#include "data/db.h"
#include "data/dm_einaus.h"
#include "platform/atomicfile.h"
#include "platform/files.h"
#include "sicherung/datensicherung.h"
#include "sicherung/verbindung.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <sqlite3.h>
#include <unistd.h>

namespace wiederherstellung {

namespace {

const QString kDatenbank = QStringLiteral("Velmora_tab.mdb");
// How long a restore waits for a program that is reading or writing.
constexpr int kWartenMs = 2000;

std::optional<int> buchungenZaehlen(const QString& pfad) {
    try {
        Datenbank db(sicherung::verbindungsname());
        db.open(pfad, true);
        Sql q = db.sql(QStringLiteral("select count(*) from T_Buchungen"));
        q.exec();
        if (!q.next())
            return std::nullopt;
        return q.value(0).toInt();
    } catch (const DatenbankFehler&) {
        return std::nullopt;
    }
}

// The scratch copy of the chosen backup in the backup folder: named with this
// process and locked like every temporary, so that a killed restore's
// leftover goes with the next restore and a running one's stays.
class Zwischenkopie {
public:
    explicit Zwischenkopie(const QString& ordner) {
        const QString prefix = QStringLiteral("Velmora_tab");
        const QString suffix = QStringLiteral(".zurueck");
        atomicfile::removeStale(ordner, prefix, suffix);
        m_pfad = atomicfile::temporaryName(ordner, prefix, suffix);
        m_fd = atomicfile::createLocked(m_pfad);
        if (m_fd < 0)
            throw DatenbankFehler(
                QStringLiteral("Im Ordner %1 kann nicht geschrieben werden: %2")
                    .arg(QDir::toNativeSeparators(ordner), atomicfile::cause(errno)));
    }
    ~Zwischenkopie() {
        // removed while still locked, so no cleanup takes it for a leftover
        QFile::remove(m_pfad);
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Zwischenkopie(const Zwischenkopie&) = delete;
    Zwischenkopie& operator=(const Zwischenkopie&) = delete;

    int fd() const { return m_fd; }
    const QString& pfad() const { return m_pfad; }

private:
    QString m_pfad;
    int m_fd = -1;
};

// The copy, byte for byte, into the scratch file: the backup that comes
// first may prune the oldest copies, the chosen one too.
void abschreiben(const QString& quelle, const Zwischenkopie& kopie) {
    QFile ziel;
    if (!ziel.open(kopie.fd(), QIODevice::WriteOnly, QFileDevice::DontCloseHandle))
        throw DatenbankFehler(
            QStringLiteral("Die Sicherung kann nicht in den Ordner %1 kopiert werden: %2")
                .arg(QDir::toNativeSeparators(QFileInfo(kopie.pfad()).path()), ziel.errorString()));
    QFile in(quelle);
    if (!in.open(QIODevice::ReadOnly))
        throw DatenbankFehler(QStringLiteral("Die Sicherung %1 kann nicht gelesen werden: %2")
                                  .arg(QDir::toNativeSeparators(quelle), in.errorString()));
    while (!in.atEnd()) {
        const QByteArray block = in.read(1 << 20);
        if (block.isEmpty() && in.error() != QFileDevice::NoError)
            throw DatenbankFehler(QStringLiteral("Die Sicherung %1 kann nicht gelesen werden: %2")
                                      .arg(QDir::toNativeSeparators(quelle), in.errorString()));
        if (ziel.write(block) != block.size())
            throw DatenbankFehler(
                QStringLiteral("Die Sicherung kann nicht in den Ordner %1 kopiert werden: %2")
                    .arg(QDir::toNativeSeparators(QFileInfo(kopie.pfad()).path()),
                         ziel.errorString()));
    }
    if (!ziel.flush())
        throw DatenbankFehler(
            QStringLiteral("Die Sicherung kann nicht in den Ordner %1 kopiert werden: %2")
                .arg(QDir::toNativeSeparators(QFileInfo(kopie.pfad()).path()), ziel.errorString()));
    ziel.close();
}

void pruefen(const QString& kopie, const QString& name) {
    try {
        Datenbank db(sicherung::verbindungsname());
        db.open(kopie, true);
        const QStringList probleme = db.integritaetPruefen();
        if (!probleme.isEmpty())
            throw DatenbankFehler(probleme.mid(0, 10).join(QLatin1Char('\r')));
        db.close();
        if (const QString keine = TDM_EinAus::keineVelmoraDatenbank(kopie); !keine.isEmpty())
            throw DatenbankFehler(keine);
    } catch (const DatenbankFehler& e) {
        throw DatenbankFehler(
            QStringLiteral("Die Sicherung %1 ist beschädigt und wird nicht zurückgespielt.\r%2")
                .arg(QDir::toNativeSeparators(name), e.text()));
    }
}

} // namespace

std::vector<Kopie> liste(const QString& dir) {
    const Datensicherung sicherung(dir);
    static const QRegularExpression stempel(QStringLiteral("_(\\d{4}-\\d{2}-\\d{2}_\\d{6})"));
    std::vector<Kopie> out;
    const QStringList namen = sicherung.kopien();
    for (auto it = namen.crbegin(); it != namen.crend(); ++it) {
        Kopie k;
        k.pfad = QDir(sicherung.ordner()).filePath(*it);
        k.zeit = QDateTime::fromString(stempel.match(*it).captured(1),
                                       QStringLiteral("yyyy-MM-dd_HHmmss"));
        k.bytes = QFileInfo(k.pfad).size();
        k.buchungen = buchungenZaehlen(k.pfad);
        out.push_back(k);
    }
    return out;
}

QString zurueckspielen(const QString& dir, const QString& kopie, const QDateTime& jetzt) {
    const QString arbeit = files::findCaseInsensitive(dir, kDatenbank);
    if (arbeit.isEmpty())
        throw DatenbankFehler(
            QStringLiteral("Die Datenbank %1 wurde im Verzeichnis %2 nicht gefunden.")
                .arg(kDatenbank, QDir::toNativeSeparators(QDir(dir).absolutePath())));
    if (!QFileInfo(kopie).isFile())
        throw DatenbankFehler(QStringLiteral("Die Sicherung %1 wurde nicht gefunden.")
                                  .arg(QDir::toNativeSeparators(kopie)));

    Datensicherung sicherung(dir);
    if (!QDir().mkpath(sicherung.ordner()))
        throw DatenbankFehler(QStringLiteral("Der Ordner %1 kann nicht angelegt werden.")
                                  .arg(QDir::toNativeSeparators(sicherung.ordner())));
    const Zwischenkopie zwischen(sicherung.ordner());
    abschreiben(kopie, zwischen);
    pruefen(zwischen.pfad(), kopie);

    Datenbank ziel(sicherung::verbindungsname());
    ziel.setBusyTimeout(kWartenMs);
    ziel.open(arbeit);
    ziel.execute(QStringLiteral("PRAGMA synchronous=FULL"));
    // a program in the middle of reading or writing: nothing is done
    ziel.execute(QStringLiteral("BEGIN EXCLUSIVE"));
    ziel.execute(QStringLiteral("ROLLBACK"));

    const QString vorher = sicherung.sichern(jetzt);

    Datenbank quelle(sicherung::verbindungsname());
    quelle.open(zwischen.pfad(), true);
    sqlite3_backup* b =
        sqlite3_backup_init(sicherung::handle(ziel), "main", sicherung::handle(quelle), "main");
    if (!b)
        throw DatenbankFehler(
            datenbankmeldung::fuerCode(sqlite3_extended_errcode(sicherung::handle(ziel)), arbeit,
                                       QString::fromUtf8(sqlite3_errmsg(sicherung::handle(ziel)))));
    // all pages in one step: one transaction of the working database
    const int rc = sqlite3_backup_step(b, -1);
    sqlite3_backup_finish(b);
    if (rc != SQLITE_DONE)
        throw DatenbankFehler(
            datenbankmeldung::fuerCode(rc, arbeit, QString::fromUtf8(sqlite3_errstr(rc))));
    return vorher;
}

} // namespace wiederherstellung
