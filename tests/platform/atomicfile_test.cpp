#include "desktop/desktopverknuepfung.h"
#include "platform/atomicfile.h"
#include "platform/settingsfile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <csignal>
#include <functional>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utime.h>

namespace {

QByteArray inhalt(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<fehlt>");
}

void anlegen(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// A file-size limit for this process while it lives, as `ulimit -f` sets it;
// the signal is ignored so that the write fails with EFBIG instead.
class Groessengrenze {
public:
    explicit Groessengrenze(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &m_vorher);
        m_signal = std::signal(SIGXFSZ, SIG_IGN);
        rlimit neu = m_vorher;
        neu.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &neu);
    }
    ~Groessengrenze() {
        setrlimit(RLIMIT_FSIZE, &m_vorher);
        std::signal(SIGXFSZ, m_signal);
    }

private:
    rlimit m_vorher{};
    void (*m_signal)(int) = nullptr;
};

QStringList temporaere(const QString& dir) {
    return QDir(dir).entryList({QStringLiteral(".*velmora*")}, QDir::Files | QDir::Hidden);
}

class AtomicFileTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
};

// Each writer that the program routes through the one helper; all four get
// more than the limit allows, or a name beside which no temporary file fits.
TEST_F(AtomicFileTest, AFailedWriteLeavesTheEarlierFileAndNoTemporaryAndSaysWhy) {
    struct Schreiber {
        const char* name;
        // the file written into dir; a name of 255 characters when lang
        std::function<QString(const QString& dir, bool lang)> ziel;
        std::function<bool(const QString& path, QString& fehler)> schreiben;
    };
    const QByteArray gross(4096, 'x');
    const auto frei = [](const QString& dir, bool lang) {
        return dir + "/" + (lang ? QString(255, QLatin1Char('z')) : QStringLiteral("ziel.ini"));
    };
    const Schreiber schreiber[] = {
        {"bytes", frei,
         [&](const QString& p, QString& fehler) { return writeFileAtomically(p, gross, &fehler); }},
        {"settings file", frei,
         [&](const QString& p, QString& fehler) {
             SettingsFile ini(p);
             const bool ok = ini.writeString("Buchen Mandant 1", "Buchungstext", gross);
             fehler = ini.lastError();
             return ok;
         }},
        // its name is fixed; a long program path makes it larger than the limit
        {"desktop launcher",
         [](const QString& dir, bool) { return dir + "/" + desktopverknuepfung::dateiName(); },
         [](const QString& p, QString& fehler) {
             const QString desktop = QFileInfo(p).absolutePath();
             const bool ok = desktopverknuepfung::erstellen(
                 desktop, desktop + "/" + QString(200, QLatin1Char('v')));
             fehler = atomicfile::message(p, atomicfile::cause(EFBIG));
             return ok;
         }},
    };
    struct Fall {
        const char* name;
        bool grenze;
        bool frueher;
    };
    const Fall faelle[] = {{"size limit, no earlier file", true, false},
                           {"size limit, earlier file", true, true},
                           {"no room for a temporary name, earlier file", false, true}};
    for (const Schreiber& s : schreiber) {
        for (const Fall& f : faelle) {
            SCOPED_TRACE(std::string(s.name) + ", " + f.name);
            QTemporaryDir ordner;
            const QString ziel = s.ziel(ordner.path(), !f.grenze);
            if (!f.grenze && QFileInfo(ziel).fileName().size() < 255)
                continue;
            const QByteArray frueher = "[Einstellungen]\r\nDesktopIcon=true\r\n";
            if (f.frueher)
                anlegen(ziel, frueher);
            QString fehler;
            bool ok = false;
            if (f.grenze) {
                Groessengrenze grenze(64);
                ok = s.schreiben(ziel, fehler);
            } else {
                ok = s.schreiben(ziel, fehler);
            }
            EXPECT_FALSE(ok);
            EXPECT_EQ(inhalt(ziel), f.frueher ? frueher : QByteArray("<fehlt>"));
            EXPECT_EQ(temporaere(ordner.path()), QStringList());
            EXPECT_EQ(fehler, "Die Datei " + ziel + " konnte nicht geschrieben werden: " +
                                  (f.grenze ? "Die Datei überschreitet die zulässige Größe."
                                            : "Schreibfehler."));
        }
    }
}

TEST_F(AtomicFileTest, ANewFileGetsTheUsualModeAndAReplacedOneKeepsItsOwn) {
    const mode_t maske = ::umask(022);
    const QString neu = dir.filePath("neu.txt");
    const QString alt = dir.filePath("alt.txt");
    anlegen(alt, "alt");
    ::chmod(QFile::encodeName(alt).constData(), 0600);
    ASSERT_TRUE(writeFileAtomically(neu, "eins", nullptr));
    ASSERT_TRUE(writeFileAtomically(alt, "zwei", nullptr));
    ::umask(maske);
    struct stat st {};
    ::stat(QFile::encodeName(neu).constData(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0644u);
    ::stat(QFile::encodeName(alt).constData(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_EQ(inhalt(alt), "zwei");
    EXPECT_EQ(temporaere(dir.path()), QStringList());
}

TEST_F(AtomicFileTest, AnUncommittedFileNeverReplacesTheTarget) {
    const QString ziel = dir.filePath("ziel.txt");
    anlegen(ziel, "alt");
    {
        AtomicFile f;
        ASSERT_TRUE(f.open(ziel));
        ASSERT_TRUE(f.write(QByteArray("neu")));
        EXPECT_TRUE(QFileInfo::exists(f.temporaryPath()));
        EXPECT_TRUE(QFileInfo(f.temporaryPath())
                        .fileName()
                        .startsWith(QStringLiteral(".ziel.txt.velmora.%1.").arg(::getpid())));
    }
    EXPECT_EQ(inhalt(ziel), "alt");
    EXPECT_EQ(temporaere(dir.path()), QStringList());
}

// A leftover goes only when its process is gone and no one holds it locked.
TEST_F(AtomicFileTest, StaleTemporariesGoAndThoseInUseStay) {
    QProcess lebt;
    lebt.start("sleep", {"30"});
    ASSERT_TRUE(lebt.waitForStarted());
    const qint64 tot = 2147483646; // beyond any pid_max
    const QDateTime alt = QDateTime::currentDateTime().addSecs(-7200);
    struct Fall {
        QString name;
        bool sperren;
        bool alt;
        bool bleibt;
    };
    const Fall faelle[] = {
        {QStringLiteral(".a.xml.velmora.%1.Ab12Cd").arg(tot), false, false, false},
        {QStringLiteral(".b.xml.velmora.%1.Ab12Cd").arg(tot), true, false, true},
        {QStringLiteral(".c.xml.velmora.%1.Ab12Cd").arg(lebt.processId()), false, true, true},
        {QStringLiteral(".d.xml.velmora.%1.Ab12Cd").arg(::getpid()), false, true, true},
        {QStringLiteral(".velmora-Xy34Zw.xlsx"), false, true, false},
        {QStringLiteral(".velmora-Qr56St.xlsx"), false, false, true},
        {QStringLiteral("e.xml.velmora.%1.Ab12Cd").arg(tot), false, true, true},
        {QStringLiteral("f.xml"), false, true, true},
    };
    std::vector<int> sperren;
    for (const Fall& f : faelle) {
        const QString p = dir.filePath(f.name);
        anlegen(p, "x");
        if (f.alt) {
            const utimbuf zeit{alt.toSecsSinceEpoch(), alt.toSecsSinceEpoch()};
            ::utime(QFile::encodeName(p).constData(), &zeit);
        }
        if (f.sperren) {
            const int fd = ::open(QFile::encodeName(p).constData(), O_RDONLY);
            ASSERT_EQ(::flock(fd, LOCK_EX), 0);
            sperren.push_back(fd);
        }
    }
    EXPECT_EQ(atomicfile::removeStaleTemporaries(dir.path()), 2);
    for (const Fall& f : faelle)
        EXPECT_EQ(QFileInfo::exists(dir.filePath(f.name)), f.bleibt) << f.name.toStdString();
    for (int fd : sperren)
        ::close(fd);
    lebt.kill();
    lebt.waitForFinished();
}

TEST_F(AtomicFileTest, CausesAreGermanSentences) {
    const std::pair<int, const char*> faelle[] = {
        {ENOSPC, "Der Datenträger ist voll."},
        {EDQUOT, "Der Datenträger ist voll."},
        {EFBIG, "Die Datei überschreitet die zulässige Größe."},
        {EACCES, "Keine Berechtigung."},
        {EROFS, "Keine Berechtigung."},
        {EIO, "Schreibfehler."},
    };
    for (const auto& [code, text] : faelle)
        EXPECT_EQ(atomicfile::cause(code), QString::fromUtf8(text)) << code;
}

} // namespace
