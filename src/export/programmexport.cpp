#include "export/programmexport.h"

#include "export/tcustomexport.h"
#include "platform/buchdateien.h"
#include "platform/userseam.h"

#include <QDir>

namespace {

// The document formats' settings the program stores; the tab format does not use them.
void dokumentEinstellungen(TCustomExport& e) {
    QFont tahoma(QStringLiteral("Tahoma"));
    tahoma.setPointSize(8);
    tahoma.setStyleHint(QFont::SansSerif);
    QFont tahomaFett = tahoma;
    tahomaFett.setBold(true);
    e.HTML = THTMLOptions();
    e.DOC_RTF = TRTFOptions();
    e.DOC_RTF.Options = {roShowGridLines, roOddRowColoring};
    e.DOC_RTF.CustomSettings.DefaultFont.font = tahoma;
    e.DOC_RTF.CustomSettings.HeaderFont.font = tahomaFett;
    e.DOC_RTF.CustomSettings.TableFont.font = tahoma;
    e.EXCEL = TExcelOptions();
    e.EXCEL.Options = {};
    e.EXCEL.DefaultFont = tahoma;
    e.EXCEL.HeaderFont = tahomaFett;
    e.EXCEL.TableFont = tahoma;
}

} // namespace

std::vector<ExportTypeEntry> programmFormate() {
    // what a spreadsheet user looks for first, under German names; the
    // component's other formats after them in its own order
    std::vector<ExportTypeEntry> formate = {
        {xtXLSX, QStringLiteral("Excel-Arbeitsmappe (XLSX)")},
        {xtCSVExcel, QStringLiteral("CSV für Excel (Semikolon)")},
        {xtTAB, QStringLiteral("Text (Tab getrennt)")},
    };
    for (const ExportTypeName& n : ExportTypeNames) {
        if (n.type != xtXLSX && n.type != xtCSVExcel && n.type != xtTAB)
            formate.push_back({n.type, QString::fromUtf8(n.name)});
    }
    return formate;
}

void programmExportEinrichten(TCustomExport& e, UserSeam& ui, const QString& caption) {
    e.ExportType = xtXLSX;
    e.ExportTypes = {};
    e.FormatEntries = programmFormate();
    for (const ExportTypeEntry& f : e.FormatEntries)
        e.ExportTypes.include(f.type);
    e.ExportStyle = xsFile;
    e.Options = {xoClipboardMessage, xoHeaderLine, xoShowHeader, xoShowProgress, xoUseAlignments};
    e.DateFormat = QStringLiteral("dd.MM.yyyy");
    e.TimeFormat = QStringLiteral("hh:mm");
    e.DateTimeFormat = QStringLiteral("hh:mm dd.MM.yyyy");
    e.TruncateSymbol = QStringLiteral("...");
    e.setRowNumberFormat(QStringLiteral("%d"));
    e.FileName.clear();

    dokumentEinstellungen(e);

    TMessagesOptions& m = e.Messages;
    m.Caption = caption;
    m.CopiedToClipboard = QStringLiteral("Daten sind in Zwischenablage kopiert!");
    m.CancelCaption = QStringLiteral("&Abbruch");
    m.CreatedText = QStringLiteral("Erzeugt:");
    m.ExportCaption = QStringLiteral("&Exportieren");
    m.ExportToFile = QStringLiteral("Export &in Datei");
    m.SelectFormat = QStringLiteral("E&xport Formate:");
    m.Text = QStringLiteral("In Arbeit...");
    m.ViewOnly = QStringLiteral("&Ansicht");
    m.DocumentFilter.Tab = QStringLiteral("Text (Tab getrennt)");
    if (caption == QLatin1String("Export Finanzamt"))
        m.DocumentFilter.Excel = QStringLiteral("Excel Datei");

    e.OnError = [&ui](TCustomExport& sender, int code) {
        const QString text = exportFehlermeldung(code, sender.lastTarget(), sender.lastError());
        if (!text.isEmpty())
            ui.error(text);
    };
}

QString exportFehlermeldung(int code, const QString& datei, const QString& grund) {
    switch (code) {
    case 0:
        return QStringLiteral("Es wurde kein Dateiname angegeben.\rDie Daten wurden nicht "
                              "exportiert.");
    case 2:
        return QStringLiteral("Es sind keine Daten zum Exportieren geöffnet.\rDie Daten wurden "
                              "nicht exportiert.");
    case 3:
        // the books' own file was never touched: that alone is the news
        if (grund == buchdateien::meldung())
            return grund;
        return QStringLiteral("Die Datei %1 konnte nicht geschrieben werden:\r%2\rDie Daten "
                              "wurden nicht exportiert.")
            .arg(QDir::toNativeSeparators(datei), grund);
    default:
        return QString();
    }
}

QString meldungNichtDarstellbar(int anzahl) {
    return QStringLiteral("%1 Zeichen waren in Windows-1252 nicht darstellbar und wurden durch ? "
                          "ersetzt.")
        .arg(anzahl);
}

void programmExportAusfuehren(TCustomExport& e, UserSeam& ui) {
    if (!e.FileName.isEmpty())
        e.SavePreset = e.FileName;
    e.FileName.clear();
    e.Execute();
    if (!e.FileName.isEmpty())
        e.SavePreset = e.FileName;
    if (e.lastError().isEmpty() && e.replacedCharacters() > 0)
        ui.message(meldungNichtDarstellbar(e.replacedCharacters()));
}
