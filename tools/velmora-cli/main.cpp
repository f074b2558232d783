// velmora-cli: Velmora's commands without a window, over the same data
// module and logic as the program.
#include "cli.h"
#include "data/dates.h"
#include "data/db.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

int usage(const std::vector<cli::Befehl>& befehle, const QString& why) {
    QString text = why.isEmpty() ? QString() : why + QLatin1Char('\n');
    text += cli::usageText(befehle);
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stderr);
    return 2;
}

void qtHinweis(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtDebugMsg || type == QtInfoMsg || type == QtWarningMsg)
        return;
    const QByteArray bytes = text.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stderr);
}

} // namespace

int main(int argc, char** argv) {
    // reports measure and draw text, which needs fonts but never a screen;
    // the platform's own notes would mix into the tool's exact stderr; the
    // monthly overview's chart is drawn by widgets' graphics items
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(qtHinweis);
    QApplication app(argc, argv);
    const std::vector<cli::Befehl> befehle = cli::alleBefehle();
    QStringList words = QCoreApplication::arguments().mid(1);

    const QString aufruf = QDir::currentPath();
    QString dir = aufruf;
    std::optional<QDate> heute;
    std::optional<QString> db;
    while (!words.isEmpty() && words.front().startsWith(QLatin1String("--"))) {
        const QString option = words.takeFirst();
        if (option == QLatin1String("--dir") && !words.isEmpty()) {
            dir = words.takeFirst();
        } else if (option == QLatin1String("--db") && !words.isEmpty()) {
            db = words.takeFirst();
        } else if (option == QLatin1String("--heute") && !words.isEmpty()) {
            const QString text = words.takeFirst();
            heute = dates::parse(text);
            if (!heute)
                return usage(befehle, QStringLiteral("'%1' ist kein gültiges Datum.").arg(text));
        } else {
            return usage(befehle, QStringLiteral("Unbekannte Option %1.").arg(option));
        }
    }
    if (!QFileInfo(dir).isDir())
        return usage(befehle, QStringLiteral("Das Verzeichnis %1 gibt es nicht.").arg(dir));
    // the program works in its own directory, and so does the tool
    dir = QDir(dir).absolutePath();
    QDir::setCurrent(dir);

    // The longest command name that the words start with.
    const cli::Befehl* befehl = nullptr;
    qsizetype laenge = 0;
    for (const cli::Befehl& b : befehle) {
        const QStringList name = b.name.split(QLatin1Char(' '));
        if (name.size() > laenge && words.mid(0, name.size()) == name) {
            befehl = &b;
            laenge = name.size();
        }
    }
    if (!befehl)
        return usage(befehle, words.isEmpty()
                                  ? QString()
                                  : QStringLiteral("Unbekannter Befehl: %1").arg(words.join(' ')));

    cli::Kontext k(dir, heute, aufruf);
    try {
        k.setDatenbank(db);
    } catch (const cli::UsageError& e) {
        return usage(befehle, e.text);
    }
    // the state, the full check and the backups work on a damaged file
    const QString name = befehl->name;
    k.setVorabPruefung(name != QLatin1String("status") && name != QLatin1String("pruefen") &&
                       name != QLatin1String("init") &&
                       !name.startsWith(QLatin1String("sicherung")));
    try {
        befehl->run(k, words.mid(laenge));
        return 0;
    } catch (const cli::UsageError& e) {
        return usage(befehle,
                     e.text + QStringLiteral("\nAufruf: velmora-cli ") + befehl->usage + '\n');
    } catch (const cli::Refused& e) {
        k.err(e.text);
    } catch (const DatenbankFehler& e) {
        k.err(e.text());
    } catch (const ScriptExhausted& e) {
        k.err(QString::fromStdString(e.what()));
    } catch (const std::exception& e) {
        // a report that fails while it is laid out
        k.err(QString::fromStdString(e.what()));
    }
    return 1;
}
