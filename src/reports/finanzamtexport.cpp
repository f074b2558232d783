#include "reports/finanzamtexport.h"

#include "data/datenbankpruefung.h"
#include "data/dates.h"
#include "data/dm_einaus.h"
#include "data/finanzamtliste.h"
#include "export/tabfrageexport.h"
#include "platform/userseam.h"
#include "reports/texportansicht.h"
#include "toolkit/umgebung.h"

FinanzamtZeitraum finanzamtZeitraum(int jahr, int monat) {
    return {QDate(jahr, 1, 1), dates::lastOfMonth(jahr, monat)};
}

void QueryFinanzamtOeffnen(TDM_EinAus& dm, FinanzamtListe& query, int monat) {
    datenbankpruefung::typenSicherstellen(dm.db());
    const int mandant = dm.gibMandant();
    const int zeitraum = dm.gibZeitraum();
    const FinanzamtZeitraum z = finanzamtZeitraum(dm.gibJahr(), monat);
    query.starten(zeitraum, z.von, z.bis, mandant);
}

void finanzamtExportOeffnen(TDM_EinAus& dm, TAbfrageExport& e, int monat) {
    datenbankpruefung::typenSicherstellen(dm.db());
    const FinanzamtZeitraum z = finanzamtZeitraum(dm.gibJahr(), monat);
    e.oeffnen(FinanzamtListe::abfrage(dm.db(), dm.gibZeitraum(), z.von, z.bis, dm.gibMandant()),
              FinanzamtListe::arten(), FinanzamtListe::breiten());
}

namespace {

// Closes the query however the command ends.
class Schliessen {
public:
    explicit Schliessen(FinanzamtListe& query) : m_query(query) {}
    ~Schliessen() { m_query.schliessen(); }
    Schliessen(const Schliessen&) = delete;
    Schliessen& operator=(const Schliessen&) = delete;

private:
    FinanzamtListe& m_query;
};

} // namespace

void Finanzamt1Click(Umgebung& umgebung, TExportansicht& ansicht, const MonatFrage& monatFragen) {
    const std::optional<int> monat = monatFragen();
    if (!monat || *monat < 1 || *monat > 12)
        return;
    FinanzamtListe& query = ansicht.QueryFinanzamt();
    const Schliessen schliessen(query);
    try {
        QueryFinanzamtOeffnen(umgebung.dm, query, *monat);
    } catch (const DatenbankFehler& e) {
        umgebung.ui.error(e.text());
        return;
    }
    umgebung.ui.runModal(ansicht);
}
