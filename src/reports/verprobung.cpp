#include "reports/verprobung.h"

#include "data/dates.h"
#include "data/db.h"

#include <QSqlError>
#include <QSqlRecord>
#include <cmath>

namespace verprobung {

namespace {

const char* const S1 = "SELECT Sum(t_kontenbewegungen.St_Betrag) AS St_Betrag, "
                       "Sum(T_Buchungen.Betrag) AS Betrag";
const char* const S2 = "SELECT Sum(t_kontenbewegungen.St_Betrag) AS St_Betrag";
const char* const F1 = "FROM (T_Zeitraum INNER JOIN T_Buchungen ON (T_Zeitraum.mandant = "
                       "T_Buchungen.mandant) AND";
const char* const F2 = "T_Zeitraum.id = T_Buchungen.Wirtschaftsjahr) INNER JOIN (T_Kontenplan "
                       "INNER JOIN t_kontenbewegungen ON ";
const char* const F3 =
    "FROM (T_Zeitraum INNER JOIN T_Buchungen ON (T_Zeitraum.mandant = T_Buchungen.mandant) AND "
    "(T_Zeitraum.id = T_Buchungen.Wirtschaftsjahr)) INNER JOIN (T_Kontenplan INNER JOIN "
    "t_kontenbewegungen ON ";
const char* const F4 = "T_Kontenplan.Kontonummer = t_kontenbewegungen.Konten_Nr) ON "
                       "(T_Buchungen.mandant = t_kontenbewegungen.mandant) AND (T_Buchungen.ID = "
                       "t_kontenbewegungen.Buchungen_id)";
const char* const F5 = "FROM T_Buchungen INNER JOIN t_kontenbewegungen ON (T_Buchungen.ID = "
                       "t_kontenbewegungen.Buchungen_id) AND (T_Buchungen.mandant = "
                       "t_kontenbewegungen.mandant)";
const char* const W1 =
    "WHERE (((T_Kontenplan.Kontonummer)=1021) AND ((T_Buchungen.Buchungsdatum) Between :von And "
    ":bis) AND ((T_Zeitraum.id)= :zeitraum) AND ((T_Buchungen.mandant)=:mandant));";
const char* const W2 =
    "WHERE (((T_Kontenplan.Kontonummer)<2000) AND ((T_Kontenplan.Kontonummer)<>1021) and "
    "((T_Buchungen.Buchungsdatum) Between :von And :bis) AND ((T_Zeitraum.id)= :zeitraum) AND "
    "((T_Buchungen.mandant)=:mandant));";
const char* const W3 =
    "WHERE (((T_Kontenplan.Kontonummer)Between 2000 And 2999) AND "
    "((T_Kontenplan.Kontonummer)<>2021) and ((T_Buchungen.Buchungsdatum) Between :von And :bis) "
    "AND ((T_Zeitraum.id)= :zeitraum) AND ((T_Buchungen.mandant)=:mandant));";
const char* const W4 =
    "WHERE (((T_Buchungen.Buchungsdatum) Between :von And :bis) AND "
    "((T_Buchungen.Wirtschaftsjahr)= :zeitraum) AND ((T_Buchungen.mandant)=:mandant) AND "
    "((T_Buchungen.IstKFZ)=1));";
const char* const W5 =
    "WHERE (((T_Buchungen.Buchungsdatum) Between :von And :bis) AND "
    "((T_Buchungen.Wirtschaftsjahr)= :zeitraum) AND ((T_Buchungen.mandant)=:mandant) AND "
    "((T_Buchungen.IstGebaeude)=1));";
const char* const W6 =
    "WHERE (((T_Kontenplan.Kontonummer)=3000) and ((T_Buchungen.Buchungsdatum) Between :von "
    "And :bis) AND ((T_Zeitraum.id)= :zeitraum) AND ((T_Buchungen.mandant)=:mandant));";

QStringList zeilen(std::initializer_list<const char*> texte) {
    QStringList out;
    for (const char* t : texte)
        out << QString::fromUtf8(t);
    return out;
}

// A sum of the database's ten-thousandths; null (nothing matched) is 0.
Currency betrag(const QVariant& v) {
    if (v.isNull())
        return Currency();
    if (v.typeId() == QMetaType::Double)
        return Currency::fromUnits(static_cast<std::int64_t>(std::llround(v.toDouble())));
    return Currency::fromUnits(v.toLongLong());
}

// Runs one step; answers its row's two columns (the second 0 for S2 steps).
std::pair<Currency, Currency> schritt(Datenbank& db, const T_RepDaten& r, int nummer) {
    Sql q = db.sql(statement(schrittZeilen(nummer)));
    parameterSetzen(q, r);
    q.exec();
    // an aggregate without GROUP BY always has its row; none is a failed read
    if (!q.next())
        throw DatenbankFehler(
            QStringLiteral("Die Summen der Umsatzsteuerverprobung konnten nicht gelesen werden.") +
            QLatin1Char('\r') + q.query().lastError().text());
    const bool zwei = q.query().record().count() > 1;
    return {betrag(q.value(0)), zwei ? betrag(q.value(1)) : Currency()};
}

} // namespace

QString saldoText(Currency saldo) {
    return saldo > Currency() ? QStringLiteral("Zahllast") : QStringLiteral("Gutschrift");
}

Currency saldoBetrag(Currency saldo) {
    return saldo < Currency() ? -saldo : saldo;
}

QStringList queryVerprobungZeilen() {
    return zeilen(
        {"SELECT T_Kontenplan.Steuersatz, Sum(t_kontenbewegungen.St_Betrag) AS St_Betrag, "
         "Sum(T_Buchungen.Betrag) AS Betrag",
         "FROM (T_Zeitraum INNER JOIN T_Buchungen ON (T_Zeitraum.mandant = T_Buchungen.mandant) "
         "AND (T_Zeitraum.id = T_Buchungen.Wirtschaftsjahr)) INNER JOIN (T_Kontenplan INNER JOIN "
         "t_kontenbewegungen ON T_Kontenplan.Kontonummer = t_kontenbewegungen.Konten_Nr) ON "
         "(T_Buchungen.mandant = t_kontenbewegungen.mandant) AND (T_Buchungen.ID = "
         "t_kontenbewegungen.Buchungen_id)",
         "WHERE (((T_Kontenplan.Kontonummer)<2000 And (T_Kontenplan.Kontonummer)<>1021) AND "
         "((T_Zeitraum.id)= :Zeitraum ) AND ((T_Buchungen.Buchungsdatum) Between :von And :bis ) "
         "AND ((T_Buchungen.mandant)=:Mandant))",
         "GROUP BY T_Kontenplan.Steuersatz;"});
}

QStringList schrittZeilen(int nummer) {
    switch (nummer) {
    case 1:
        return zeilen({S1, F1, F2, F4, W1});
    case 2:
        return zeilen({S1, F3, F4, W2});
    case 3:
        return zeilen({S2, F3, F4, W3});
    case 4:
        return zeilen({S2, F5, W4});
    case 5:
        return zeilen({S2, F5, W5});
    case 6:
        return zeilen({S2, F3, F4, W6});
    default:
        return {};
    }
}

QString statement(const QStringList& z) {
    return z.join(QLatin1Char('\n'));
}

void parameterSetzen(Sql& q, const T_RepDaten& r) {
    q.bind(QStringLiteral("von"), dates::toSql(r.Von))
        .bind(QStringLiteral("bis"), dates::toSql(r.Bis))
        .bind(QStringLiteral("zeitraum"), r.Zeitraum)
        .bind(QStringLiteral("mandant"), r.Mandant);
}

Summen SummenLesen(Datenbank& db, const T_RepDaten& r) {
    Summen s;
    std::tie(s.EUSteuer, s.EUBemessung) = schritt(db, r, 1);
    std::tie(s.Umsatzsteuer, s.Erloese) = schritt(db, r, 2);
    s.Vorsteuer = schritt(db, r, 3).first;
    s.KFZ = schritt(db, r, 4).first;
    s.Gebaeude = schritt(db, r, 5).first;
    s.Einfuhr = schritt(db, r, 6).first;
    return s;
}

bool hatSteuerbuchungen(Datenbank& db, const T_RepDaten& r) {
    Sql q = db.sql(QStringLiteral(
        "SELECT 1 FROM T_Buchungen INNER JOIN t_kontenbewegungen ON (T_Buchungen.ID = "
        "t_kontenbewegungen.Buchungen_id) AND (T_Buchungen.mandant = t_kontenbewegungen.mandant)\n"
        "WHERE T_Buchungen.mandant = :mandant AND T_Buchungen.Wirtschaftsjahr = :zeitraum AND "
        "T_Buchungen.Buchungsdatum Between :von And :bis LIMIT 1;"));
    parameterSetzen(q, r);
    q.exec();
    return q.next();
}

QString meldungKeineEinnahmen() {
    return QStringLiteral("Es gibt für diesen Zeitraum (noch) keine Einnahmen!");
}

} // namespace verprobung
