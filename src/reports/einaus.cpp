#include "reports/einaus.h"

#include "data/datenbankpruefung.h"
#include "data/dates.h"
#include "data/dm_einaus.h"
#include "data/feldlaengen.h"
#include "platform/clock.h"
#include "reports/auswertung.h"
#include "reports/mandantenname.h"
#include "reports/sqlzeilen.h"
#include "reports/trep_einaus.h"
#include "reports/trep_einausdetail.h"

namespace einaus {

QStringList queryEinAusZeilen() {
    return auswertung::zeilen(
        {"SELECT Sum({netto}) AS netto, "
         "Sum(T_Buchungen.Betrag) AS brutto, T_Buchungen.IstEinnahme, "
         "T_Buchungen.Wirtschaftsjahr, T_Zeitraum.Jahr, T_Buchungen.BK, T_BKreis.BKName",
         "FROM (T_Zeitraum INNER JOIN (T_BKreis INNER JOIN T_Buchungen ON (T_BKreis.mandant = "
         "T_Buchungen.mandant) AND (T_BKreis.id = T_Buchungen.BK)) ON (T_Zeitraum.mandant = "
         "T_Buchungen.mandant) AND (T_Zeitraum.id = T_Buchungen.Wirtschaftsjahr)) INNER JOIN "
         "t_kontenbewegungen ON (T_Buchungen.ID = t_kontenbewegungen.Buchungen_id) AND "
         "(T_Buchungen.mandant = t_kontenbewegungen.mandant)",
         "WHERE (((t_kontenbewegungen.Konten_Nr)<>2021) AND ((T_Buchungen.mandant)=:mandant))",
         "AND ((T_Buchungen.Buchungsdatum) Between :von And :bis)",
         "GROUP BY T_Buchungen.IstEinnahme, T_Buchungen.Wirtschaftsjahr, T_Zeitraum.Jahr, "
         "T_Buchungen.BK, T_BKreis.BKName",
         "HAVING (((T_Buchungen.Wirtschaftsjahr)=:Zeitraum))",
         // within a side the circles in the order of their names
         "ORDER BY T_Buchungen.IstEinnahme, T_BKreis.BKName COLLATE DEUTSCH, T_Buchungen.BK;"});
}

QStringList queryEinAusDetailZeilen() {
    return auswertung::zeilen(
        {// each circle's place in the German order of names, ranked once instead
         // of comparing names row by row; circles of the same name stay apart
         "WITH Rang AS MATERIALIZED (SELECT mandant, id, row_number() OVER (PARTITION BY mandant "
         "ORDER BY BKName COLLATE DEUTSCH, id) AS Nr FROM T_BKreis)",
         "SELECT {netto} AS netto, T_Buchungen.Betrag AS brutto, T_Buchungen.IstEinnahme, "
         "T_Buchungen.Wirtschaftsjahr, T_Zeitraum.Jahr, "
         "T_Buchungen.BK, T_BKreis.BKName, T_Buchungen.Text, "
         "iif([istEinnahme]=1,{netto},({netto})*-1) AS netto2, "
         "iif([istEinnahme]=1,[Betrag],[Betrag]*-1) AS "
         "brutto2, iif([istEinnahme]=1,'Einnahmen','Ausgaben') AS istEinnahme_text, "
         "T_Buchungen.Belegnummer, T_Buchungen.Buchungsdatum",
         "FROM (T_Zeitraum INNER JOIN (T_BKreis INNER JOIN T_Buchungen ON (T_Buchungen.mandant = "
         "T_BKreis.mandant) AND (T_BKreis.id = T_Buchungen.BK)) ON (T_Zeitraum.mandant = "
         "T_Buchungen.mandant) AND (T_Zeitraum.id = T_Buchungen.Wirtschaftsjahr)) INNER JOIN "
         "t_kontenbewegungen ON (T_Buchungen.ID = t_kontenbewegungen.Buchungen_id) AND "
         "(T_Buchungen.mandant = t_kontenbewegungen.mandant)",
         "INNER JOIN Rang ON (Rang.mandant = T_Buchungen.mandant) AND (Rang.id = T_Buchungen.BK)",
         "WHERE (((T_Buchungen.Wirtschaftsjahr)=:Zeitraum) AND "
         "((t_kontenbewegungen.Konten_Nr)<>2021) AND ((T_Buchungen.mandant)=:mandant))",
         "AND ((T_Buchungen.Buchungsdatum) Between :von And :bis)",
         "ORDER BY T_Buchungen.IstEinnahme, Rang.Nr, T_Buchungen.Buchungsdatum, T_Buchungen.ID;"});
}

QStringList detailExportZeilen() {
    return auswertung::zeilen(
        {"SELECT T_Buchungen.Belegnummer, T_Buchungen.Buchungsdatum, T_Buchungen.Text, "
         "iif([istEinnahme]=1,{netto},({netto})*-1) AS Netto, ",
         "iif([istEinnahme]=1,[Betrag],[Betrag]*-1) AS Brutto, T_BKreis.BKName",
         "FROM (T_BKreis INNER JOIN T_Buchungen ON (T_BKreis.mandant = T_Buchungen.mandant) AND "
         "(T_BKreis.id = T_Buchungen.BK)) INNER JOIN t_kontenbewegungen ON ",
         "(T_Buchungen.ID = t_kontenbewegungen.Buchungen_id) AND (T_Buchungen.mandant = "
         "t_kontenbewegungen.mandant)",
         "WHERE (((T_Buchungen.Wirtschaftsjahr)=:Zeitraum) AND "
         "((t_kontenbewegungen.Konten_Nr)<>2021) AND ((T_Buchungen.mandant)=:mandant))",
         "AND ((T_Buchungen.Buchungsdatum) Between :von And :bis)",
         "ORDER BY T_Buchungen.Buchungsdatum, T_BKreis.BKName COLLATE DEUTSCH, T_Buchungen.ID;"});
}

namespace {

// The period's first and last day, with client and fiscal year.
void binden(Sql& q, const T_RepDaten& d) {
    q.bind(QStringLiteral("Zeitraum"), d.Zeitraum)
        .bind(QStringLiteral("mandant"), d.Mandant)
        .bind(QStringLiteral("von"), dates::toSql(d.Von))
        .bind(QStringLiteral("bis"), dates::toSql(d.Bis));
}

} // namespace

reportengine::PageModel auswertungErzeugen(TDM_EinAus& dm, TRep_EinAus& bericht, T_RepDaten& daten,
                                           int kreis, int code) {
    auswertung::zeitraumSetzen(dm, daten, code);
    datenbankpruefung::typenSicherstellen(dm.db());
    daten.GanzerName = mandantenname::zeilenTest(dm);
    Sql QueryEinAus = dm.db().sql(sqlzeilen::statement(queryEinAusZeilen()));
    QueryEinAus.nurVorwaerts();
    binden(QueryEinAus, daten);
    QueryEinAus.exec();
    reportengine::QueryRowSource zeilen(QueryEinAus.query());
    auswertung::KreisFilter gefiltert(zeilen, kreis);
    bericht.report().setDruckdatum(dm.clock().today());
    return bericht.erzeugen(gefiltert);
}

void detailDatenSetzen(TDM_EinAus& dm, T_RepDaten& daten, int code) {
    auswertung::zeitraumSetzen(dm, daten, code);
    datenbankpruefung::typenSicherstellen(dm.db());
    daten.GanzerName = mandantenname::zeilenTest(dm);
}

reportengine::PageModel detailsErzeugen(TDM_EinAus& dm, TRep_EinAusDetail& bericht,
                                        const T_RepDaten& daten) {
    Sql QueryEinAusDetail = dm.db().sql(sqlzeilen::statement(queryEinAusDetailZeilen()));
    QueryEinAusDetail.nurVorwaerts();
    binden(QueryEinAusDetail, daten);
    QueryEinAusDetail.exec();
    reportengine::QueryRowSource zeilen(QueryEinAusDetail.query());
    auswertung::KreisFilter gefiltert(zeilen, bericht.kreis());
    bericht.report().setDruckdatum(dm.clock().today());
    return bericht.erzeugen(gefiltert);
}

void detailExportOeffnen(TDM_EinAus& dm, const T_RepDaten& daten) {
    ExportAbfrage& Query_Export = dm.Query_Export();
    Query_Export.schliessen();
    Sql q = dm.db().sql(sqlzeilen::statement(detailExportZeilen()));
    binden(q, daten);
    q.exec();
    Query_Export.oeffnen(q.take(),
                         {FeldArt::Ganzzahl, FeldArt::Datum, FeldArt::Text, FeldArt::Waehrung,
                          FeldArt::Waehrung, FeldArt::Text},
                         {0, 0, feldlaenge::Buchungstext, 0, 0, feldlaenge::Text});
}

} // namespace einaus
