// export finanzamt: the tax-office export of a month, written by the same
// grid export with the same settings as the window's.
#include "cli.h"
#include "data/dm_einaus.h"
#include "data/finanzamtliste.h"
#include "export/programmexport.h"
#include "export/tdbgridexport.h"
#include "reports/finanzamtexport.h"
#include "reports/uva.h"
#include "reports/verprobung.h"

#include <variant>

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

// The summary as KZ<TAB>amount lines in the file's notation, then the
// computed KZ 095, the VAT verification's balance, the difference between the
// two, and the input taxes that have no Kennzahl.
void exportUva(Kontext& k, const QStringList& words) {
    const Args args(words, {}, {QStringLiteral("--zeitraum")});
    args.expectPositional(1);
    const QString datei = args.at(0, "FILE");
    const auto text = args.value(QStringLiteral("--zeitraum"));
    if (!text)
        throw UsageError(QStringLiteral("Der Zeitraum fehlt (--zeitraum 1 bis 16)."));
    bool ok = false;
    const int code = text->trimmed().toInt(&ok);
    if (!ok || code < 1 || code > uva::letzterUvaCode)
        throw UsageError(QStringLiteral("'%1' ist kein Zeitraum von 1 bis 16. ").arg(*text) +
                         uva::meldungKeinZeitraum());
    k.oeffnen();
    const auto r = uva::erstellen(uva::eingabeLesen(k.dm(), code));
    if (const QString* m = std::get_if<QString>(&r))
        throw Refused(QString(*m).replace(QLatin1Char('\r'), QLatin1Char('\n')));
    const uva::Erklaerung& e = std::get<uva::Erklaerung>(r);
    if (const auto fehler = uva::schreiben(uva::xml(e, k.clock().now()), datei))
        throw Refused(QString(*fehler).replace(QLatin1Char('\r'), QLatin1Char('\n')));
    for (const uva::Kz kz : uva::reihenfolge(e))
        k.out(uva::kzName(kz) + QLatin1Char('\t') + uva::xmlBetrag(e.betrag(kz)));
    k.out(QStringLiteral("095\t") + uva::xmlBetrag(e.kz095()));
    k.out(verprobung::saldoText(e.VerprobungSaldo) + QLatin1Char('\t') +
          uva::xmlBetrag(verprobung::saldoBetrag(e.VerprobungSaldo)));
    k.out(QStringLiteral("Differenz\t") + uva::xmlBetrag(e.differenz()));
    k.out(QStringLiteral("KFZ\t") + uva::xmlBetrag(e.KFZ));
    k.out(QStringLiteral("Gebaeude\t") + uva::xmlBetrag(e.Gebaeude));
}

} // namespace

void exportBefehle(std::vector<Befehl>& out) {
    out.push_back({QStringLiteral("export finanzamt"),
                   QStringLiteral("export finanzamt --monat M FILE [--format tab|csv|txt]"),
                   exportFinanzamt});
    out.push_back(
        {QStringLiteral("export uva"), QStringLiteral("export uva --zeitraum N FILE"), exportUva});
}

} // namespace cli
