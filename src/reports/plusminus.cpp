#include "reports/plusminus.h"

#include "data/datenbankpruefung.h"
#include "data/dates.h"
#include "data/dm_einaus.h"
#include "platform/clock.h"
#include "reports/auswertung.h"
#include "reports/mandantenname.h"
#include "reports/sqlzeilen.h"
#include "reports/trep_plusminus.h"

namespace plusminus {

QStringList queryPlusMinusZeilen() {
    return auswertung::zeilen(
        {"SELECT Sum(iif([isteinnahme]=1,[betrag],[betrag]*-1)) AS Diff_Bruttobetrag, "
         "Sum(iif([isteinnahme]=1,{netto},({netto})*-1)) AS Diff_Nettobetrag, T_BKreis.BKName, "
         "Sum(iif([Isteinnahme]=1,{netto},0)) AS Netto_Ein, "
         "Sum(iif([Isteinnahme]=2,{netto},0)) AS Netto_aus, Sum(iif([isteinnahme]=1,[betrag],0)) "
         "AS Brutto_ein, Sum(iif([isteinnahme]=2,[betrag],0)) AS Brutto_aus",
         "FROM (T_Zeitraum INNER JOIN (T_BKreis INNER JOIN T_Buchungen ON (T_BKreis.mandant = "
         "T_Buchungen.mandant) AND (T_BKreis.id = T_Buchungen.BK)) ON (T_Zeitraum.mandant = "
         "T_Buchungen.mandant) AND (T_Zeitraum.id = T_Buchungen.Wirtschaftsjahr)) INNER JOIN "
         "(T_Kontenplan INNER JOIN t_kontenbewegungen ON T_Kontenplan.Kontonummer = "
         "t_kontenbewegungen.Konten_Nr) ON (T_Buchungen.mandant = t_kontenbewegungen.mandant) AND "
         "(T_Buchungen.ID = t_kontenbewegungen.Buchungen_id)",
         "WHERE (((T_Zeitraum.id)=:Zeitraum) AND ((T_Buchungen.mandant)=:Mandant)) AND "
         "((t_kontenbewegungen.Konten_Nr)<>2021)",
         "AND ((T_Buchungen.Buchungsdatum) Between :von And :bis)", "GROUP BY T_BKreis.BKName",
         "ORDER BY T_BKreis.BKName COLLATE DEUTSCH;"});
}

reportengine::PageModel erzeugen(TDM_EinAus& dm, TRep_PlusMinus& bericht, T_RepDaten& daten,
                                 int code) {
    auswertung::zeitraumSetzen(dm, daten, code);
    datenbankpruefung::typenSicherstellen(dm.db());
    daten.GanzerName = mandantenname::zeilenTest(dm);
    Sql Query_PlusMinus = dm.db().sql(sqlzeilen::statement(queryPlusMinusZeilen()));
    Query_PlusMinus.nurVorwaerts();
    Query_PlusMinus.bind(QStringLiteral("Zeitraum"), daten.Zeitraum)
        .bind(QStringLiteral("Mandant"), daten.Mandant)
        .bind(QStringLiteral("von"), dates::toSql(daten.Von))
        .bind(QStringLiteral("bis"), dates::toSql(daten.Bis))
        .exec();
    reportengine::QueryRowSource zeilen(Query_PlusMinus.query());
    bericht.report().setDruckdatum(dm.clock().today());
    return bericht.erzeugen(zeilen);
}

} // namespace plusminus
