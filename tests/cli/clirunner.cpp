#include "clirunner.h"

#include "testserver.h"

#include <QFile>
#include <QProcess>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

CliRunner::CliRunner() : m_dirPath(m_dir.path()) {
    QFile::copy(QStringLiteral(VELMORA_TEMPLATE_PATH), m_dirPath + "/Velmora_neu.mdb");
    QFile::setPermissions(m_dirPath + "/Velmora_neu.mdb",
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    // on the test server the books start as an empty database, which init fills
    if (testserver::aktiv()) {
        testserver::leereDatenbank();
        m_server = testserver::url();
    }
}

CliErgebnis CliRunner::run(const QStringList& args, const QString& heute) const {
    return run(args, heute, -1);
}

CliErgebnis CliRunner::runBegrenzt(const QStringList& args, qint64 bytes) const {
    return run(args, QStringLiteral("10.12.2026"), bytes);
}

CliErgebnis CliRunner::run(const QStringList& args, const QString& heute, qint64 grenze) const {
    QProcess p;
    if (grenze >= 0)
        p.setChildProcessModifier([grenze] {
            std::signal(SIGXFSZ, SIG_IGN);
            rlimit r{};
            getrlimit(RLIMIT_FSIZE, &r);
            r.rlim_cur = static_cast<rlim_t>(grenze);
            setrlimit(RLIMIT_FSIZE, &r);
        });
    QStringList all{QStringLiteral("--dir"), m_dirPath};
    if (!heute.isEmpty())
        all << QStringLiteral("--heute") << heute;
    if (!arbeitsverzeichnis.isEmpty())
        p.setWorkingDirectory(arbeitsverzeichnis);
    if (!m_server.isEmpty()) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("VELMORA_DB"), m_server);
        p.setProcessEnvironment(env);
    }
    p.start(QStringLiteral(VELMORA_CLI_PATH), all + args);
    p.closeWriteChannel();
    p.waitForFinished(60000);
    CliErgebnis r;
    r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    // status names the server first; the tests compare what follows it
    if (!m_server.isEmpty() && r.out.startsWith(QLatin1String("Datenbank\tpostgresql://")))
        r.out = r.out.section(QLatin1Char('\n'), 1);
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

QString CliRunner::ok(const QStringList& args) const {
    const CliErgebnis r = run(args);
    EXPECT_EQ(r.status, 0) << args.join(' ').toStdString() << "\n" << r.err.toStdString();
    return r.out;
}

QByteArray CliRunner::databaseBytes() const {
    QFile f(m_dirPath + "/Velmora_tab.mdb");
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString CliRunner::golden(const QString& name) {
    QFile f(QStringLiteral(VELMORA_GOLDEN_DIR) + "/" + name);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name.toStdString();
    return QString::fromUtf8(f.readAll());
}

void CliRunner::erstesQuartal() const {
    ok({"init", "--mandant", "Huber KG", "--jahr", "2026"});
    ok({"bk", "neu", "Erlöse", "ER"});
    const QList<QStringList> buchungen = {
        {"--datum", "02.01.2026", "--betrag", "1.200,00", "--satz", "20"},
        {"--datum", "15.02.2026", "--betrag", "110", "--satz", "10"},
        {"--datum", "31.03.2026", "--betrag", "80", "--satz", "0"},
        {"--ausgabe", "--kfz", "--datum", "03.03.2026", "--betrag", "240", "--satz", "20"},
        {"--ausgabe", "--eu", "--datum", "06.03.2026", "--betrag", "1000", "--satz", "20"},
        {"--ausgabe", "--drittland", "--datum", "08.03.2026", "--betrag", "150", "--satz", "0"},
        {"--datum", "01.04.2026", "--betrag", "1000", "--satz", "20"},
    };
    for (const QStringList& b : buchungen)
        ok(QStringList{"buchung", "neu", "--bk", "1"} + b);
}
