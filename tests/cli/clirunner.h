#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// Runs the built velmora-cli in a temporary program directory.
struct CliErgebnis {
    int status = -1;
    QString out;
    QString err;
};

class CliRunner {
public:
    CliRunner();
    const QString& dir() const { return m_dirPath; }
    // velmora-cli --dir DIR --heute 10.12.2026 ARGS...
    CliErgebnis run(const QStringList& args,
                    const QString& heute = QStringLiteral("10.12.2026")) const;
    // The same with files limited to this many bytes (`ulimit -f`), with
    // SIGXFSZ ignored so that a write beyond fails with EFBIG.
    CliErgebnis runBegrenzt(const QStringList& args, qint64 bytes) const;
    // Fails the test unless the command succeeded; answers its stdout.
    QString ok(const QStringList& args) const;
    QByteArray databaseBytes() const;
    // The working directory the tool is started in; empty: the test's own.
    QString arbeitsverzeichnis;
    // Client "Huber KG" with 2026, circle 1 "Erlöse" and the first quarter of
    // the report tests: revenues at 20, 10 and 0 %, a vehicle expense, an
    // intra-community acquisition, import VAT, and one booking of April.
    void erstesQuartal() const;
    static QString golden(const QString& name);

private:
    CliErgebnis run(const QStringList& args, const QString& heute, qint64 grenze) const;

    QTemporaryDir m_dir;
    QString m_dirPath;
    QString m_server; // the test server's books, given to the tool as VELMORA_DB
};
