#pragma once

#include "export/excelformat.h"
#include "platform/atomicfile.h"

#include <optional>

struct lxw_workbook;
struct lxw_worksheet;
struct lxw_format;

// The Excel workbook (xlsx) through libxlsxwriter: amounts, whole numbers and
// dates as typed cells from the model's typed values, every other cell text,
// each column as wide as its content up to MaxWidth characters, the caption row bold, frozen and
// filtered, written to a temporary file beside the target and renamed over it.
class XlsxFormat final : public ExportFormat {
public:
    bool usesTyped() const override { return true; }
    // The widest column, in characters: a longer text shows cut.
    static constexpr int MaxWidth = 60;

    XlsxFormat() = default;
    XlsxFormat(const XlsxFormat&) = delete;
    XlsxFormat& operator=(const XlsxFormat&) = delete;
    ~XlsxFormat() override;

    TExportType type() const override { return xtXLSX; }
    QString extension() const override { return QStringLiteral("XLSX"); }
    QString filterDescription(const TDocumentFilter& f) const override { return f.XLSX; }
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
    void footer(QStringList& out, const QString& separator, const QStringList& lines,
                const QString& dateLine) override;
    TextFileResult finish(const QString& target, const QStringList& lines,
                          const ExportSinks& sinks) override;

private:
    void check(int error);
    // Refuses a call before the preamble has made the workbook.
    void requireSheet() const;
    void writeText(int row, int column, const QString& text, lxw_format* format);
    void writeCell(int column, const PendingCell& c);
    void writeNumber(int column, double value, lxw_format* format, const QString& text);
    // Makes the column at least length characters wide, up to MaxWidth.
    void widen(int column, qsizetype length);
    void discard();

    class StderrStumm {
    public:
        StderrStumm();
        ~StderrStumm();
        StderrStumm(const StderrStumm&) = delete;
        StderrStumm& operator=(const StderrStumm&) = delete;

    private:
        int m_gesichert = -1;
    };

    AtomicFile m_file;
    std::optional<StderrStumm> m_stumm;
    lxw_workbook* m_book = nullptr;
    lxw_worksheet* m_sheet = nullptr;
    lxw_format* m_bold = nullptr;
    lxw_format* m_amount = nullptr;
    lxw_format* m_whole = nullptr;
    lxw_format* m_date = nullptr;
    int m_row = 0;
    std::vector<int> m_widths;
    std::vector<PendingCell> m_pending;
};
