#pragma once

// The --format choice of the export commands, shared by every command that
// writes through the grid export.
#include "export/exporttypes.h"

#include <QString>

class TCustomExport;

namespace cli {

class Args;
class Kontext;

// "tab|csv|txt|html|doc|rtf|dif|slk|xls|xlsx", for the usage texts.
QString exportFormatListe();
// The format of --format (tab when it is missing); a UsageError for any other name.
TExportType exportFormatAus(const Args& args);
// Runs the export set up in e to datei in the format; a failure is Refused
// with the program's message, replaced characters are noted on stderr.
void exportSchreiben(Kontext& k, TCustomExport& e, TExportType format, const QString& datei);

} // namespace cli
