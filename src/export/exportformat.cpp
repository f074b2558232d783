#include "export/exportformat.h"

#include "data/anzeige.h"
#include "data/texte.h"
#include "export/documentformats.h"
#include "export/excelformat.h"
#include "export/xlsxformat.h"

#include <QRegularExpression>
#include <algorithm>

TextFileResult ExportFormat::finish(const QString& target, const QStringList& lines,
                                    const ExportSinks&) {
    return writeTextFile(target, lines);
}

void ExportFormat::footer(QStringList& out, const QString& separator, const QStringList& lines,
                          const QString& dateLine) {
    if (!separator.isEmpty())
        out << separator;
    out << lines;
    if (!dateLine.isEmpty())
        out << dateLine;
}

std::unique_ptr<ExportFormat> createExportFormat(TExportType type) {
    switch (type) {
    case xtHTML:
        return std::make_unique<HtmlFormat>();
    case xtWord:
        return std::make_unique<RtfFormat>(xtWord);
    case xtRTF:
        return std::make_unique<RtfFormat>(xtRTF);
    case xtDIF:
        return std::make_unique<DifFormat>();
    case xtSYLK:
        return std::make_unique<SylkFormat>();
    case xtExcel:
        return std::make_unique<ExcelFormat>();
    case xtXLSX:
        return std::make_unique<XlsxFormat>();
    case xtTAB:
        return std::make_unique<TabFormat>();
    case xtCSV:
        return std::make_unique<CsvFormat>();
    case xtCSVExcel:
        return std::make_unique<CsvExcelFormat>();
    case xtTXT:
        return std::make_unique<TextFormat>();
    case xtClipboard:
        return std::make_unique<ClipboardFormat>();
    default:
        return nullptr;
    }
}

bool exportFormatAvailable(TExportType type) {
    return createExportFormat(type) != nullptr;
}

QString QuoteText(const QString& text, bool always) {
    QString out = text;
    out.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    if (always || out.contains(QLatin1Char(' ')) || out.contains(QLatin1Char(',')))
        out = QLatin1Char('"') + out + QLatin1Char('"');
    return out;
}

QString TabFormat::rowNumberCell(const QString& n, int) const {
    return texte::einzeilig(n) + QLatin1Char('\t');
}

QString TabFormat::captionRowPrefix(int) const {
    // an empty cell above the numbers
    return QStringLiteral("\t");
}

QString TabFormat::cell(const QString& text, const CellInfo&, bool) {
    return texte::einzeilig(text);
}

QString CsvFormat::rowNumberCell(const QString& n, int) const {
    const QString clean = texte::einzeilig(n);
    const bool quote = clean.contains(QLatin1Char(' ')) || clean.contains(QLatin1Char(','));
    return (quote ? QLatin1Char('"') + clean + QLatin1Char('"') : clean) + QLatin1Char(',');
}

QString CsvFormat::captionRowPrefix(int) const {
    return QStringLiteral(",");
}

QString CsvFormat::cell(const QString& text, const CellInfo&, bool) {
    return QuoteText(texte::einzeilig(text), false);
}

QString CsvExcelFormat::quoted(const QString& text) {
    static const QRegularExpression special(QStringLiteral("[;\"\r\n]"));
    if (!text.contains(special))
        return text;
    QString out = text;
    out.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + out + QLatin1Char('"');
}

QString CsvExcelFormat::rowNumberCell(const QString& n, int) const {
    return quoted(n) + QLatin1Char(';');
}

QString CsvExcelFormat::captionRowPrefix(int) const {
    return QStringLiteral(";");
}

QString CsvExcelFormat::cell(const QString& text, const CellInfo& info, bool) {
    const QVariant& typed = info.typed;
    if (typed.userType() == qMetaTypeId<Currency>())
        return anzeige::zahl(typed.value<Currency>());
    if (typed.typeId() == QMetaType::LongLong)
        return QString::number(typed.toLongLong());
    if (typed.typeId() == QMetaType::QDate && typed.toDate().isValid())
        return anzeige::datum(typed.toDate());
    return quoted(text);
}

TextFileResult CsvExcelFormat::finish(const QString& target, const QStringList& lines,
                                      const ExportSinks&) {
    return writeBytesFile(target, QByteArray("\xEF\xBB\xBF") + joinLines(lines).toUtf8());
}

QString TextFormat::separatorLine(int lineWidth) const {
    return QString(qMax(0, lineWidth), QLatin1Char('-'));
}

QString TextFormat::rowNumberCell(const QString& n, int padTo) const {
    return texte::einzeilig(n).rightJustified(padTo, QLatin1Char(' '));
}

QString TextFormat::captionRowPrefix(int rowNumberCellLength) const {
    return QString(rowNumberCellLength + 1, QLatin1Char(' '));
}

QString TextFormat::cell(const QString& text, const CellInfo& info, bool useAlignments) {
    const QString t = texte::einzeilig(text);
    const int free = info.width - static_cast<int>(t.size());
    if (free <= 0)
        return t;
    if (useAlignments && info.alignment == 2)
        return QString(free, QLatin1Char(' ')) + t;
    if (useAlignments && info.alignment == 3) {
        // an odd blank goes behind
        const int before = free / 2;
        return QString(before, QLatin1Char(' ')) + t + QString(free - before, QLatin1Char(' '));
    }
    return t + QString(free, QLatin1Char(' '));
}

TextFileResult ClipboardFormat::finish(const QString&, const QStringList& lines,
                                       const ExportSinks& sinks) {
    TextFileResult result;
    if (sinks.clipboard)
        sinks.clipboard(joinLines(lines));
    result.ok = true;
    return result;
}
