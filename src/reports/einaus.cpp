#include "reports/einaus.h"

#include "data/dm_einaus.h"
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
         "GROUP BY T_Buchungen.IstEinnahme, T_Buchungen.Wirtschaftsjahr, T_Zeitraum.Jahr, "
         "T_Buchungen.BK, T_BKreis.BKName",
         "HAVING (((T_Buchungen.Wirtschaftsjahr)=:Zeitraum))",
         // within a side the circles in the order of their names
         "ORDER BY T_Buchungen.IstEinnahme, T_BKreis.BKName COLLATE DEUTSCH, T_Buchungen.BK;"});
}

QStringList queryEinAusDetailZeilen() {
    return auswertung::zeilen(
        {"SELECT {netto} AS netto, T_Buchungen.Betrag AS brutto, T_Buchungen.IstEinnahme, "
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
         "WHERE (((T_Buchungen.Wirtschaftsjahr)=:Zeitraum) AND "
         "((t_kontenbewegungen.Konten_Nr)<>2021) AND ((T_Buchungen.mandant)=:mandant))",
         // circles of the same name stay apart, each one group
         "ORDER BY T_Buchungen.IstEinnahme, T_BKreis.BKName COLLATE DEUTSCH, T_Buchungen.BK, "
         "T_Buchungen.Buchungsdatum, T_Buchungen.ID;"});
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
         "ORDER BY T_Buchungen.Buchungsdatum, T_BKreis.BKName COLLATE DEUTSCH, T_Buchungen.ID;"});
}

reportengine::PageModel auswertungErzeugen(TDM_EinAus& dm, TRep_EinAus& bericht, T_RepDaten& daten,
                                           int kreis) {
    daten.GanzerName = mandantenname::zeilenTest(dm);
    daten.ZeitraumText = auswertung::jahrText(dm.gibJahr());
    Sql QueryEinAus = dm.db().sql(sqlzeilen::statement(queryEinAusZeilen()));
    QueryEinAus.query().setForwardOnly(true);
    QueryEinAus.bind(QStringLiteral("Zeitraum"), dm.gibZeitraum())
        .bind(QStringLiteral("mandant"), dm.gibMandant())
        .exec();
    reportengine::QueryRowSource zeilen(QueryEinAus.query());
    auswertung::KreisFilter gefiltert(zeilen, kreis);
    return bericht.erzeugen(gefiltert);
}

void detailDatenSetzen(TDM_EinAus& dm, T_RepDaten& daten) {
    daten.GanzerName = mandantenname::zeilenTest(dm);
    daten.Mandant = dm.gibMandant();
    daten.Jahr = dm.gibJahr();
}

reportengine::PageModel detailsErzeugen(TDM_EinAus& dm, TRep_EinAusDetail& bericht,
                                        const T_RepDaten& daten) {
    Sql QueryEinAusDetail = dm.db().sql(sqlzeilen::statement(queryEinAusDetailZeilen()));
    QueryEinAusDetail.query().setForwardOnly(true);
    QueryEinAusDetail.bind(QStringLiteral("Zeitraum"), dm.gibZeitraum())
        .bind(QStringLiteral("mandant"), daten.Mandant)
        .exec();
    reportengine::QueryRowSource zeilen(QueryEinAusDetail.query());
    auswertung::KreisFilter gefiltert(zeilen, bericht.kreis());
    return bericht.erzeugen(gefiltert);
}

void detailExportOeffnen(TDM_EinAus& dm, const T_RepDaten& daten) {
    ExportAbfrage& Query_Export = dm.Query_Export();
    Query_Export.schliessen();
    Sql q = dm.db().sql(sqlzeilen::statement(detailExportZeilen()));
    q.bind(QStringLiteral("Zeitraum"), dm.gibZeitraum())
        .bind(QStringLiteral("mandant"), daten.Mandant)
        .exec();
    Query_Export.oeffnen(q.take(), {FeldArt::Ganzzahl, FeldArt::Datum, FeldArt::Text,
                                    FeldArt::Waehrung, FeldArt::Waehrung, FeldArt::Text});
}

} // namespace einaus
