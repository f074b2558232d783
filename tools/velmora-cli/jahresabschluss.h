#pragma once

#include "cli.h"
#include "reports/trep_jahresabschluss.h"

namespace cli {

// A year-end table: its lines joined by tabs on stdout, or with --pdf the
// report's pages in that file.
void tabelleAusgeben(Kontext& k, const Args& args, const QString& titel,
                     const std::vector<TRep_Jahresabschluss::Spalte>& spalten,
                     const std::vector<QStringList>& zeilen);

} // namespace cli
