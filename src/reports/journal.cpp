#include "reports/journal.h"

#include "data/dates.h"
#include "data/dm_einaus.h"
#include "data/feldlaengen.h"
#include "platform/clock.h"
#include "reports/auswertung.h"
#include "reports/mandantenname.h"
#include "reports/sqlzeilen.h"
#include "reports/trep_journal.h"

namespace journal {

namespace {

void binden(Sql& q, const T_RepDaten& d) {
    q.bind(QStringLiteral("zeitraum"), d.Zeitraum)
        .bind(QStringLiteral("von"), dates::toSql(d.Von))
        .bind(QStringLiteral("bis"), dates::toSql(d.Bis))
        .bind(QStringLiteral("mandant"), d.Mandant);
}

} // namespace

QStringList queryJournalZeilen() {
    return auswertung::zeilen(
        {"SELECT T_Buchungen.ID, T_Buchungen.Wirtschaftsjahr, T_Buchungen.Buchungsdatum, "
         "T_Buchungen.Belegnummer, T_Buchungen.Steuersatz, T_Buchungen.Betrag, "
         "CASE WHEN T_Buchungen.Steuerschuld = 1 THEN T_Buchungen.Text || ' (Reverse Charge)' "
         "WHEN T_Buchungen.Steuerschuld = 2 THEN T_Buchungen.Text || ' (Bauleistung)' "
         "WHEN T_Buchungen.SteuerfreiKZ IS NULL THEN T_Buchungen.Text "
         "WHEN T_Buchungen.SteuerfreiKZ = 'nicht steuerbar' THEN T_Buchungen.Text || ' (nicht "
         "steuerbar)' ELSE T_Buchungen.Text || ' (KZ ' || T_Buchungen.SteuerfreiKZ || ')' END AS "
         "Text, "
         "T_Buchungen.BK, T_Buchungen.IstEU, T_Buchungen.IstDrittland, T_Buchungen.IstEinnahme, "
         "t_kontenbewegungen.Konten_Nr, iif([IstDrittland]=2,[betrag],0) AS BetragJournal, "
         "iif([isteinnahme]=2,[St_betrag],Null) AS VST, "
         "iif([isteu]=2,iif([isteinnahme]=1,[St_betrag],Null),[St_betrag]) AS UST, "
         "T_Kontenplan.Kontoname, iif([isteinnahme]=2,[betrag]*-1,[betrag]) AS Betrag2",
         "FROM T_Buchungen INNER JOIN (t_kontenbewegungen INNER JOIN T_Kontenplan ON "
         "t_kontenbewegungen.Konten_Nr = T_Kontenplan.Kontonummer) ON (T_Buchungen.mandant = "
         "t_kontenbewegungen.mandant) AND (T_Buchungen.ID = t_kontenbewegungen.Buchungen_id)",
         "WHERE (((T_Buchungen.Wirtschaftsjahr)=  :zeitraum) AND ((T_Buchungen.Buchungsdatum) "
         "Between  :von And :bis) AND ((T_Buchungen.mandant)= :mandant))",
         "ORDER BY T_Buchungen.Buchungsdatum, T_Buchungen.ID;"});
}

QStringList exportZeilen() {
    return auswertung::zeilen(
        {"SELECT T_Buchungen.Buchungsdatum AS Datum, T_Buchungen.Belegnummer, "
         "CASE WHEN T_Buchungen.Steuerschuld = 1 THEN T_Buchungen.Text || ' (Reverse Charge)' "
         "WHEN T_Buchungen.Steuerschuld = 2 THEN T_Buchungen.Text || ' (Bauleistung)' "
         "WHEN T_Buchungen.SteuerfreiKZ IS NULL THEN T_Buchungen.Text "
         "WHEN T_Buchungen.SteuerfreiKZ = 'nicht steuerbar' THEN T_Buchungen.Text || ' (nicht "
         "steuerbar)' ELSE T_Buchungen.Text || ' (KZ ' || T_Buchungen.SteuerfreiKZ || ')' END AS "
         "Text, "
         "T_Buchungen.Steuersatz, iif([isteinnahme]=2,[betrag]*-1,[betrag]) AS Betrag, ",
         "iif([isteinnahme]=2,[St_betrag],Null) AS VST, "
         "iif([isteu]=2,iif([isteinnahme]=1,[St_betrag],Null),[St_betrag]) AS UST, "
         "T_BKreis.BKName AS Buchungskreis ",
         "FROM (T_Buchungen INNER JOIN (t_kontenbewegungen INNER JOIN T_Kontenplan ON "
         "t_kontenbewegungen.Konten_Nr = T_Kontenplan.Kontonummer) ON (T_Buchungen.ID = "
         "t_kontenbewegungen.Buchungen_id) ",
         "AND (T_Buchungen.mandant = t_kontenbewegungen.mandant)) INNER JOIN T_BKreis ON "
         "(T_Buchungen.mandant = T_BKreis.mandant) AND (T_Buchungen.BK = T_BKreis.id)",
         "WHERE (((T_Buchungen.Wirtschaftsjahr)=  :zeitraum) AND ((T_Buchungen.Buchungsdatum) "
         "Between  :von And :bis) AND ((T_Buchungen.mandant)= :mandant)) AND "
         "((t_kontenbewegungen.Konten_Nr)<>2021)",
         "ORDER BY T_Buchungen.Buchungsdatum, T_Buchungen.ID;"});
}

void datenSetzen(TDM_EinAus& dm, T_RepDaten& daten, int code) {
    auswertung::zeitraumSetzen(dm, daten, code);
    daten.GanzerName = mandantenname::zeilenTest(dm);
}

reportengine::PageModel erzeugen(TDM_EinAus& dm, TRep_Journal& bericht, const T_RepDaten& daten) {
    Sql QueryJournal = dm.db().sql(sqlzeilen::statement(queryJournalZeilen()));
    QueryJournal.nurVorwaerts();
    binden(QueryJournal, daten);
    QueryJournal.exec();
    bericht.report().setDruckdatum(dm.clock().today());
    reportengine::QueryRowSource zeilen(QueryJournal.query());
    return bericht.erzeugen(zeilen);
}

void exportOeffnen(TDM_EinAus& dm, const T_RepDaten& daten) {
    ExportAbfrage& Query_Export = dm.Query_Export();
    Query_Export.schliessen();
    Sql q = dm.db().sql(sqlzeilen::statement(exportZeilen()));
    binden(q, daten);
    q.exec();
    Query_Export.oeffnen(q.take(),
                         {FeldArt::Datum, FeldArt::Ganzzahl, FeldArt::Text, FeldArt::Ganzzahl,
                          FeldArt::Waehrung, FeldArt::Waehrung, FeldArt::Waehrung, FeldArt::Text},
                         {0, 0, feldlaenge::Buchungstext, 0, 0, 0, 0, feldlaenge::Text});
}

} // namespace journal
