// export finanzamt, journal, details and uva: the files the windows write,
// through the same components with the same settings.
#include "cli.h"
#include "data/dm_einaus.h"
#include "export/programmexport.h"
#include "export/tabfrageexport.h"
#include "export/tdbgridexport.h"
#include "exportausgabe.h"
#include "reports/einaus.h"
#include "reports/finanzamtexport.h"
#include "reports/journal.h"
#include "reports/uva.h"
#include "reports/verprobung.h"

#include <variant>

namespace cli {

namespace {

struct FormatName {
    const char* name;
    TExportType type;
};
constexpr FormatName Formate[] = {
    {"tab", xtTAB},
    {"csv", xtCSV},
    {"txt", xtTXT},
    {"html", xtHTML},
    {"doc", xtWord},
    {"rtf", xtRTF},
    {"dif", xtDIF},
    {"slk", xtSYLK},
    {"xls", xtExcel},
    {"xlsx", xtXLSX},
    {"csv-excel", xtCSVExcel},
};

} // namespace

QString exportFormatListe() {
    QStringList namen;
    for (const FormatName& f : Formate)
        namen << QLatin1String(f.name);
    return namen.join(QLatin1Char('|'));
}

TExportType exportFormatAus(const Args& args) {
    const QString name = args.value(QStringLiteral("--format")).value_or(QStringLiteral("tab"));
    for (const FormatName& f : Formate) {
        if (name == QLatin1String(f.name))
            return f.type;
    }
    throw UsageError(
        QStringLiteral("Unbekanntes Format %1 (erlaubt: %2).").arg(name, exportFormatListe()));
}

void exportSchreiben(Kontext& k, TCustomExport& e, TExportType format, const QString& datei) {
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
    if (!fehler.isEmpty())
        throw Refused(fehler);
    if (e.replacedCharacters() > 0)
        k.err(meldungNichtDarstellbar(e.replacedCharacters()));
}

namespace {

void exportFinanzamt(Kontext& k, const QStringList& words) {
    const Args args(words, {}, {QStringLiteral("--monat"), QStringLiteral("--format")});
    args.expectPositional(1);
    const QString datei = k.datei(args.at(0, "FILE"));
    const auto monatText = args.value(QStringLiteral("--monat"));
    if (!monatText)
        throw UsageError(QStringLiteral("--monat fehlt."));
    bool ok = false;
    const int monat = monatText->trimmed().toInt(&ok);
    if (!ok || monat < 1 || monat > 12)
        throw UsageError(QStringLiteral("Der Monat muss zwischen 1 und 12 liegen."));
    const TExportType format = exportFormatAus(args);

    TAbfrageExport e(k.ui(), k.clock());
    finanzamtExportOeffnen(k.dm(), e, monat);
    programmExportEinrichten(e, k.ui(), QStringLiteral("Export Finanzamt"));
    exportSchreiben(k, e, format, datei);
}

// Query_Export as filled by the command, written by the main window's export.
void datenexport(Kontext& k, TExportType format, const QString& datei) {
    TDBGridExport e(k.ui(), k.clock());
    e.setModel(&k.dm().Query_Export());
    programmExportEinrichten(e, k.ui(), QStringLiteral("Export Buchhaltung"));
    struct Schliessen {
        Kontext& k;
        ~Schliessen() { k.dm().Query_Export().schliessen(); }
    } schliessen{k};
    exportSchreiben(k, e, format, datei);
}

void exportJournal(Kontext& k, const QStringList& words) {
    const Args args(words, {}, {QStringLiteral("--zeitraum"), QStringLiteral("--format")});
    args.expectPositional(1);
    const QString datei = k.datei(args.at(0, "FILE"));
    const TExportType format = exportFormatAus(args);
    const int code = zeitraumCode(args);
    k.oeffnen();
    T_RepDaten daten;
    journal::datenSetzen(k.dm(), daten, code);
    journal::exportOeffnen(k.dm(), daten);
    datenexport(k, format, datei);
}

void exportDetails(Kontext& k, const QStringList& words) {
    const Args args(words, {}, {QStringLiteral("--format")});
    args.expectPositional(1);
    const QString datei = k.datei(args.at(0, "FILE"));
    const TExportType format = exportFormatAus(args);
    k.oeffnen();
    T_RepDaten daten;
    einaus::detailDatenSetzen(k.dm(), daten);
    einaus::detailExportOeffnen(k.dm(), daten);
    datenexport(k, format, datei);
}

// The summary as KZ<TAB>amount lines in the file's notation, then the
// computed KZ 095, the VAT verification's balance, the difference between the
// two, and the input taxes that have no Kennzahl.
void exportUva(Kontext& k, const QStringList& words) {
    const Args args(words, {}, {QStringLiteral("--zeitraum")});
    args.expectPositional(1);
    const QString datei = k.datei(args.at(0, "FILE"));
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
    for (const QString& warnung : e.Warnungen)
        k.err(warnung);
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
    out.push_back(
        {QStringLiteral("export finanzamt"),
         QStringLiteral("export finanzamt --monat M FILE [--format %1]").arg(exportFormatListe()),
         exportFinanzamt});
    out.push_back(
        {QStringLiteral("export journal"),
         QStringLiteral("export journal --zeitraum N FILE [--format %1]").arg(exportFormatListe()),
         exportJournal});
    out.push_back({QStringLiteral("export details"),
                   QStringLiteral("export details FILE [--format %1]").arg(exportFormatListe()),
                   exportDetails});
    out.push_back(
        {QStringLiteral("export uva"), QStringLiteral("export uva --zeitraum N FILE"), exportUva});
}

} // namespace cli
