#pragma once

#include "data/serverziel.h"
#include "platform/clock.h"
#include "platform/scripteduserseam.h"
#include "platform/settingsfile.h"
#include "toolkit/umgebung.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>

class TDM_EinAus;
class QSqlQueryModel;
class QSqlRecord;

namespace cli {

// Exit status 2: the usage text follows.
class UsageError : public std::runtime_error {
public:
    explicit UsageError(const QString& text) : std::runtime_error(text.toStdString()), text(text) {}
    QString text;
};

// Exit status 1: the message the window would show.
class Refused : public std::runtime_error {
public:
    explicit Refused(const QString& text) : std::runtime_error(text.toStdString()), text(text) {}
    QString text;
};

// The words after the command: positional arguments and "--name [value]" options.
class Args {
public:
    // flags: options without a value; values: options that take one.
    Args(const QStringList& words, const QStringList& flags, const QStringList& values);

    const QStringList& positional() const { return m_positional; }
    QString at(int i, const char* what) const;
    void expectPositional(int count) const;
    bool flag(const QString& name) const { return m_flags.contains(name); }
    std::optional<QString> value(const QString& name) const;
    // Flags in the order they were given, for rules applied in that order.
    const QStringList& flagOrder() const { return m_flagOrder; }

private:
    QStringList m_positional;
    QStringList m_flags;
    QStringList m_flagOrder;
    std::map<QString, QString> m_values;
};

// One run of the tool in its program directory.
class Kontext {
public:
    // aufruf: the shell's working directory, which relative file names
    // given to the tool are relative to.
    Kontext(QString dir, std::optional<QDate> heute, QString aufruf);
    ~Kontext();

    const QString& dir() const { return m_dir; }
    // --db URL; without it VELMORA_DB or the settings' "Datenbank" /
    // "Verbindung" may still name a server. A UsageError for a bad address.
    void setDatenbank(const std::optional<QString>& option);
    // The server the books are on, none for the working database file.
    const std::optional<serverziel::Ziel>& server() const { return m_server; }
    // A file name given on the command line, made absolute against the
    // shell's working directory (the tool itself works in dir()).
    QString datei(const QString& name) const;
    const Clock& clock() const { return *m_clock; }
    ScriptedUserSeam& ui() { return m_ui; }
    SettingsFile& ini() { return m_ini; }
    TDM_EinAus& dm();
    Umgebung& umgebung();

    // Opens the working database; refuses when it has no current client and
    // fiscal year yet (those come from `init`).
    void oeffnen();
    // Opens it for `init`, which may create the first client and year.
    void oeffnenOhnePruefung();
    // Whether oeffnen first looks for damage anywhere in the file: the
    // backup's marker, and for a file up to kGanzPruefenBis bytes SQLite's
    // integrity check over every page and index. Larger files rely on the window's check at
    // its start and on the backup, whose findings leave the marker.
    void setVorabPruefung(bool an) { m_vorabPruefung = an; }
    static constexpr qint64 kGanzPruefenBis = 4 * 1024 * 1024;

    void out(const QString& line);
    void err(const QString& line);

private:
    void vorabPruefen();

    QString m_dir;
    std::optional<serverziel::Ziel> m_server;
    bool m_vorabPruefung = false;
    QString m_aufruf;
    std::unique_ptr<Clock> m_clock;
    ScriptedUserSeam m_ui;
    SettingsFile m_ini;
    std::unique_ptr<TDM_EinAus> m_dm;
    std::unique_ptr<Umgebung> m_umgebung;
};

using Handler = std::function<void(Kontext&, const QStringList& words)>;

struct Befehl {
    QString name;  // "mandant neu"
    QString usage; // "mandant neu NAME"
    Handler run;
};

// Every command of the tool, in the order of the usage text; each area of
// the program appends its own.
std::vector<Befehl> alleBefehle();
void startBefehle(std::vector<Befehl>& out);
void stammdatenBefehle(std::vector<Befehl>& out);
void buchungsBefehle(std::vector<Befehl>& out);
void protokollBefehle(std::vector<Befehl>& out);
void berichtBefehle(std::vector<Befehl>& out);
void exportBefehle(std::vector<Befehl>& out);
void bankBefehle(std::vector<Befehl>& out);
void anlagenBefehle(std::vector<Befehl>& out);
void e1aBefehle(std::vector<Befehl>& out);

QString usageText(const std::vector<Befehl>& befehle);

// Parsing shared by the commands, with the program's messages.
int ganzzahl(const QString& text, const QString& was);
QDate datum(const QString& text);
// --zeitraum: a period code 1 to 17; a UsageError for anything else.
int zeitraumCode(const Args& args);

// Every row of one of the data module's list models, read to its end.
void zeilen(QSqlQueryModel& model, const std::function<void(const QSqlRecord&)>& zeile);

} // namespace cli
