#include "sicherung/umzug.h"

#include "data/aenderungsprotokoll.h"
#include "data/db.h"
#include "sicherung/aktualisierung.h"

#include <QDateTime>
#include <QSqlRecord>
#include <map>

namespace umzug {

namespace {

QStringList spalten(Datenbank& db, const QString& tabelle) {
    QStringList namen;
    if (db.istServer()) {
        Sql q = db.sql(QStringLiteral("select column_name from information_schema.columns where "
                                      "table_schema = 'public' and table_name = lower(:t) order "
                                      "by ordinal_position"));
        q.bind(QStringLiteral("t"), tabelle).exec();
        while (q.next())
            namen << q.value(0).toString();
    } else {
        Sql q = db.sql(QStringLiteral("select name from pragma_table_info(:t)"));
        q.bind(QStringLiteral("t"), tabelle).exec();
        while (q.next())
            namen << q.value(0).toString();
    }
    return namen;
}

qint64 zahl(Datenbank& db, const QString& sql) {
    Sql q = db.sql(sql);
    q.exec();
    return q.next() ? q.value(0).toLongLong() : 0;
}

// What must agree after the copy: per table its rows, and the currency
// columns' sums per client and fiscal year.
std::map<QString, QString> pruefwerte(Datenbank& db, const QStringList& tabellen) {
    std::map<QString, QString> w;
    for (const QString& t : tabellen)
        w[t] = QString::number(zahl(db, QStringLiteral("select count(*) from %1").arg(t)));
    const struct {
        const char* tabelle;
        const char* spalte;
        const char* gruppe;
    } summen[] = {
        {"T_Buchungen", "Betrag", "mandant, Wirtschaftsjahr"},
        {"t_kontenbewegungen", "St_Betrag", "mandant"},
        {"T_Anlagen", "Kosten", "mandant"},
        {"T_Anlagen", "Erloes", "mandant"},
        {"T_BankZeile", "Betrag", "mandant, Wirtschaftsjahr"},
    };
    for (const auto& s : summen) {
        if (!tabellen.contains(QLatin1String(s.tabelle), Qt::CaseInsensitive))
            continue;
        Sql q = db.sql(
            QStringLiteral("select %1, sum(%2) from %3 group by %1 order by %1")
                .arg(QLatin1String(s.gruppe), QLatin1String(s.spalte), QLatin1String(s.tabelle)));
        q.exec();
        QStringList zeilen;
        while (q.next()) {
            QStringList teile;
            for (int i = 0; i < q.query().record().count(); ++i)
                teile << QString::number(q.value(i).toLongLong());
            zeilen << teile.join(QLatin1Char('/'));
        }
        w[QStringLiteral("%1.%2").arg(QLatin1String(s.tabelle), QLatin1String(s.spalte))] =
            zeilen.join(QLatin1Char(' '));
    }
    return w;
}

} // namespace

Bericht kopieren(Datenbank& quelle, Datenbank& ziel) {
    QStringList tabellen = quelle.tabellen();
    tabellen.sort(Qt::CaseInsensitive);
    Bericht bericht;
    Transaktion t(ziel);
    if (ziel.istServer()) {
        if (!ziel.tabellen().isEmpty())
            throw DatenbankFehler(QStringLiteral("Die Datenbank %1 ist nicht leer; Velmora zieht "
                                                 "nur in eine leere Datenbank um.")
                                      .arg(ziel.path()));
        aktualisierung::serverAktualisieren(ziel, QDateTime::currentDateTime());
    }
    const QStringList zielTabellen = ziel.tabellen();
    for (const QString& tabelle : std::as_const(tabellen)) {
        if (!zielTabellen.contains(tabelle, Qt::CaseInsensitive))
            throw DatenbankFehler(
                QStringLiteral("Die Tabelle %1 fehlt im Ziel %2.").arg(tabelle, ziel.path()));
        const QStringList zielSpalten = spalten(ziel, tabelle);
        QStringList namen;
        for (const QString& s : spalten(quelle, tabelle)) {
            if (zielSpalten.contains(s, Qt::CaseInsensitive))
                namen << s;
            else
                throw DatenbankFehler(QStringLiteral("Die Spalte %1.%2 fehlt im Ziel %3.")
                                          .arg(tabelle, s, ziel.path()));
        }
        // the template's own rows (the chart of accounts) give way to the source's
        ziel.execute(QStringLiteral("delete from %1").arg(tabelle));
        QStringList platzhalter;
        for (int i = 0; i < namen.size(); ++i)
            platzhalter << QStringLiteral(":w%1").arg(i);
        Sql lesen = quelle.sql(
            QStringLiteral("select %1 from %2").arg(namen.join(QLatin1Char(',')), tabelle));
        lesen.exec();
        const QString einfuegen =
            QStringLiteral("insert into %1 (%2) values (%3)")
                .arg(tabelle, namen.join(QLatin1Char(',')), platzhalter.join(QLatin1Char(',')));
        qint64 anzahl = 0;
        while (lesen.next()) {
            Sql s = ziel.wiederverwendet(einfuegen);
            for (int i = 0; i < namen.size(); ++i)
                s.bind(QStringLiteral("w%1").arg(i), lesen.value(i));
            s.exec();
            ++anzahl;
        }
        bericht.zeilen << QStringLiteral("%1\t%2").arg(tabelle).arg(anzahl);
    }
    // compared inside the transaction: a mismatch leaves the target as it was
    const auto soll = pruefwerte(quelle, tabellen);
    const auto ist = pruefwerte(ziel, tabellen);
    for (const auto& [was, wert] : soll) {
        const auto it = ist.find(was);
        if (it == ist.end() || it->second != wert)
            throw DatenbankFehler(
                QStringLiteral("Der Umzug wurde nicht übernommen: %1 stimmt im Ziel nicht mit der "
                               "Quelle überein (%2 statt %3).")
                    .arg(was, it == ist.end() ? QString() : it->second, wert));
    }
    if (tabellen.contains(QStringLiteral("T_Protokoll"), Qt::CaseInsensitive)) {
        const auto vorher = aenderungsprotokoll::pruefen(quelle);
        const auto nachher = aenderungsprotokoll::pruefen(ziel);
        if (vorher.fehler != nachher.fehler || vorher.eintraege != nachher.eintraege)
            throw DatenbankFehler(
                QStringLiteral("Der Umzug wurde nicht übernommen: das Änderungsprotokoll prüft im "
                               "Ziel anders als in der Quelle (%1).")
                    .arg(nachher.fehler));
        bericht.zeilen << (nachher.fehler.isEmpty()
                               ? aenderungsprotokoll::meldungInOrdnung(nachher.eintraege)
                               : nachher.fehler);
    }
    t.commit();
    return bericht;
}

} // namespace umzug
