#pragma once

#include <QString>
#include <QVariant>
#include <cstdint>
#include <initializer_list>
#include <vector>

enum TExportType {
    xtHTML,
    xtExcel,
    xtWord,
    xtTXT,
    xtCSV,
    xtTAB,
    xtRTF,
    xtDIF,
    xtSYLK,
    xtClipboard,
    // the workbook a spreadsheet user expects today
    xtXLSX,
    // semicolons and decimal commas, as a German spreadsheet reads a CSV file
    xtCSVExcel,
};
constexpr int ExportTypeCount = 12;

enum TExportStyle { xsFile, xsView };

enum TExportOption {
    xoClipboardMessage,
    xoExportInvisibles,
    xoFooterLine,
    xoHeaderLine,
    xoRowNumbers,
    xoShowExportDate,
    xoShowHeader,
    xoShowProgress,
    xoSelectedRowsOnly,
    xoTruncate,
    xoUseAlignments,
};

// A set of enumeration values, as the component's set properties are.
template <typename E> class EnumSet {
public:
    constexpr EnumSet() = default;
    constexpr EnumSet(std::initializer_list<E> values) {
        for (E v : values)
            include(v);
    }
    constexpr bool contains(E v) const { return (m_bits >> static_cast<int>(v)) & 1u; }
    constexpr void include(E v) { m_bits |= 1u << static_cast<int>(v); }
    constexpr void exclude(E v) { m_bits &= ~(1u << static_cast<int>(v)); }
    constexpr bool operator==(const EnumSet&) const = default;

private:
    std::uint32_t m_bits = 0;
};

using TExportTypes = EnumSet<TExportType>;
using TExportOptions = EnumSet<TExportOption>;

// One value per grid column, in the grid's column order.
using TExportValues = std::vector<QVariant>;

// Save-dialog descriptions per format.
struct TDocumentFilter {
    QString HTML = QStringLiteral("HTML Documents");
    QString Excel = QStringLiteral("Excel Files");
    QString Word = QStringLiteral("Word Documents");
    QString Text = QStringLiteral("Text Files");
    QString Comma = QStringLiteral("CSV (Comma delimited)");
    QString Tab = QStringLiteral("Text (Tab delimited)");
    QString RTF = QStringLiteral("Rich Text Format");
    QString DIF = QStringLiteral("Data Interchange Format");
    QString SYLK = QStringLiteral("SYLK Files");
    QString XLSX = QStringLiteral("Excel-Arbeitsmappe");
    QString CSVExcel = QStringLiteral("CSV für Excel (Semikolon)");
};

// The texts of the component's windows.
struct TMessagesOptions {
    QString Caption = QStringLiteral("Export");
    QString CopiedToClipboard = QStringLiteral("Data was copied to clipboard!");
    QString CancelCaption = QStringLiteral("&Cancel");
    QString CreatedText = QStringLiteral("Created:");
    QString ExportCaption = QStringLiteral("&Export");
    QString ExportToFile = QStringLiteral("Export &to file");
    QString FalseText = QStringLiteral("False");
    QString TrueText = QStringLiteral("True");
    int Height = 80;
    int Width = 300;
    QString SaveTitle = QStringLiteral("Save document");
    QString SelectFormat = QStringLiteral("E&xport formats:");
    QString Text = QStringLiteral("Processing...");
    QString ViewOnly = QStringLiteral("&View only");
    TDocumentFilter DocumentFilter;
};

// The kind of a column's field, which decides its default width.
enum class FieldKind {
    Number, // integers, floats, currency, BCD, bytes, auto-increment, references
    String, // strings, variable bytes, memos: as wide as the field's size
    Boolean,
    Date,
    Time,
    DateTime,
    Unknown,
    Binary, // blobs, graphics, OLE, typed binary, ADT, array
    Other,
};

// The display names of the formats in the selection dialog's fixed order.
struct ExportTypeName {
    TExportType type;
    const char* name;
};
inline constexpr ExportTypeName ExportTypeNames[ExportTypeCount] = {
    {xtHTML, "HTML"},
    {xtWord, "Microsoft Word"},
    {xtExcel, "Microsoft Excel"},
    {xtTXT, "Text"},
    {xtRTF, "Rich Text"},
    {xtCSV, "Comma-Separated Text"},
    {xtTAB, "Tab-Separated Text"},
    {xtDIF, "Data Interchange Format"},
    {xtSYLK, "SYLK Format"},
    {xtClipboard, "Clipboard"},
    {xtXLSX, "Microsoft Excel (xlsx)"},
    {xtCSVExcel, "CSV für Excel (Semikolon)"},
};

// An entry of the selection dialog.
struct ExportTypeEntry {
    TExportType type;
    QString name;
};
