#include "data/summen.h"

#include "data/db.h"

#include <limits>

namespace {

const char* const kBrutto =
    "SELECT Sum(T_Buchungen.Betrag >> 32), Sum(T_Buchungen.Betrag & 4294967295) "
    "FROM T_Buchungen "
    "GROUP BY T_Buchungen.IstEinnahme, T_Buchungen.Wirtschaftsjahr, T_Buchungen.IstDrittland, "
    "T_Buchungen.mandant "
    "HAVING (((T_Buchungen.IstEinnahme)=:einnahme) AND ((T_Buchungen.Wirtschaftsjahr)=:zeitraum) "
    "AND ((T_Buchungen.IstDrittland)=2) AND ((T_Buchungen.mandant)=:mandant));";

// Income postings and the acquisition tax owed on intra-community expenses.
const char* const kUst =
    "SELECT Sum(t_kontenbewegungen.St_Betrag >> 32), Sum(t_kontenbewegungen.St_Betrag & "
    "4294967295) "
    "FROM T_Buchungen INNER JOIN t_kontenbewegungen ON (t_kontenbewegungen.mandant = "
    "T_Buchungen.mandant) AND (T_Buchungen.ID = t_kontenbewegungen.Buchungen_id) "
    "WHERE ((((T_Buchungen.IstEinnahme)=:einnahme) OR ((t_kontenbewegungen.Konten_Nr)=1021)) "
    "AND ((T_Buchungen.Wirtschaftsjahr)=:Zeitraum) AND ((T_Buchungen.mandant)=:mandant))";

// Every other posting of expenses: 2000 + rate, 2021 and 3000.
const char* const kVst =
    "SELECT Sum(t_kontenbewegungen.St_Betrag >> 32), Sum(t_kontenbewegungen.St_Betrag & "
    "4294967295) "
    "FROM T_Buchungen INNER JOIN t_kontenbewegungen ON (t_kontenbewegungen.mandant = "
    "T_Buchungen.mandant) AND (T_Buchungen.ID = t_kontenbewegungen.Buchungen_id) "
    "WHERE (((T_Buchungen.IstEinnahme)=:einnahme) AND ((t_kontenbewegungen.Konten_Nr)<>1021) "
    "AND ((T_Buchungen.Wirtschaftsjahr)=:Zeitraum) AND ((T_Buchungen.mandant)=:mandant))";

__extension__ typedef __int128 Breit;

// SQLite's Sum stops with "integer overflow" beyond 64 bits. Summed as high
// and low 32-bit halves, neither half can overflow for any number of rows a
// file can hold, and the two together give the exact total.
Currency summe(Datenbank& db, const char* text, int einnahme, int zeitraum, int mandant) {
    Sql q = db.sql(QLatin1String(text));
    q.bind(QStringLiteral("einnahme"), einnahme)
        .bind(QStringLiteral("Zeitraum"), zeitraum)
        .bind(QStringLiteral("mandant"), mandant)
        .exec();
    if (!q.next() || q.value(0).isNull())
        return Currency();
    const Breit gesamt =
        Breit(q.value(0).toLongLong()) * (Breit(1) << 32) + q.value(1).toLongLong();
    if (gesamt > std::numeric_limits<std::int64_t>::max() ||
        gesamt < std::numeric_limits<std::int64_t>::min())
        throw DatenbankFehler(
            QStringLiteral("Eine Summe des Wirtschaftsjahres übersteigt 922 Billionen Euro."));
    return Currency::fromUnits(static_cast<std::int64_t>(gesamt));
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

QStringList SummenStatements() {
    return {QLatin1String(kBrutto), QLatin1String(kUst), QLatin1String(kVst)};
}

int ZeitraumJahr(Datenbank& db, int zeitraum, int mandant) {
    Sql q = db.sql(
        QStringLiteral("select * from t_zeitraum where id = :zeitraum and mandant = :mandant;"));
    q.bind(QStringLiteral("zeitraum"), zeitraum).bind(QStringLiteral("mandant"), mandant).exec();
    if (!q.next())
        throw DatenbankFehler(QStringLiteral("Das aktuelle Wirtschaftsjahr wurde nicht gefunden."));
    return q.value(QStringLiteral("jahr")).toInt();
}
