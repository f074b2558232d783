#include "bank/bankprofile.h"

#include "data/db.h"

namespace bankprofile {

namespace {

const QString kSpalten = QStringLiteral(
    "Name, Trenner, Kodierung, Kopfzeilen, Datum, Datumsformat, Betrag, Soll, Haben, Text, "
    "Gegenpartei, IBAN, Referenz, Waehrung, Dezimalkomma");

CsvProfil ausZeile(Sql& q) {
    CsvProfil p;
    p.name = q.value(0).toString();
    const QString trenner = q.value(1).toString();
    p.trenner = trenner.isEmpty() ? QChar() : trenner.front();
    p.kodierung = q.value(2).toString();
    int i = 3;
    p.kopfzeilen = q.value(i++).toInt();
    p.datum = q.value(i++).toInt();
    p.datumsformat = q.value(i++).toString();
    for (int* spalte :
         {&p.betrag, &p.soll, &p.haben, &p.text, &p.gegenpartei, &p.iban, &p.referenz, &p.waehrung})
        *spalte = q.value(i++).toInt();
    p.dezimalkomma = q.value(i).toInt() != 0;
    return p;
}

std::optional<int> idVon(Datenbank& db, const QString& name) {
    Sql q = db.sql(QStringLiteral("select id from T_BankProfil where Name = :name"));
    q.bind("name", name).exec();
    if (q.next())
        return q.value(0).toInt();
    return std::nullopt;
}

void schreiben(Datenbank& db, const CsvProfil& p, bool nurNeu) {
    if (const QString f = csv::profilPruefen(p); !f.isEmpty())
        throw DatenbankFehler(f);
    Transaktion t(db);
    auto id = idVon(db, p.name);
    if (id && nurNeu)
        throw DatenbankFehler(
            QStringLiteral("Ein Profil mit dem Namen „%1“ gibt es schon.").arg(p.name));
    if (id) {
        db.sql(QStringLiteral("delete from T_BankProfil where id = :id")).bind("id", *id).exec();
    } else {
        Sql max = db.sql(QStringLiteral("select coalesce(max(id), 0) + 1 from T_BankProfil"));
        max.exec();
        max.next();
        id = max.value(0).toInt();
    }
    Sql q = db.sql(QStringLiteral("insert into T_BankProfil (id, %1) values (:id, :name, "
                                  ":trenner, :kodierung, :kopf, :datum, :format, :betrag, :soll, "
                                  ":haben, :text, :partei, :iban, :referenz, :waehrung, :komma)")
                       .arg(kSpalten));
    q.bind("id", *id)
        .bind("name", p.name)
        .bind("trenner", QString(p.trenner))
        .bind("kodierung", p.kodierung)
        .bind("kopf", p.kopfzeilen)
        .bind("datum", p.datum)
        .bind("format", p.datumsformat)
        .bind("betrag", p.betrag)
        .bind("soll", p.soll)
        .bind("haben", p.haben)
        .bind("text", p.text)
        .bind("partei", p.gegenpartei)
        .bind("iban", p.iban)
        .bind("referenz", p.referenz)
        .bind("waehrung", p.waehrung)
        .bind("komma", p.dezimalkomma ? 1 : 0)
        .exec();
    t.commit();
}

} // namespace

void anlegen(Datenbank& db, const CsvProfil& p) {
    schreiben(db, p, true);
}

void speichern(Datenbank& db, const CsvProfil& p) {
    schreiben(db, p, false);
}

std::optional<CsvProfil> lesen(Datenbank& db, const QString& name) {
    Sql q = db.sql(QStringLiteral("select %1 from T_BankProfil where Name = :name").arg(kSpalten));
    q.bind("name", name).exec();
    if (q.next())
        return ausZeile(q);
    return std::nullopt;
}

std::vector<CsvProfil> alle(Datenbank& db) {
    Sql q = db.sql(
        QStringLiteral("select %1 from T_BankProfil order by Name COLLATE DEUTSCH").arg(kSpalten));
    q.exec();
    std::vector<CsvProfil> out;
    while (q.next())
        out.push_back(ausZeile(q));
    return out;
}

} // namespace bankprofile
