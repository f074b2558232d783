#pragma once

#include "export/exporttypes.h"

#include <QString>
#include <vector>

class TCustomExport;
class UserSeam;

// How the program sets up its grid exports: the workbook preselected, then
// the semicolon CSV and tab-separated text, then the component's other
// formats; written to a file, German texts under the given caption ("Export Buchhaltung",
// "Export Finanzamt"), and a handler that reports every failure.
void programmExportEinrichten(TCustomExport& e, UserSeam& ui, const QString& caption);

// The selection dialog's entries in the program's order.
std::vector<ExportTypeEntry> programmFormate();

// The message of a failed export; empty where nothing is to be said
// (code 4, the save dialog cancelled; code 1, which code 3 follows).
QString exportFehlermeldung(int code, const QString& datei, const QString& grund);
// After a run that wrote "?" for characters Windows-1252 cannot hold.
QString meldungNichtDarstellbar(int anzahl);

// Execute as the program calls it: the save dialog appears every time,
// preset with the name chosen last, so no export overwrites an earlier one
// unasked; afterwards a note about characters written as "?".
void programmExportAusfuehren(TCustomExport& e, UserSeam& ui);
