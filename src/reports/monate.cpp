#include "reports/monate.h"

#include "data/dm_einaus.h"
#include "reports/auswertung.h"
#include "reports/sqlzeilen.h"

namespace monate {

namespace {

std::array<Monat, 12> monateDes(TDM_EinAus& dm, int zeitraum) {
    std::array<Monat, 12> out{};
    for (int m = 1; m <= 12; ++m)
        out[static_cast<size_t>(m - 1)].monat = m;
    Sql q = dm.db().sql(sqlzeilen::statement(monatsZeilen()));
    q.bind(QStringLiteral("mandant"), dm.gibMandant())
        .bind(QStringLiteral("Zeitraum"), zeitraum)
        .exec();
    while (q.next()) {
        const int m = q.value(QStringLiteral("Monat")).toInt();
        if (m < 1 || m > 12)
            continue;
        Monat& z = out[static_cast<size_t>(m - 1)];
        z.einnahmen = auswertung::betrag(q.value(QStringLiteral("Einnahmen")));
        z.ausgaben = auswertung::betrag(q.value(QStringLiteral("Ausgaben")));
    }
    Currency summe;
    for (Monat& z : out) {
        z.ergebnis = z.einnahmen - z.ausgaben;
        summe += z.ergebnis;
        z.kumuliert = summe;
    }
    return out;
}

} // namespace

QStringList monatsZeilen() {
    return auswertung::zeilen(
        {"SELECT CAST(substr(T_Buchungen.Buchungsdatum,6,2) AS INTEGER) AS Monat, "
         "Sum(iif([isteinnahme]=1,{netto},0)) AS Einnahmen, "
         "Sum(iif([isteinnahme]=2,{netto},0)) AS Ausgaben",
         "FROM (T_Zeitraum INNER JOIN (T_BKreis INNER JOIN T_Buchungen ON (T_BKreis.mandant = "
         "T_Buchungen.mandant) AND (T_BKreis.id = T_Buchungen.BK)) ON (T_Zeitraum.mandant = "
         "T_Buchungen.mandant) AND (T_Zeitraum.id = T_Buchungen.Wirtschaftsjahr)) INNER JOIN "
         "t_kontenbewegungen ON (T_Buchungen.ID = t_kontenbewegungen.Buchungen_id) AND "
         "(T_Buchungen.mandant = t_kontenbewegungen.mandant)",
         "WHERE (((t_kontenbewegungen.Konten_Nr)<>2021) AND ((T_Buchungen.mandant)=:mandant) "
         "AND ((T_Buchungen.Wirtschaftsjahr)=:Zeitraum))",
         "GROUP BY CAST(substr(T_Buchungen.Buchungsdatum,6,2) AS INTEGER);"});
}

Uebersicht lesen(TDM_EinAus& dm) {
    Uebersicht u;
    u.jahr = dm.gibJahr();
    u.monate = monateDes(dm, dm.gibZeitraum());
    for (const Monat& m : u.monate) {
        u.einnahmen += m.einnahmen;
        u.ausgaben += m.ausgaben;
    }
    u.ergebnis = u.einnahmen - u.ausgaben;
    std::optional<int> vorjahr;
    {
        Sql q = dm.db().sql(
            QStringLiteral("select id from T_Zeitraum where mandant = :mandant and Jahr = :jahr;"));
        q.bind(QStringLiteral("mandant"), dm.gibMandant())
            .bind(QStringLiteral("jahr"), u.jahr - 1)
            .exec();
        if (q.next())
            vorjahr = q.value(0).toInt();
    }
    if (vorjahr) {
        const std::array<Monat, 12> v = monateDes(dm, *vorjahr);
        std::array<Currency, 12> kumuliert{};
        for (size_t i = 0; i < v.size(); ++i)
            kumuliert[i] = v[i].kumuliert;
        u.vorjahr = kumuliert;
    }
    return u;
}

} // namespace monate
