#include "data/summen.h"

#include "data/db.h"

#include <cmath>

namespace {

const char* const kBrutto =
    "SELECT Sum(T_Buchungen.Betrag) AS Betrag "
    "FROM T_Buchungen "
    "GROUP BY T_Buchungen.IstEinnahme, T_Buchungen.Wirtschaftsjahr, T_Buchungen.IstDrittland, "
    "T_Buchungen.mandant "
    "HAVING (((T_Buchungen.IstEinnahme)=:einnahme) AND ((T_Buchungen.Wirtschaftsjahr)=:zeitraum) "
    "AND ((T_Buchungen.IstDrittland)=2) AND ((T_Buchungen.mandant)=:mandant));";

// Income postings and the acquisition tax owed on intra-community expenses.
const char* const kUst =
    "SELECT Sum(t_kontenbewegungen.St_Betrag) AS Ust "
    "FROM T_Buchungen INNER JOIN t_kontenbewegungen ON (t_kontenbewegungen.mandant = "
    "T_Buchungen.mandant) AND (T_Buchungen.ID = t_kontenbewegungen.Buchungen_id) "
    "WHERE ((((T_Buchungen.IstEinnahme)=:einnahme) OR ((t_kontenbewegungen.Konten_Nr)=1021)) "
    "AND ((T_Buchungen.Wirtschaftsjahr)=:Zeitraum) AND ((T_Buchungen.mandant)=:mandant))";

// Every other posting of expenses: 2000 + rate, 2021 and 3000.
const char* const kVst =
    "SELECT Sum(t_kontenbewegungen.St_Betrag) AS VST "
    "FROM T_Buchungen INNER JOIN t_kontenbewegungen ON (t_kontenbewegungen.mandant = "
    "T_Buchungen.mandant) AND (T_Buchungen.ID = t_kontenbewegungen.Buchungen_id) "
    "WHERE (((T_Buchungen.IstEinnahme)=:einnahme) AND ((t_kontenbewegungen.Konten_Nr)<>1021) "
    "AND ((T_Buchungen.Wirtschaftsjahr)=:Zeitraum) AND ((T_Buchungen.mandant)=:mandant))";

Currency summe(Datenbank& db, const char* text, int einnahme, int zeitraum, int mandant) {
    Sql q = db.sql(QLatin1String(text));
    q.bind(QStringLiteral("einnahme"), einnahme)
        .bind(QStringLiteral("Zeitraum"), zeitraum)
        .bind(QStringLiteral("mandant"), mandant)
        .exec();
    if (!q.next())
        return Currency();
    const QVariant v = q.value(0);
    if (v.isNull())
        return Currency();
    // a value that is not an integer was not written by the program; read it all the same
    if (v.typeId() == QMetaType::Double)
        return Currency::fromUnits(static_cast<std::int64_t>(std::llround(v.toDouble())));
    return Currency::fromUnits(v.toLongLong());
}

} // namespace

Summen SummenBerechnen(Datenbank& db, int zeitraum, int mandant) {
    Summen s;
    s.Einnahmen = summe(db, kBrutto, 1, zeitraum, mandant);
    s.Ausgaben = summe(db, kBrutto, 2, zeitraum, mandant);
    s.Ust = summe(db, kUst, 1, zeitraum, mandant);
    s.Vst = summe(db, kVst, 2, zeitraum, mandant);
    return s;
}

int ZeitraumJahr(Datenbank& db, int zeitraum, int mandant) {
    Sql q = db.sql(
        QStringLiteral("select * from t_zeitraum where id = :zeitraum and mandant = :mandant;"));
    q.bind(QStringLiteral("zeitraum"), zeitraum).bind(QStringLiteral("mandant"), mandant).exec();
    if (!q.next())
        throw DatenbankFehler(QStringLiteral("Das aktuelle Wirtschaftsjahr wurde nicht gefunden."));
    return q.value(QStringLiteral("jahr")).toInt();
}
