#include "sicherung/aktualisierung.h"

#include "data/aenderungsprotokoll.h"
#include "data/db.h"
#include "data/dm_einaus.h"
#include "data/sqldialekt.h"
#include "platform/files.h"
#include "sicherung/datensicherung.h"
#include "sicherung/verbindung.h"
#include "sicherung/vorlageschema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <map>
#include <vector>

namespace aktualisierung {

namespace {

// The server folds unquoted names, as its statements expect; the template's
// names are plain identifiers.
QString bezeichner(const Datenbank& db, const QString& name) {
    if (db.istServer())
        return name;
    QString n = name;
    n.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + n + QLatin1Char('"');
}

struct Spalte {
    QString name;
    QString typ;
    bool nichtNull = false;
    QVariant vorgabe; // the default as written in the schema, null for none
};

struct Tabelle {
    QString name;
    QString sql;
    std::vector<Spalte> spalten;
};

struct Index {
    QString name;
    QString sql;
};

// Schema objects by name without regard to case, as SQLite matches them.
template <typename T> using NachName = std::map<QString, T>;
QString schluessel(const QString& name) {
    return name.toLower();
}

std::vector<Spalte> spaltenLesen(Datenbank& db, const QString& tabelle) {
    std::vector<Spalte> spalten;
    if (db.istServer()) {
        Sql q = db.sql(QStringLiteral(
            "select column_name, data_type, is_nullable, column_default from "
            "information_schema.columns where table_schema = 'public' and table_name = :t "
            "order by ordinal_position"));
        q.bind(QStringLiteral("t"), tabelle).exec();
        while (q.next())
            spalten.push_back({q.value(0).toString(), q.value(1).toString(),
                               q.value(2).toString() == QLatin1String("NO"), q.value(3)});
        return spalten;
    }
    Sql q = db.sql(QStringLiteral("PRAGMA table_info(%1)").arg(bezeichner(db, tabelle)));
    q.exec();
    while (q.next())
        spalten.push_back(
            {q.value(1).toString(), q.value(2).toString(), q.value(3).toInt() != 0, q.value(4)});
    return spalten;
}

NachName<Tabelle> tabellenLesen(Datenbank& db) {
    NachName<Tabelle> tabellen;
    if (db.istServer()) {
        for (const QString& name : db.tabellen())
            tabellen[schluessel(name)] = {name, QString(), {}};
    } else {
        Sql q = db.sql(QStringLiteral("select name, sql from sqlite_master where type = 'table' "
                                      "and name not like 'sqlite\\_%' escape '\\'"));
        q.exec();
        while (q.next())
            tabellen[schluessel(q.value(0).toString())] = {
                q.value(0).toString(), q.value(1).toString(), {}};
    }
    for (auto& [_, t] : tabellen)
        t.spalten = spaltenLesen(db, t.name);
    return tabellen;
}

NachName<Index> indizesLesen(Datenbank& db) {
    NachName<Index> indizes;
    // indexes of constraints have no statement of their own and come with their table
    Sql q = db.sql(db.istServer()
                       ? QStringLiteral("select indexname, indexdef from pg_indexes where "
                                        "schemaname = 'public'")
                       : QStringLiteral("select name, sql from sqlite_master where type = 'index' "
                                        "and sql is not null"));
    q.exec();
    while (q.next())
        indizes[schluessel(q.value(0).toString())] = {q.value(0).toString(), q.value(1).toString()};
    return indizes;
}

// Every row of a table of the template, column by column.
std::vector<std::vector<QVariant>> zeilenLesen(Datenbank& db, const Tabelle& t) {
    QStringList namen;
    for (const Spalte& s : t.spalten)
        namen << bezeichner(db, s.name);
    Sql q = db.sql(QStringLiteral("select %1 from %2")
                       .arg(namen.join(QLatin1Char(',')), bezeichner(db, t.name)));
    q.exec();
    std::vector<std::vector<QVariant>> zeilen;
    while (q.next()) {
        std::vector<QVariant> zeile;
        for (int i = 0; i < static_cast<int>(t.spalten.size()); ++i)
            zeile.push_back(q.value(i));
        zeilen.push_back(std::move(zeile));
    }
    return zeilen;
}

void zeileEinfuegen(Datenbank& db, const Tabelle& t, const std::vector<QVariant>& zeile) {
    QStringList namen;
    QStringList werte;
    for (int i = 0; i < static_cast<int>(t.spalten.size()); ++i) {
        namen << bezeichner(db, t.spalten[i].name);
        werte << QStringLiteral(":w%1").arg(i);
    }
    Sql q = db.sql(QStringLiteral("insert into %1 (%2) values (%3)")
                       .arg(bezeichner(db, t.name), namen.join(QLatin1Char(',')),
                            werte.join(QLatin1Char(','))));
    for (int i = 0; i < static_cast<int>(zeile.size()); ++i)
        q.bind(QStringLiteral("w%1").arg(i), zeile[static_cast<size_t>(i)]);
    q.exec();
}

bool hatSpalte(const Tabelle& t, const QString& name) {
    for (const Spalte& s : t.spalten)
        if (s.name.compare(name, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

QString spaltenDefinition(const Datenbank& db, const Spalte& s) {
    QString def = bezeichner(db, s.name);
    if (!s.typ.isEmpty())
        def += QLatin1Char(' ') +
               (db.istServer() ? sqldialekt::spaltentypFuerPostgres(s.name, s.typ) : s.typ);
    if (s.nichtNull)
        def += QStringLiteral(" NOT NULL");
    if (!s.vorgabe.isNull())
        def += QStringLiteral(" DEFAULT ") + s.vorgabe.toString();
    return def;
}

struct Vorlage {
    NachName<Tabelle> tabellen;
    NachName<Index> indizes;
    std::map<QString, std::vector<std::vector<QVariant>>> zeilen; // by table key
};

Vorlage vorlageLesen(const QString& path) {
    if (const QString keine = TDM_EinAus::keineVelmoraDatenbank(path); !keine.isEmpty())
        throw DatenbankFehler(QStringLiteral("Die Vorlage wurde nicht verwendet: ") + keine);
    Datenbank db(sicherung::verbindungsname());
    db.open(path, true);
    if (const QStringList probleme = db.integritaetPruefen(); !probleme.isEmpty())
        throw DatenbankFehler(QStringLiteral("Die Vorlage wurde nicht verwendet: ") +
                              datenbankmeldung::beschaedigt(path, probleme.mid(0, 10).join('\r')));
    Vorlage v;
    v.tabellen = tabellenLesen(db);
    v.indizes = indizesLesen(db);
    for (const auto& [key, t] : v.tabellen)
        v.zeilen[key] = zeilenLesen(db, t);
    return v;
}

// Adds to db what the template has and db lacks, in one transaction.
QStringList ergaenzen(Datenbank& db, const Vorlage& vorlage, const QDateTime& jetzt) {
    QStringList ergaenzt;
    {
        Transaktion t(db);
        // the German name order the statements ask for by name
        if (db.istServer())
            db.execute(QStringLiteral("CREATE COLLATION IF NOT EXISTS deutsch "
                                      "(provider = icu, locale = 'de-AT')"));
        NachName<Tabelle> tabellen = tabellenLesen(db);
        const NachName<Index> indizes = indizesLesen(db);
        for (const auto& [key, soll] : vorlage.tabellen) {
            const auto ist = tabellen.find(key);
            if (ist == tabellen.end()) {
                db.execute(db.istServer() ? sqldialekt::ddlFuerPostgres(soll.sql) : soll.sql);
                for (const auto& zeile : vorlage.zeilen.at(key))
                    zeileEinfuegen(db, soll, zeile);
                ergaenzt << QStringLiteral("Tabelle %1").arg(soll.name);
                continue;
            }
            for (const Spalte& s : soll.spalten) {
                if (hatSpalte(ist->second, s.name))
                    continue;
                db.execute(QStringLiteral("ALTER TABLE %1 ADD COLUMN %2")
                               .arg(bezeichner(db, ist->second.name), spaltenDefinition(db, s)));
                ergaenzt << QStringLiteral("Spalte %1.%2").arg(ist->second.name, s.name);
            }
        }
        for (const auto& [key, soll] : vorlage.indizes) {
            if (indizes.count(key))
                continue;
            const QString ddl = db.istServer() ? sqldialekt::ddlFuerPostgres(soll.sql) : soll.sql;
            if (ddl.isEmpty())
                continue;
            db.execute(ddl);
            ergaenzt << QStringLiteral("Index %1").arg(soll.name);
        }
        // the chart of accounts: an account the user's file lacks, by its number
        const QString konten = schluessel(QStringLiteral("T_Kontenplan"));
        if (vorlage.tabellen.count(konten) && tabellen.count(konten)) {
            const Tabelle& soll = vorlage.tabellen.at(konten);
            int nummer = -1;
            for (int i = 0; i < static_cast<int>(soll.spalten.size()); ++i)
                if (soll.spalten[static_cast<size_t>(i)].name.compare(QLatin1String("Kontonummer"),
                                                                      Qt::CaseInsensitive) == 0)
                    nummer = i;
            for (const auto& zeile : vorlage.zeilen.at(konten)) {
                if (nummer < 0)
                    break;
                const QVariant konto = zeile[static_cast<size_t>(nummer)];
                Sql da = db.sql(QStringLiteral("select 1 from %1 where Kontonummer = :konto")
                                    .arg(bezeichner(db, tabellen.at(konten).name)));
                da.bind(QStringLiteral("konto"), konto).exec();
                if (da.next())
                    continue;
                zeileEinfuegen(db, soll, zeile);
                ergaenzt << QStringLiteral("Konto %1").arg(konto.toString());
            }
        }
        // a log that arrives after the bookings starts with what is there, so
        // that its check covers them
        const QString protokoll = schluessel(QStringLiteral("T_Protokoll"));
        if (vorlage.tabellen.count(protokoll) && !tabellen.count(protokoll)) {
            const int anzahl = aenderungsprotokoll::bestandUebernehmen(db, jetzt);
            ergaenzt << QStringLiteral("Protokoll: %1 Buchungen übernommen").arg(anzahl);
        }
        t.commit();
    }
    return ergaenzt;
}

} // namespace

QString vorlageName() {
    return QStringLiteral("Velmora_neu.mdb");
}

Ergebnis aktualisieren(const QString& dir, const QDateTime& jetzt) {
    Ergebnis e;
    const QString vorlagePfad = files::findCaseInsensitive(dir, vorlageName());
    if (vorlagePfad.isEmpty())
        return e;
    e.vorlageGefunden = true;
    const QString arbeitsPfad = files::findCaseInsensitive(dir, TDM_EinAus::connectionFileName());
    if (arbeitsPfad.isEmpty())
        throw DatenbankFehler(
            QStringLiteral("Die Datenbank %1 wurde im Verzeichnis %2 nicht gefunden.")
                .arg(TDM_EinAus::connectionFileName(),
                     QDir::toNativeSeparators(QDir(dir).absolutePath())));
    const Vorlage vorlage = vorlageLesen(vorlagePfad);

    e.sicherung = Datensicherung(dir).sichern(jetzt);

    Datenbank db(sicherung::verbindungsname());
    db.open(arbeitsPfad);
    db.execute(QStringLiteral("PRAGMA synchronous=FULL"));
    e.ergaenzt = ergaenzen(db, vorlage, jetzt);
    db.close();

    // while the template lies there, the next start runs the update again
    if (!QFile::remove(vorlagePfad))
        throw DatenbankFehler(
            QStringLiteral("Die Datenbank wurde ergänzt, aber die Vorlage %1 kann nicht entfernt "
                           "werden.")
                .arg(QDir::toNativeSeparators(vorlagePfad)));
    return e;
}

QStringList serverAktualisieren(Datenbank& db, const QDateTime& jetzt) {
    QTemporaryDir ablage;
    if (!ablage.isValid())
        throw DatenbankFehler(
            QStringLiteral("Für die Vorlage der Tabellen fehlt ein temporäres Verzeichnis: %1")
                .arg(ablage.errorString()));
    const QString pfad = ablage.filePath(vorlageName());
    vorlageschema::vorlageSchreiben(pfad);
    return ergaenzen(db, vorlageLesen(pfad), jetzt);
}

QString bericht(const Ergebnis& ergebnis) {
    return QStringLiteral("Aktualisierung nach der Vorlage: %1; Sicherung davor: %2")
        .arg(ergebnis.ergaenzt.isEmpty() ? QStringLiteral("nichts zu ergänzen")
                                         : ergebnis.ergaenzt.join(QStringLiteral(", ")),
             QDir::toNativeSeparators(ergebnis.sicherung));
}

} // namespace aktualisierung
