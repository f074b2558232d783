#pragma once

#include "export/exportformat.h"
#include "export/tnativeexcel.h"

#include <optional>
#include <vector>

// Reads a text as a number the way the spreadsheet formats do: a period as
// decimal separator, no thousands separators; nothing for NaN or infinity.
std::optional<double> numberFromText(const QString& text);

// A cell of a row, kept until the row is written: the cursor moves of the
// spreadsheet writer decide the order, not the row text.
struct PendingCell {
    QString text;
    CellInfo info;
    bool rowNumber = false;
};

// The native spreadsheet through TNativeExcel.
class ExcelFormat final : public ExportFormat {
public:
    bool usesTyped() const override { return true; }
    // What a sheet of every version it writes (BIFF2 to BIFF5) holds.
    static constexpr int MaxRows = 16384;
    static QString meldungZuVieleZeilen();

    TExportType type() const override { return xtExcel; }
    QString extension() const override { return QStringLiteral("XLS"); }
    QString filterDescription(const TDocumentFilter& f) const override { return f.Excel; }
    void preamble(QStringList& out) override;
    void headerLines(QStringList& out, const QStringList& lines, const QString& separator) override;
    bool writesHeaderLines() const override { return true; }
    bool writesFooter() const override { return true; }
    QString rowNumberCell(const QString& n, int padTo) const override;
    QString rowNumber(const QString& n, int padTo) override;
    QString captionRowPrefix(int rowNumberCellLength) const override;
    QString cell(const QString& text, const CellInfo& info, bool useAlignments) override;
    QString join() const override { return QString(); }
    void rowLines(QStringList& out, const QString& row, bool captionRow) override;
    // Only the OnGetFooter lines, as cells below the table.
    void footer(QStringList& out, const QString& separator, const QStringList& lines,
                const QString& dateLine) override;
    TextFileResult finish(const QString& target, const QStringList& lines,
                          const ExportSinks& sinks) override;

    const TNativeExcel& writer() const { return m_x; }

private:
    void writeCell(const PendingCell& c);
    // Refuses the export when the cursor stands below the last row a sheet holds.
    void ensureRoom() const;
    TExcelBorders borders() const;

    TNativeExcel m_x;
    std::vector<PendingCell> m_pending;
    bool m_useAlignments = false;
};
