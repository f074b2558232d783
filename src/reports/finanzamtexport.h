#pragma once

#include <QDate>
#include <functional>
#include <optional>

class FinanzamtListe;
class TAbfrageExport;
class TDM_EinAus;
class TExportansicht;
class UserSeam;
struct Umgebung;

// The tax-office export's period: 1 January of the year up to the last day
// of the chosen month.
struct FinanzamtZeitraum {
    QDate von;
    QDate bis;
};
FinanzamtZeitraum finanzamtZeitraum(int jahr, int monat);

// Opens QueryFinanzamt for the current client and fiscal year up to the end
// of monat (1 to 12); throws DatenbankFehler.
void QueryFinanzamtOeffnen(TDM_EinAus& dm, FinanzamtListe& query, int monat);

// Opens QueryFinanzamt's statement for the current client and fiscal year up
// to the end of monat into the export: the rows reach the formats straight
// from the statement. Throws DatenbankFehler.
void finanzamtExportOeffnen(TDM_EinAus& dm, TAbfrageExport& e, int monat);

// Asks the user for the month of the export (1 to 12); nullopt on Cancel.
using MonatFrage = std::function<std::optional<int>()>;

// The menu command "Export > Finanzamt": the month, then the rows in the
// preview window until it is closed; the query is closed afterwards in every case.
void Finanzamt1Click(Umgebung& umgebung, TExportansicht& ansicht, const MonatFrage& monatFragen);
