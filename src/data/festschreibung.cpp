#include "data/festschreibung.h"

#include "data/aenderungsprotokoll.h"
#include "data/buchung.h"
#include "data/dates.h"
#include "data/db.h"
#include "data/dm_einaus.h"
#include "data/summen.h"
#include "platform/clock.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace festschreibung {

namespace {

bool tabelleVorhanden(Datenbank& db, const QString& name) {
    return db.tabellen().contains(name, Qt::CaseInsensitive);
}

} // namespace

std::optional<QDate> bis(Datenbank& db, int mandant, int zeitraum) {
    try {
        Sql q = db.sql(QStringLiteral("select max(Bis) from T_Festschreibung "
                                      "where mandant = :mandant and Wirtschaftsjahr = :zeitraum"));
        q.bind("mandant", mandant).bind("zeitraum", zeitraum).exec();
        if (!q.next() || q.value(0).isNull())
            return std::nullopt;
        return dates::fromSql(q.value(0).toString());
    } catch (const DatenbankFehler&) {
        // an old file that the updater has not yet brought up to date
        if (!tabelleVorhanden(db, QStringLiteral("T_Festschreibung")))
            throw DatenbankFehler(QStringLiteral(
                "Die Datenbank hat noch kein Änderungsprotokoll. Starten Sie Velmora mit der "
                "Vorlage Velmora_neu.mdb im Programmverzeichnis, damit sie ergänzt wird."));
        throw;
    }
}

QString meldungGesperrt(const QDate& bis) {
    return QStringLiteral("Die Buchung liegt im festgeschriebenen Zeitraum bis %1. Buchen Sie die "
                          "Korrektur als neue Buchung mit einem späteren Datum.")
        .arg(dates::format(bis));
}

QString grundNurLesen(const QDate& bis) {
    return QStringLiteral("Festgeschrieben bis %1: diese Buchung kann nicht mehr geändert oder "
                          "gelöscht werden. „Stornieren“ bucht die Gegenbuchung mit einem "
                          "offenen Datum.")
        .arg(dates::format(bis));
}

QString pruefen(Datenbank& db, const Buchung* alt, const Buchung* neu) {
    std::optional<QDate> gesperrt;
    const Buchung* gelesen = nullptr;
    for (const Buchung* b : {alt, neu}) {
        if (!b)
            continue;
        // a change within one year asks once
        if (!gelesen || gelesen->mandant != b->mandant ||
            gelesen->Wirtschaftsjahr != b->Wirtschaftsjahr)
            gesperrt = bis(db, b->mandant, b->Wirtschaftsjahr);
        gelesen = b;
        if (const QString fehler = pruefen(gesperrt, *b); !fehler.isEmpty())
            return fehler;
    }
    return {};
}

QString pruefen(const std::optional<QDate>& gesperrtBis, const Buchung& b) {
    // a booking without a valid date is refused by the entry checks
    if (gesperrtBis && b.Buchungsdatum.isValid() && b.Buchungsdatum <= *gesperrtBis)
        return meldungGesperrt(*gesperrtBis);
    return {};
}

QString frage(const QDate& bis) {
    return QStringLiteral("Zeitraum bis %1 festschreiben?\r\rDanach kann keine Buchung mit einem "
                          "Datum bis zu diesem Tag mehr angelegt, geändert oder gelöscht werden. "
                          "Korrekturen werden als neue Buchungen mit einem späteren Datum "
                          "gebucht.\rDie Festschreibung kann nicht aufgehoben werden.")
        .arg(dates::format(bis));
}

void festschreiben(TDM_EinAus& dm, int mandant, int zeitraum, const QDate& bisTag) {
    Datenbank& db = dm.db();
    Transaktion t(db);
    const int jahr = ZeitraumJahr(db, zeitraum, mandant);
    if (!bisTag.isValid() || bisTag.year() != jahr)
        throw DatenbankFehler(
            QStringLiteral("Der Tag %1 liegt nicht im Wirtschaftsjahr %2.")
                .arg(bisTag.isValid() ? dates::format(bisTag) : QStringLiteral("?"))
                .arg(jahr));
    if (const auto schon = bis(db, mandant, zeitraum); schon && bisTag <= *schon)
        throw DatenbankFehler(QStringLiteral("Das Wirtschaftsjahr ist bereits bis %1 "
                                             "festgeschrieben. Eine Festschreibung kann nicht "
                                             "aufgehoben oder verkürzt werden.")
                                  .arg(dates::format(*schon)));
    db.sql(QStringLiteral("insert into T_Festschreibung (mandant, Wirtschaftsjahr, Bis, Zeitpunkt) "
                          "values (:mandant, :zeitraum, :bis, :zeitpunkt)"))
        .bind("mandant", mandant)
        .bind("zeitraum", zeitraum)
        .bind("bis", dates::toSql(bisTag))
        .bind("zeitpunkt", dm.clock().now().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")))
        .exec();
    const QJsonObject nachher{{QStringLiteral("Bis"), dates::toSql(bisTag)}};
    aenderungsprotokoll::eintragen(
        dm, mandant, zeitraum, aenderungsprotokoll::festgeschrieben(), QString(),
        QString::fromUtf8(QJsonDocument(nachher).toJson(QJsonDocument::Compact)));
    t.commit();
}

} // namespace festschreibung
