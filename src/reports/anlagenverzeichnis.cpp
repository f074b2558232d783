#include "reports/anlagenverzeichnis.h"

#include "data/dates.h"
#include "data/db.h"

namespace anlagenverzeichnis {

namespace {

QVariant oderNull(const std::optional<int>& v) {
    return v ? QVariant(*v) : QVariant();
}

void pruefen(Datenbank& db, int mandant, const Eintrag& e) {
    if (e.bezeichnung.trimmed().isEmpty())
        throw DatenbankFehler(QStringLiteral("Die Bezeichnung der Anlage fehlt."));
    if (const auto f = anlagen::pruefen(e.anlage))
        throw DatenbankFehler(*f);
    if (e.erloes && *e.erloes < Currency())
        throw DatenbankFehler(QStringLiteral("Der Erlös kann nicht negativ sein."));
    if (e.erloes && !e.anlage.abgang)
        throw DatenbankFehler(QStringLiteral("Ein Erlös gehört zu einem Abgang."));
    if (e.buchungsid)
        buchungsNetto(db, mandant, *e.buchungsid);
}

void schreiben(Datenbank& db, int mandant, const Eintrag& e, bool neu) {
    const anlagen::Anlage& a = e.anlage;
    Sql q = db.sql(
        neu ? QStringLiteral(
                  "insert into T_Anlagen (id, mandant, Bezeichnung, Anschaffung, Kosten, "
                  "Lieferant, Nutzungsdauer, DegressivSatz, LinearAb, Art, Gebraucht, Buchungsid, "
                  "AbgangDatum, Erloes) values (:id, :mandant, :bez, :datum, :kosten, :lief, :nd, "
                  ":satz, :linear, :art, :gebraucht, :buchung, :abgang, :erloes)")
            : QStringLiteral(
                  "update T_Anlagen set Bezeichnung = :bez, Anschaffung = :datum, Kosten = "
                  ":kosten, "
                  "Lieferant = :lief, Nutzungsdauer = :nd, DegressivSatz = :satz, LinearAb = "
                  ":linear, Art = :art, Gebraucht = :gebraucht, Buchungsid = :buchung, AbgangDatum "
                  "= :abgang, Erloes = :erloes where id = :id and mandant = :mandant"));
    q.bind("id", e.id)
        .bind("mandant", mandant)
        .bind("bez", e.bezeichnung.trimmed())
        .bind("datum", dates::toSql(a.anschaffung))
        .bind("kosten", QVariant::fromValue<qlonglong>(a.kosten.units()))
        .bind("lief", e.lieferant.trimmed().isEmpty() ? QVariant() : e.lieferant.trimmed())
        .bind("nd", a.nutzungsdauer)
        .bind("satz", a.degressivSatz)
        .bind("linear", oderNull(a.linearAb))
        .bind("art", static_cast<int>(a.art))
        .bind("gebraucht", a.gebraucht ? 1 : 0)
        .bind("buchung", oderNull(e.buchungsid))
        .bind("abgang", a.abgang ? QVariant(dates::toSql(*a.abgang)) : QVariant())
        .bind("erloes", e.erloes ? QVariant::fromValue<qlonglong>(e.erloes->units()) : QVariant())
        .exec();
}

const char* const kSpalten =
    "select id, Bezeichnung, Anschaffung, Kosten, Lieferant, Nutzungsdauer, DegressivSatz, "
    "LinearAb, Art, Gebraucht, Buchungsid, AbgangDatum, Erloes from T_Anlagen ";

Eintrag eintrag(const Sql& q) {
    Eintrag e;
    e.id = q.value(0).toInt();
    e.bezeichnung = q.value(1).toString();
    e.anlage.anschaffung = dates::fromSql(q.value(2).toString());
    e.anlage.kosten = Currency::fromUnits(q.value(3).toLongLong());
    e.lieferant = q.value(4).toString();
    e.anlage.nutzungsdauer = q.value(5).toInt();
    e.anlage.degressivSatz = q.value(6).toInt();
    if (!q.value(7).isNull())
        e.anlage.linearAb = q.value(7).toInt();
    e.anlage.art = static_cast<anlagen::Art>(q.value(8).toInt());
    e.anlage.gebraucht = q.value(9).toInt() != 0;
    if (!q.value(10).isNull())
        e.buchungsid = q.value(10).toInt();
    if (!q.value(11).isNull())
        e.anlage.abgang = dates::fromSql(q.value(11).toString());
    if (!q.value(12).isNull())
        e.erloes = Currency::fromUnits(q.value(12).toLongLong());
    return e;
}

QString meldungFehlt(int id) {
    return QStringLiteral("Die Anlage %1 gibt es nicht.").arg(id);
}

} // namespace

Currency buchungsNetto(Datenbank& db, int mandant, int buchung) {
    // the same net as the circle evaluation: of an acquisition only its 1021 posting
    Sql q = db.sql(QStringLiteral(
        "select sum(iif([isteu]=1,[betrag],[betrag]-[st_betrag])), count(*), "
        "max(T_Buchungen.IstEinnahme) from T_Buchungen "
        "inner join t_kontenbewegungen on T_Buchungen.ID = t_kontenbewegungen.Buchungen_id and "
        "T_Buchungen.mandant = t_kontenbewegungen.mandant where T_Buchungen.ID = :id and "
        "T_Buchungen.mandant = :mandant and t_kontenbewegungen.Konten_Nr <> 2021"));
    q.bind("id", buchung).bind("mandant", mandant).exec();
    if (!q.next() || q.value(1).toInt() == 0)
        throw DatenbankFehler(QStringLiteral("Die Buchung %1 gibt es nicht.").arg(buchung));
    // an asset is paid, never received
    if (q.value(2).toInt() == 1)
        throw DatenbankFehler(
            QStringLiteral("Die Buchung %1 ist eine Einnahme, keine Anschaffung.").arg(buchung));
    return Currency::fromUnits(q.value(0).toLongLong());
}

int anlegen(Datenbank& db, int mandant, const Eintrag& e) {
    Transaktion t(db);
    pruefen(db, mandant, e);
    Sql max = db.sql(QStringLiteral("select coalesce(max(id), 0) + 1 from T_Anlagen"));
    max.exec();
    max.next();
    Eintrag neu = e;
    neu.id = max.value(0).toInt();
    schreiben(db, mandant, neu, true);
    t.commit();
    return neu.id;
}

void aendern(Datenbank& db, int mandant, const Eintrag& e) {
    Transaktion t(db);
    lesen(db, mandant, e.id);
    pruefen(db, mandant, e);
    schreiben(db, mandant, e, false);
    t.commit();
}

void loeschen(Datenbank& db, int mandant, int id) {
    Transaktion t(db);
    lesen(db, mandant, id);
    db.sql(QStringLiteral("delete from T_Anlagen where id = :id and mandant = :mandant"))
        .bind("id", id)
        .bind("mandant", mandant)
        .exec();
    t.commit();
}

Eintrag lesen(Datenbank& db, int mandant, int id) {
    Sql q =
        db.sql(QLatin1String(kSpalten) + QStringLiteral("where id = :id and mandant = :mandant"));
    q.bind("id", id).bind("mandant", mandant).exec();
    if (!q.next())
        throw DatenbankFehler(meldungFehlt(id));
    return eintrag(q);
}

std::vector<Eintrag> alle(Datenbank& db, int mandant) {
    Sql q = db.sql(QLatin1String(kSpalten) +
                   QStringLiteral("where mandant = :mandant order by Anschaffung, id"));
    q.bind("mandant", mandant).exec();
    std::vector<Eintrag> out;
    while (q.next())
        out.push_back(eintrag(q));
    return out;
}

Verzeichnis jahr(Datenbank& db, int mandant, int jahr) {
    Verzeichnis v;
    v.summe.bezeichnung = QStringLiteral("Summe");
    for (const Eintrag& e : alle(db, mandant)) {
        const anlagen::Jahr j = anlagen::rechnen(e.anlage, jahr);
        if (!j.vorhanden)
            continue;
        v.zeilen.push_back({e.id, e.bezeichnung, e.anlage.anschaffung, e.anlage.kosten, j});
        v.summe.kosten += e.anlage.kosten;
        v.summe.jahr.buchwertBeginn += j.buchwertBeginn;
        v.summe.jahr.abgang += j.abgang;
        v.summe.jahr.afa += j.afa;
        v.summe.jahr.buchwertEnde += j.buchwertEnde;
    }
    return v;
}

} // namespace anlagenverzeichnis
