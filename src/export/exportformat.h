#pragma once

#include "export/exportoptions.h"
#include "export/exporttypes.h"
#include "export/textfilewriter.h"

#include <QDateTime>
#include <QStringList>
#include <functional>
#include <memory>

// One cell as the run hands it to a format.
struct CellInfo {
    int column = 0;
    // ColumnWidth of the column.
    int width = 0;
    // ColumnAlignment: 0 none, 1 left, 2 right, 3 centre.
    int alignment = 0;
    bool captionRow = false;
    // The value behind the text.
    QVariant value;
    // The model's number or date beside its display text, when it has one.
    QVariant typed;
};

template <class Options> const Options& defaultOptions() {
    static const Options options;
    return options;
}

// What a format learns about the run before its preamble.
struct FormatContext {
    TExportOptions options;
    // All columns of the grid, hidden ones too.
    int columnCount = 0;
    int rowTotal = 0;
    QStringList columnWidths;
    // The component's class name in capital letters.
    QString className;
    QString target;
    // The class defaults until a run gives the component's own.
    const THTMLOptions* html = &defaultOptions<THTMLOptions>();
    const TRTFOptions* rtf = &defaultOptions<TRTFOptions>();
    const TExcelOptions* excel = &defaultOptions<TExcelOptions>();
    // Rows processed before the row being written.
    std::function<int()> processed;
};

// Where a finished export goes besides a file.
struct ExportSinks {
    std::function<void(const QString&)> clipboard;
};

// One export format, plugged into the run at its fixed points: preamble,
// header lines, caption-row prefix, row-number cell, cell, join, row lines,
// postamble, footer and finish. A format knows no widget and no model.
class ExportFormat {
public:
    virtual ~ExportFormat() = default;

    virtual TExportType type() const = 0;
    // Upper case, without dot.
    virtual QString extension() const = 0;
    virtual QString filterDescription(const TDocumentFilter& filter) const = 0;

    virtual void begin(const FormatContext& context) { ctx = context; }
    virtual void preamble(QStringList& /*out*/) {}
    // The OnGetHeader lines; separator is the header separator line for a
    // format that writes it with them, otherwise empty.
    virtual void headerLines(QStringList& out, const QStringList& lines,
                             const QString& /*separator*/) {
        out << lines;
    }
    // Whether the header separator goes before the table (HTML) rather than
    // after the caption row.
    virtual bool separatorWithHeaderLines() const { return false; }
    // Whether the OnGetHeader lines are written.
    virtual bool writesHeaderLines() const = 0;
    // Whether the footer separator, the OnGetFooter lines and the date line are written.
    virtual bool writesFooter() const = 0;
    // The separator line when the option asks for one; empty when the format has none.
    virtual QString separatorLine(int /*lineWidth*/) const { return QString(); }

    // The row-number cell of N, padTo the width of the row total's number.
    virtual QString rowNumberCell(const QString& n, int padTo) const = 0;
    // The row-number cell as a data row writes it.
    virtual QString rowNumber(const QString& n, int padTo) { return rowNumberCell(n, padTo); }
    // What stands between the row-number cell and the first cell.
    virtual QString afterRowNumber() const { return QString(); }
    // What the caption row starts with when rows carry numbers, so captions
    // and values stay in the same columns.
    virtual QString captionRowPrefix(int rowNumberCellLength) const = 0;

    virtual QString cell(const QString& text, const CellInfo& info, bool useAlignments) = 0;
    // Whether cell() looks at CellInfo::typed; a run asks for typed values only then.
    virtual bool usesTyped() const { return false; }
    // Between two consecutive exported cells.
    virtual QString join() const = 0;
    // The lines of one row, with the format's row prefix and suffix.
    virtual void rowLines(QStringList& out, const QString& row, bool /*captionRow*/) { out << row; }
    virtual void postamble(QStringList& /*out*/) {}
    // The footer separator (empty when none), the OnGetFooter lines and the
    // export-date line (empty when none).
    virtual void footer(QStringList& out, const QString& separator, const QStringList& lines,
                        const QString& dateLine);

    // Puts the collected lines where they belong: the target file, the clipboard.
    virtual TextFileResult finish(const QString& target, const QStringList& lines,
                                  const ExportSinks& sinks);
    // Whether finish writes the target file (the clipboard does not).
    virtual bool writesFile() const { return true; }

protected:
    FormatContext ctx;
};

// The format object of a type; nullptr for a type that has none in this build.
std::unique_ptr<ExportFormat> createExportFormat(TExportType type);
bool exportFormatAvailable(TExportType type);

// Doubles every double quote; encloses the text in double quotes when always
// or when it holds a blank or a comma.
QString QuoteText(const QString& text, bool always);

class TabFormat : public ExportFormat {
public:
    TExportType type() const override { return xtTAB; }
    QString extension() const override { return QStringLiteral("TXT"); }
    QString filterDescription(const TDocumentFilter& f) const override { return f.Tab; }
    bool writesHeaderLines() const override { return true; }
    bool writesFooter() const override { return true; }
    QString rowNumberCell(const QString& n, int padTo) const override;
    QString captionRowPrefix(int rowNumberCellLength) const override;
    QString cell(const QString& text, const CellInfo& info, bool useAlignments) override;
    QString join() const override { return QStringLiteral("\t"); }
};

class CsvFormat : public ExportFormat {
public:
    TExportType type() const override { return xtCSV; }
    QString extension() const override { return QStringLiteral("CSV"); }
    QString filterDescription(const TDocumentFilter& f) const override { return f.Comma; }
    bool writesHeaderLines() const override { return false; }
    bool writesFooter() const override { return false; }
    QString rowNumberCell(const QString& n, int padTo) const override;
    QString captionRowPrefix(int rowNumberCellLength) const override;
    QString cell(const QString& text, const CellInfo& info, bool useAlignments) override;
    QString join() const override { return QStringLiteral(","); }
};

// CSV as a German spreadsheet opens it: ";" between cells, numbers from the
// typed values with a decimal comma and never quoted, dates "dd.mm.yyyy",
// texts quoted only when they hold ";", a double quote or a line break;
// UTF-8 with a byte-order mark, so umlauts and "€" survive in Excel.
class CsvExcelFormat final : public ExportFormat {
public:
    TExportType type() const override { return xtCSVExcel; }
    QString extension() const override { return QStringLiteral("CSV"); }
    QString filterDescription(const TDocumentFilter& f) const override { return f.CSVExcel; }
    bool writesHeaderLines() const override { return false; }
    bool writesFooter() const override { return false; }
    QString rowNumberCell(const QString& n, int padTo) const override;
    QString captionRowPrefix(int rowNumberCellLength) const override;
    QString cell(const QString& text, const CellInfo& info, bool useAlignments) override;
    QString join() const override { return QStringLiteral(";"); }
    bool usesTyped() const override { return true; }
    TextFileResult finish(const QString& target, const QStringList& lines,
                          const ExportSinks& sinks) override;

    static QString quoted(const QString& text);
};

// Fixed-width text: cells padded to their column's width.
class TextFormat : public ExportFormat {
public:
    TExportType type() const override { return xtTXT; }
    QString extension() const override { return QStringLiteral("TXT"); }
    QString filterDescription(const TDocumentFilter& f) const override { return f.Text; }
    bool writesHeaderLines() const override { return true; }
    bool writesFooter() const override { return true; }
    QString separatorLine(int lineWidth) const override;
    QString rowNumberCell(const QString& n, int padTo) const override;
    QString afterRowNumber() const override { return QStringLiteral(" "); }
    QString captionRowPrefix(int rowNumberCellLength) const override;
    QString cell(const QString& text, const CellInfo& info, bool useAlignments) override;
    QString join() const override { return QStringLiteral(" "); }
};

// The fixed-width lines, put on the clipboard instead of into a file.
class ClipboardFormat final : public TextFormat {
public:
    TExportType type() const override { return xtClipboard; }
    QString extension() const override { return QStringLiteral("TMP"); }
    QString filterDescription(const TDocumentFilter&) const override { return QString(); }
    TextFileResult finish(const QString& target, const QStringList& lines,
                          const ExportSinks& sinks) override;
    bool writesFile() const override { return false; }
};
