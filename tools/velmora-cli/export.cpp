// export finanzamt: the tax-office export of a month, written by the same
// grid export with the same settings as the window's.
#include "cli.h"
#include "data/dm_einaus.h"
#include "data/finanzamtliste.h"
#include "export/programmexport.h"
#include "export/tdbgridexport.h"
#include "reports/finanzamtexport.h"

namespace cli {

namespace {

TExportType formatAus(const QString& name) {
    if (name == QLatin1String("tab"))
        return xtTAB;
    if (name == QLatin1String("csv"))
        return xtCSV;
    if (name == QLatin1String("txt"))
        return xtTXT;
    throw UsageError(QStringLiteral("Unbekanntes Format %1.").arg(name));
}

void exportFinanzamt(Kontext& k, const QStringList& words) {
    const Args args(words, {}, {QStringLiteral("--monat"), QStringLiteral("--format")});
    args.expectPositional(1);
    const QString datei = args.at(0, "FILE");
    const auto monatText = args.value(QStringLiteral("--monat"));
    if (!monatText)
        throw UsageError(QStringLiteral("--monat fehlt."));
    bool ok = false;
    const int monat = monatText->trimmed().toInt(&ok);
    if (!ok || monat < 1 || monat > 12)
        throw UsageError(QStringLiteral("Der Monat muss zwischen 1 und 12 liegen."));
    const TExportType format = formatAus(args.value(QStringLiteral("--format")).value_or("tab"));

    TDM_EinAus& dm = k.dm();
    FinanzamtListe query(dm.db());
    QueryFinanzamtOeffnen(dm, query, monat);

    TDBGridExport e(k.ui(), k.clock());
    e.setModel(&query);
    programmExportEinrichten(e, k.ui(), QStringLiteral("Export Finanzamt"));
    e.ExportTypes.include(format);
    e.ExportType = format;
    e.FileName = datei;
    QString fehler;
    e.OnError = [&fehler](TCustomExport& sender, int code) {
        const QString text = exportFehlermeldung(code, sender.lastTarget(), sender.lastError());
        if (!text.isEmpty())
            fehler = text;
    };
    e.RunExport();
    query.schliessen();
    if (!fehler.isEmpty())
        throw Refused(fehler);
    if (e.replacedCharacters() > 0)
        k.err(meldungNichtDarstellbar(e.replacedCharacters()));
}

} // namespace

void exportBefehle(std::vector<Befehl>& out) {
    out.push_back({QStringLiteral("export finanzamt"),
                   QStringLiteral("export finanzamt --monat M FILE [--format tab|csv|txt]"),
                   exportFinanzamt});
}

} // namespace cli
