#include "cli.h"

#include "data/datenbankpruefung.h"
#include "data/dates.h"
#include "data/db.h"
#include "data/dm_einaus.h"
#include "reports/zeitraum.h"
#include "toolkit/qtuserseam.h"

#include <QSqlQueryModel>
#include <QSqlRecord>

#include <QDir>
#include <QFileInfo>
#include <cstdio>
#include <vector>

namespace cli {

Args::Args(const QStringList& words, const QStringList& flags, const QStringList& values) {
    for (qsizetype i = 0; i < words.size(); ++i) {
        const QString& w = words[i];
        if (w.startsWith(QLatin1String("--")) && w.size() > 2) {
            if (flags.contains(w)) {
                m_flags << w;
                m_flagOrder << w;
            } else if (values.contains(w)) {
                if (i + 1 >= words.size())
                    throw UsageError(QStringLiteral("Die Option %1 braucht einen Wert.").arg(w));
                m_values[w] = words[++i];
            } else {
                throw UsageError(QStringLiteral("Unbekannte Option %1.").arg(w));
            }
        } else {
            m_positional << w;
        }
    }
}

QString Args::at(int i, const char* what) const {
    if (i >= m_positional.size())
        throw UsageError(QStringLiteral("%1 fehlt.").arg(QLatin1String(what)));
    return m_positional[i];
}

void Args::expectPositional(int count) const {
    if (m_positional.size() != count)
        throw UsageError(QStringLiteral("Falsche Anzahl von Argumenten."));
}

std::optional<QString> Args::value(const QString& name) const {
    const auto it = m_values.find(name);
    if (it == m_values.end())
        return std::nullopt;
    return it->second;
}

Kontext::Kontext(QString dir, std::optional<QDate> heute, QString aufruf)
    : m_dir(std::move(dir)), m_aufruf(std::move(aufruf)),
      m_ini(QDir(m_dir).filePath(QStringLiteral("velmora.ini"))) {
    if (heute)
        m_clock = std::make_unique<FixedClock>(QDateTime(*heute, QTime(0, 0)));
    else
        m_clock = std::make_unique<SystemClock>();
    m_ini.setProblemReporter([this](const QString& text) { err(text); });
}

void Kontext::setDatenbank(const std::optional<QString>& option) {
    const QString url = serverziel::waehlen(option, m_ini);
    if (url.isEmpty())
        return;
    QString fehler;
    m_server = serverziel::lesen(url, &fehler);
    if (!m_server)
        throw UsageError(fehler);
}

QString Kontext::datei(const QString& name) const {
    return QDir(m_aufruf).absoluteFilePath(name);
}

Kontext::~Kontext() {
    m_umgebung.reset();
    m_dm.reset();
}

TDM_EinAus& Kontext::dm() {
    if (!m_dm)
        oeffnen();
    return *m_dm;
}

Umgebung& Kontext::umgebung() {
    if (!m_umgebung)
        oeffnen();
    return *m_umgebung;
}

void Kontext::oeffnenOhnePruefung() {
    if (m_dm)
        return;
    m_dm = std::make_unique<TDM_EinAus>(m_dir, m_ui, *m_clock);
    m_dm->setServer(m_server);
    m_dm->ADO_VelmoraConnect();
    m_umgebung = std::make_unique<Umgebung>(Umgebung{*m_dm, m_ui, m_ini, *m_clock});
}

void Kontext::oeffnen() {
    oeffnenOhnePruefung();
    // a read that fails is reported as such; an empty answer may hide damage
    if (!m_dm->mandantLesen() || !m_dm->zeitraumLesen()) {
        m_dm->aufSchaedenPruefen();
        throw Refused(QStringLiteral("Es gibt noch keinen aktuellen Mandanten mit Wirtschaftsjahr: "
                                     "zuerst velmora-cli init."));
    }
    m_dm->StammdatenFiltern(m_dm->gibMandant());
    if (m_vorabPruefung)
        vorabPruefen();
}

void Kontext::vorabPruefen() {
    Datenbank& db = m_dm->db();
    // the server checks its own pages on every read
    if (db.istServer())
        return;
    const QString pfad = db.path();
    if (const QStringList marker = datenbankpruefung::markerProbleme(pfad); !marker.isEmpty())
        throw Refused(datenbankpruefung::befund(pfad, marker, m_dir));
    if (QFileInfo(pfad).size() > kGanzPruefenBis)
        return;
    // the check of "pruefen": unlike quick_check it also finds an index that
    // no longer matches its table, which would give wrong totals
    const QStringList befunde = db.integritaetPruefen();
    if (befunde.isEmpty())
        return;
    // the window and every later command see it too, until pruefen passes
    datenbankpruefung::markerSetzen(pfad, befunde);
    throw Refused(datenbankpruefung::befund(pfad, befunde, m_dir));
}

void Kontext::out(const QString& line) {
    const QByteArray bytes = line.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
}

void Kontext::err(const QString& line) {
    const QByteArray bytes = displayText(line).toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stderr);
}

QString usageText(const std::vector<Befehl>& befehle) {
    QString text = QStringLiteral(
        "Aufruf: velmora-cli [--dir DIR] [--db postgresql://BENUTZER@HOST/DATENBANK] "
        "[--heute TT.MM.JJJJ] BEFEHL ...\n\nBefehle:\n");
    for (const Befehl& b : befehle)
        text += QStringLiteral("  ") + b.usage + QLatin1Char('\n');
    text += QStringLiteral(
        "\nVor jedem Befehl außer status, pruefen, init und sicherung wird eine Datenbank bis "
        "4 MB ganz auf Schäden geprüft; eine größere prüft Velmora bei jedem Start im "
        "Hintergrund und die Datensicherung an ihrer Kopie. Was sie finden, sperrt jeden "
        "Befehl, bis pruefen die Datenbank in Ordnung findet.\n");
    return text;
}

int ganzzahl(const QString& text, const QString& was) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok)
        throw Refused(QStringLiteral("'%1' ist keine gültige Zahl für %2.").arg(text, was));
    return value;
}

void zeilen(QSqlQueryModel& model, const std::function<void(const QSqlRecord&)>& zeile) {
    while (model.canFetchMore())
        model.fetchMore();
    for (int row = 0; row < model.rowCount(); ++row)
        zeile(model.record(row));
}

int zeitraumCode(const Args& args) {
    const auto text = args.value(QStringLiteral("--zeitraum"));
    if (!text)
        throw UsageError(QStringLiteral("Der Zeitraum fehlt (--zeitraum 1 bis 17)."));
    bool ok = false;
    const int code = text->toInt(&ok);
    if (!ok || code < ersterZeitraumCode || code > letzterZeitraumCode)
        throw UsageError(QStringLiteral("'%1' ist kein Zeitraum von 1 bis 17.").arg(*text));
    return code;
}

QDate datum(const QString& text) {
    const auto d = dates::parse(text);
    if (!d)
        throw Refused(QStringLiteral("'%1' ist kein gültiges Datum.").arg(text));
    return *d;
}

} // namespace cli
