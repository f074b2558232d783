#include "bank/bankregeln.h"
#include "data/steuersatz.h"

#include "bookings/buchungspruefung.h"
#include "data/buchung.h"
#include "data/db.h"

namespace bankregeln {

namespace {

int code(bool ja) {
    return ja ? buchungscode::Ja : buchungscode::Nein;
}

} // namespace

QString pruefen(Datenbank& db, const Bankregel& r, int mandant) {
    if (r.enthaelt.trimmed().isEmpty() == r.iban.trimmed().isEmpty())
        return QStringLiteral("Eine Regel braucht entweder einen Suchtext oder eine IBAN.");
    const Merkmale& m = r.merkmale;
    if (int(m.eu) + int(m.drittland) + int(m.reverseCharge) + int(m.bauleistung) > 1)
        return QStringLiteral("EU-Erwerb, Einfuhr, Reverse Charge und Bauleistung schließen "
                              "einander aus.");
    if (steuersatz::zehntel(r.steuersatz) < 0 || steuersatz::zehntel(r.steuersatz) > 1000)
        return QStringLiteral("Der Steuersatz %1 ist ungültig.")
            .arg(steuersatz::text(r.steuersatz));
    return buchungspruefung::buchungskreis(db, r.bk, mandant);
}

int anlegen(Datenbank& db, int mandant, Bankregel r) {
    Transaktion t(db);
    if (const QString f = pruefen(db, r, mandant); !f.isEmpty())
        throw DatenbankFehler(f);
    Sql max = db.sql(QStringLiteral(
        "select coalesce(max(id), 0), (select coalesce(max(Reihenfolge), 0) from T_BankRegel "
        "where mandant = :mandant) from T_BankRegel"));
    max.bind("mandant", mandant).exec();
    max.next();
    r.id = max.value(0).toInt() + 1;
    r.reihenfolge = max.value(1).toInt() + 1;
    db.sql(QStringLiteral(
               "insert into T_BankRegel (id, mandant, Reihenfolge, Enthaelt, IBAN, Richtung, BK, "
               "Steuersatz, IstEU, IstDrittland, IstReverseCharge, IstBauleistung, IstKFZ, "
               "IstGebaeude, Textvorlage) values (:id, :mandant, :reihenfolge, :enthaelt, :iban, "
               ":richtung, :bk, :satz, :eu, :dritt, :rc, :bau, :kfz, :geb, :vorlage)"))
        .bind("id", r.id)
        .bind("mandant", mandant)
        .bind("reihenfolge", r.reihenfolge)
        .bind("enthaelt", r.enthaelt.trimmed().isEmpty() ? QVariant() : r.enthaelt.trimmed())
        .bind("iban", r.iban.isEmpty() ? QVariant() : r.iban.remove(QLatin1Char(' ')).toUpper())
        .bind("richtung", static_cast<int>(r.richtung))
        .bind("bk", r.bk)
        .bind("satz", steuersatz::zehntel(r.steuersatz) % 10 == 0
                          ? QVariant(steuersatz::zehntel(r.steuersatz) / 10)
                          : QVariant(steuersatz::ausZehntel(steuersatz::zehntel(r.steuersatz))))
        .bind("eu", code(r.merkmale.eu))
        .bind("dritt", code(r.merkmale.drittland))
        .bind("rc", code(r.merkmale.reverseCharge))
        .bind("bau", code(r.merkmale.bauleistung))
        .bind("kfz", code(r.merkmale.kfz))
        .bind("geb", code(r.merkmale.gebaeude))
        .bind("vorlage", r.textvorlage.isEmpty() ? QVariant() : r.textvorlage)
        .exec();
    t.commit();
    return r.id;
}

std::vector<Bankregel> lesen(Datenbank& db, int mandant) {
    Sql q = db.sql(QStringLiteral(
        "select id, Reihenfolge, Enthaelt, IBAN, Richtung, BK, Steuersatz, IstEU, IstDrittland, "
        "IstReverseCharge, IstBauleistung, IstKFZ, IstGebaeude, Textvorlage from T_BankRegel "
        "where mandant = :mandant order by Reihenfolge, id"));
    q.bind("mandant", mandant).exec();
    std::vector<Bankregel> out;
    while (q.next()) {
        Bankregel r;
        r.id = q.value(0).toInt();
        r.reihenfolge = q.value(1).toInt();
        r.enthaelt = q.value(2).toString();
        r.iban = q.value(3).toString();
        const int richtung = q.value(4).toInt();
        r.richtung = richtung == 1   ? Bankregel::Richtung::Einnahme
                     : richtung == 2 ? Bankregel::Richtung::Ausgabe
                                     : Bankregel::Richtung::Beide;
        r.bk = q.value(5).toInt();
        r.steuersatz = steuersatz::ausZehntel(steuersatz::zehntel(q.value(6).toDouble()));
        auto ja = [&](int spalte) { return q.value(spalte).toInt() == buchungscode::Ja; };
        r.merkmale = {ja(7), ja(8), ja(9), ja(10), ja(11), ja(12)};
        r.textvorlage = q.value(13).toString();
        out.push_back(std::move(r));
    }
    return out;
}

bool loeschen(Datenbank& db, int id, int mandant) {
    Sql q = db.sql(QStringLiteral("delete from T_BankRegel where id = :id and mandant = :mandant"));
    q.bind("id", id).bind("mandant", mandant).exec();
    return q.rowsAffected() > 0;
}

} // namespace bankregeln
