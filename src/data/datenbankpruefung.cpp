#include "data/datenbankpruefung.h"

#include "data/db.h"
#include "platform/atomicfile.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlQuery>
#include <cmath>
#include <sqlite3.h>
#include <vector>

namespace datenbankpruefung {

namespace {

QString sicherungsordner(const QString& datenbankPfad) {
    return QFileInfo(datenbankPfad).absoluteDir().filePath(QStringLiteral("Datensicherung"));
}

quint32 zahl(const unsigned char* kopf, int at) {
    return (quint32(kopf[at]) << 24) | (quint32(kopf[at + 1]) << 16) |
           (quint32(kopf[at + 2]) << 8) | quint32(kopf[at + 3]);
}

} // namespace

QString inOrdnung() {
    return QStringLiteral("Die Datenbank ist in Ordnung.");
}

QString befund(const QString& path, const QStringList& probleme, const QString& dir) {
    constexpr int Hoechstens = 10;
    QStringList zeilen = probleme.mid(0, Hoechstens);
    if (probleme.size() > Hoechstens)
        zeilen << QStringLiteral("... und %1 weitere").arg(probleme.size() - Hoechstens);
    QString text = datenbankmeldung::beschaedigt(path, zeilen.join(QLatin1Char('\r')));
    const QDir sicherungen(QDir(dir).filePath(QStringLiteral("Datensicherung")));
    if (sicherungen.exists() && !sicherungen.isEmpty())
        text += QStringLiteral("\rSicherungen der Datenbank liegen im Ordner %1.")
                    .arg(QDir::toNativeSeparators(sicherungen.absolutePath()));
    return text;
}

QStringList kopfBefunde(Datenbank& db) {
    // a server has no file header, and its typed columns hold no stray values
    if (db.istServer())
        return {};
    sqlite3* handle = *static_cast<sqlite3* const*>(db.connection().driver()->handle().constData());
    sqlite3_file* datei = nullptr;
    if (!handle ||
        sqlite3_file_control(handle, "main", SQLITE_FCNTL_FILE_POINTER, &datei) != SQLITE_OK ||
        !datei || !datei->pMethods)
        return {};
    sqlite3_int64 groesse = 0;
    if (datei->pMethods->xFileSize(datei, &groesse) != SQLITE_OK)
        return {QStringLiteral("Die Größe der Datei kann nicht gelesen werden.")};
    // a file SQLite has not written yet holds no header
    if (groesse == 0)
        return {};
    unsigned char kopf[100] = {};
    if (groesse < 100 || datei->pMethods->xRead(datei, kopf, 100, 0) != SQLITE_OK)
        return {QStringLiteral("Der Dateikopf ist unvollständig.")};
    quint32 seitengroesse = (quint32(kopf[16]) << 8) | quint32(kopf[17]);
    if (seitengroesse == 1)
        seitengroesse = 65536;
    if (seitengroesse < 512 || (seitengroesse & (seitengroesse - 1)) != 0)
        return {
            QStringLiteral("Die Seitengröße im Dateikopf (%1) ist ungültig.").arg(seitengroesse)};
    // the page count in the header is valid only while it belongs to the last change
    if (zahl(kopf, 92) == zahl(kopf, 24) && zahl(kopf, 28) > 0) {
        const qint64 erwartet = qint64(zahl(kopf, 28)) * seitengroesse;
        if (groesse != erwartet)
            return {QStringLiteral("Die Datei ist %1 Bytes groß, ihr Inhalt braucht %2 Bytes.")
                        .arg(groesse)
                        .arg(erwartet)};
    } else if (groesse % seitengroesse != 0) {
        return {QStringLiteral("Die Datei ist %1 Bytes groß, kein Vielfaches der Seitengröße %2.")
                    .arg(groesse)
                    .arg(seitengroesse)};
    }
    return {};
}

QStringList markerProbleme(const QString& datenbankPfad) {
    QStringList probleme;
    if (const auto marker = markerLesen(datenbankPfad)) {
        probleme << QStringLiteral("Die letzte Datensicherung hat in der Datenbank Fehler "
                                   "gefunden; erst eine Prüfung ohne Befund gibt sie wieder frei.");
        probleme << *marker;
    }
    return probleme;
}

void vorDemSchreibenPruefen(Datenbank& db) {
    // a server has no file header, and its typed columns hold no stray values
    if (db.istServer())
        return;
    const QString dir = QFileInfo(db.path()).absolutePath();
    QStringList probleme = kopfBefunde(db);
    probleme << markerProbleme(db.path());
    if (!probleme.isEmpty())
        throw DatenbankFehler(befund(db.path(), probleme, dir));
}

void beimStartPruefen(Datenbank& db) {
    // a server has no file header, and its typed columns hold no stray values
    if (db.istServer())
        return;
    // the first read takes the shared lock and rolls back a hot journal
    db.execute(QStringLiteral("BEGIN"));
    struct Ende {
        Datenbank& db;
        ~Ende() { QSqlQuery(db.connection()).exec(QStringLiteral("COMMIT")); }
    } ende{db};
    Sql lesen = db.sql(QStringLiteral("select count(*) from sqlite_master"));
    lesen.exec();
    lesen.next();
    vorDemSchreibenPruefen(db);
}

namespace {

enum class Art { Betrag, Ganz, JaNein, Datum, Satz };

struct Spalte {
    const char* name;
    Art art;
};

struct Tabelle {
    const char* name;
    const char* id;
    // "Buchung %1", "Steuerbuchung %1 der Buchung %2": the id, then the second column
    const char* zeile;
    const char* zweite;
    std::vector<Spalte> spalten;
};

const std::vector<Tabelle>& tabellen() {
    static const std::vector<Tabelle> t = {
        {"T_Buchungen",
         "ID",
         "Buchung %1",
         nullptr,
         {{"mandant", Art::Ganz},
          {"Wirtschaftsjahr", Art::Ganz},
          {"Buchungsdatum", Art::Datum},
          {"Belegnummer", Art::Ganz},
          {"Steuersatz", Art::Satz},
          {"Betrag", Art::Betrag},
          {"BK", Art::Ganz},
          {"IstEinnahme", Art::JaNein},
          {"IstEU", Art::JaNein},
          {"IstDrittland", Art::JaNein},
          {"IstKFZ", Art::JaNein},
          {"IstGebaeude", Art::JaNein}}},
        {"t_kontenbewegungen",
         "id",
         "Steuerbuchung %1 der Buchung %2",
         "Buchungen_id",
         {{"mandant", Art::Ganz},
          {"Buchungen_id", Art::Ganz},
          {"Konten_Nr", Art::Ganz},
          {"St_Betrag", Art::Betrag}}},
    };
    return t;
}

// The condition of a wrong type, spelt exactly as the partial indexes
// ix_buchungen_typfehler and ix_kontenbewegungen_typfehler in the schema,
// so that the planner reads only their (normally no) entries.
QString falscherTyp(const Tabelle& t) {
    QStringList teile;
    for (const Spalte& s : t.spalten) {
        const QString c = QLatin1String(s.name);
        switch (s.art) {
        case Art::Datum:
            teile << QStringLiteral("typeof(%1) NOT IN ('text', 'null')").arg(c)
                  << QStringLiteral("(typeof(%1) = 'text' AND %1 NOT GLOB "
                                    "'[0-9][0-9][0-9][0-9]-[01][0-9]-[0-3][0-9]')")
                         .arg(c);
            break;
        case Art::Satz:
            teile << QStringLiteral("typeof(%1) NOT IN ('integer', 'real', 'null')").arg(c)
                  << QStringLiteral("(typeof(%1) = 'real' AND abs(%1 * 10 - round(%1 * 10)) > "
                                    "0.000001)")
                         .arg(c);
            break;
        default:
            teile << QStringLiteral("typeof(%1) NOT IN ('integer', 'null')").arg(c);
            break;
        }
    }
    return teile.join(QStringLiteral(" OR "));
}

QString warum(Art art) {
    switch (art) {
    case Art::Betrag:
        return QStringLiteral("ist keine Zahl");
    case Art::Ganz:
        return QStringLiteral("ist keine ganze Zahl");
    case Art::JaNein:
        return QStringLiteral("ist kein Ja/Nein-Wert");
    case Art::Datum:
        return QStringLiteral("ist kein Datum");
    case Art::Satz:
        return QStringLiteral("ist kein Steuersatz");
    }
    return {};
}

bool falsch(Art art, const QString& typ, const QVariant& wert) {
    if (typ == QLatin1String("null"))
        return false;
    switch (art) {
    case Art::Datum:
        return typ != QLatin1String("text") ||
               !QDate::fromString(wert.toString(), QStringLiteral("yyyy-MM-dd")).isValid();
    case Art::Satz: {
        if (typ == QLatin1String("integer"))
            return false;
        if (typ != QLatin1String("real"))
            return true;
        const double zehntel = wert.toDouble() * 10;
        return std::abs(zehntel - std::round(zehntel)) > 0.000001;
    }
    default:
        return typ != QLatin1String("integer");
    }
}

} // namespace

QStringList typBefunde(Datenbank& db, bool vollstaendig) {
    // a server has no file header, and its typed columns hold no stray values
    if (db.istServer())
        return {};
    QStringList befunde;
    for (const Tabelle& t : tabellen()) {
        QStringList spalten{QLatin1String(t.id),
                            t.zweite ? QLatin1String(t.zweite) : QLatin1String("NULL")};
        for (const Spalte& s : t.spalten)
            spalten << QStringLiteral("typeof(%1), %1").arg(QLatin1String(s.name));
        QString bedingung = falscherTyp(t);
        // date() hands an impossible day back unchanged; a modifier makes it normalise
        for (const Spalte& s : t.spalten) {
            if (vollstaendig && s.art == Art::Datum)
                bedingung +=
                    QStringLiteral(" OR (typeof(%1) = 'text' AND date(%1, '+0 days') IS NOT %1)")
                        .arg(QLatin1String(s.name));
        }
        Sql q = db.sql(QStringLiteral("SELECT %1 FROM %2 WHERE %3 ORDER BY %4%5")
                           .arg(spalten.join(QStringLiteral(", ")), QLatin1String(t.name),
                                bedingung, QLatin1String(t.id),
                                vollstaendig ? QString() : QStringLiteral(" LIMIT 10")));
        q.exec();
        while (q.next()) {
            QString zeile = QString::fromLatin1(t.zeile).arg(q.value(0).toLongLong());
            if (t.zweite)
                zeile = zeile.arg(q.value(1).toLongLong());
            for (int i = 0; i < static_cast<int>(t.spalten.size()); ++i) {
                const Spalte& s = t.spalten[static_cast<size_t>(i)];
                if (falsch(s.art, q.value(2 + 2 * i).toString(), q.value(3 + 2 * i)))
                    befunde << QStringLiteral("%1: %2 %3")
                                   .arg(zeile, QLatin1String(s.name), warum(s.art));
            }
        }
    }
    return befunde;
}

void typenSicherstellen(Datenbank& db) {
    // a server has no file header, and its typed columns hold no stray values
    if (db.istServer())
        return;
    const QStringList befunde = typBefunde(db, false);
    if (!befunde.isEmpty())
        throw DatenbankFehler(befund(db.path(), befunde, QFileInfo(db.path()).absolutePath()));
}

QString markerPfad(const QString& datenbankPfad) {
    return QDir(sicherungsordner(datenbankPfad))
        .filePath(QStringLiteral("Datenbank_beschaedigt.txt"));
}

bool markerSetzen(const QString& datenbankPfad, const QStringList& probleme) {
    if (!QDir().mkpath(sicherungsordner(datenbankPfad)))
        return false;
    return writeFileAtomically(markerPfad(datenbankPfad),
                               (probleme.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8(),
                               nullptr, true);
}

std::optional<QStringList> markerLesen(const QString& datenbankPfad) {
    QFile f(markerPfad(datenbankPfad));
    if (!f.exists())
        return std::nullopt;
    // a marker that cannot be read still blocks
    QStringList zeilen;
    if (f.open(QIODevice::ReadOnly))
        zeilen = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    return zeilen;
}

void markerEntfernen(const QString& datenbankPfad) {
    QFile::remove(markerPfad(datenbankPfad));
}

} // namespace datenbankpruefung
