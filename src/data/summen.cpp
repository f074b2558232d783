#include "data/summen.h"

#include "data/datenbankpruefung.h"
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

// Both tax totals in one pass over the client's postings: the output tax
// (income postings and the acquisition tax owed on intra-community expenses,
// account 1021), then the input tax (every other posting of expenses: 2000 +
// rate, 2021 and 3000). A CASE without match adds NULL, which Sum skips, as
// the WHERE of a statement per total would.
const char* const kSteuer =
    "SELECT "
    "Sum(CASE WHEN T_Buchungen.IstEinnahme=1 OR t_kontenbewegungen.Konten_Nr=1021 "
    "THEN t_kontenbewegungen.St_Betrag >> 32 END), "
    "Sum(CASE WHEN T_Buchungen.IstEinnahme=1 OR t_kontenbewegungen.Konten_Nr=1021 "
    "THEN t_kontenbewegungen.St_Betrag & 4294967295 END), "
    "Sum(CASE WHEN T_Buchungen.IstEinnahme=2 AND t_kontenbewegungen.Konten_Nr<>1021 "
    "THEN t_kontenbewegungen.St_Betrag >> 32 END), "
    "Sum(CASE WHEN T_Buchungen.IstEinnahme=2 AND t_kontenbewegungen.Konten_Nr<>1021 "
    "THEN t_kontenbewegungen.St_Betrag & 4294967295 END) "
    "FROM T_Buchungen INNER JOIN t_kontenbewegungen ON (t_kontenbewegungen.mandant = "
    "T_Buchungen.mandant) AND (T_Buchungen.ID = t_kontenbewegungen.Buchungen_id) "
    "WHERE T_Buchungen.Wirtschaftsjahr=:zeitraum AND T_Buchungen.mandant=:mandant";

__extension__ typedef __int128 Breit;

// SQLite's Sum stops with "integer overflow" beyond 64 bits. Summed as high
// and low 32-bit halves, neither half can overflow for any number of rows a
// file can hold, and the two together give the exact total.
Currency ausHaelften(const QVariant& hoch, const QVariant& tief) {
    if (hoch.isNull())
        return Currency();
    const Breit gesamt = Breit(hoch.toLongLong()) * (Breit(1) << 32) + tief.toLongLong();
    if (gesamt > std::numeric_limits<std::int64_t>::max() ||
        gesamt < std::numeric_limits<std::int64_t>::min())
        throw DatenbankFehler(
            QStringLiteral("Eine Summe des Wirtschaftsjahres übersteigt 922 Billionen Euro."));
    return Currency::fromUnits(static_cast<std::int64_t>(gesamt));
}

Currency brutto(Datenbank& db, int einnahme, int zeitraum, int mandant) {
    Sql q = db.sql(QLatin1String(kBrutto));
    q.bind(QStringLiteral("einnahme"), einnahme)
        .bind(QStringLiteral("Zeitraum"), zeitraum)
        .bind(QStringLiteral("mandant"), mandant)
        .exec();
    if (!q.next())
        return Currency();
    return ausHaelften(q.value(0), q.value(1));
}

} // namespace

Summen SummenBerechnen(Datenbank& db, int zeitraum, int mandant) {
    datenbankpruefung::typenSicherstellen(db);
    Summen s;
    s.Einnahmen = brutto(db, 1, zeitraum, mandant);
    s.Ausgaben = brutto(db, 2, zeitraum, mandant);
    Sql q = db.sql(QLatin1String(kSteuer));
    q.bind(QStringLiteral("Zeitraum"), zeitraum).bind(QStringLiteral("mandant"), mandant).exec();
    // an aggregate without GROUP BY always has its row
    if (!q.next())
        throw DatenbankFehler(QStringLiteral("Die Steuersummen konnten nicht gelesen werden."));
    s.Ust = ausHaelften(q.value(0), q.value(1));
    s.Vst = ausHaelften(q.value(2), q.value(3));
    return s;
}

QStringList SummenStatements() {
    return {QLatin1String(kBrutto), QLatin1String(kSteuer)};
}

int ZeitraumJahr(Datenbank& db, int zeitraum, int mandant) {
    Sql q = db.sql(
        QStringLiteral("select * from t_zeitraum where id = :zeitraum and mandant = :mandant;"));
    q.bind(QStringLiteral("zeitraum"), zeitraum).bind(QStringLiteral("mandant"), mandant).exec();
    if (!q.next())
        throw DatenbankFehler(QStringLiteral("Das aktuelle Wirtschaftsjahr wurde nicht gefunden."));
    return q.value(QStringLiteral("jahr")).toInt();
}
