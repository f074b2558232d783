#pragma once

#include "export/exportformat.h"

// HTML text: & < > " as entities, characters Windows-1252 cannot hold as
// numeric references, so no cell text can break the markup.
QString htmlEscape(const QString& text);
// RTF text: backslash and braces escaped, characters above 127 as \'xx
// (Windows-1252) or \uN?.
QString rtfEscape(const QString& text);

// Row texts of the line formats below hold one output line per "\n".
class HtmlFormat final : public ExportFormat {
public:
    TExportType type() const override { return xtHTML; }
    QString extension() const override;
    QString filterDescription(const TDocumentFilter& f) const override { return f.HTML; }
    void preamble(QStringList& out) override;
    void headerLines(QStringList& out, const QStringList& lines, const QString& separator) override;
    bool separatorWithHeaderLines() const override { return true; }
    bool writesHeaderLines() const override { return true; }
    bool writesFooter() const override { return true; }
    QString separatorLine(int lineWidth) const override;
    QString rowNumberCell(const QString& n, int padTo) const override;
    QString afterRowNumber() const override { return QStringLiteral("\n"); }
    QString captionRowPrefix(int rowNumberCellLength) const override;
    QString cell(const QString& text, const CellInfo& info, bool useAlignments) override;
    QString join() const override { return QStringLiteral("\n"); }
    void rowLines(QStringList& out, const QString& row, bool captionRow) override;
    void postamble(QStringList& out) override;
    TextFileResult finish(const QString& target, const QStringList& lines,
                          const ExportSinks& sinks) override;

private:
    void tableStart(QStringList& out);
    QString color(int role) const;
    bool m_tableStarted = false;
};

// Word and RTF: the same RTF text under two extensions.
class RtfFormat final : public ExportFormat {
public:
    explicit RtfFormat(TExportType type) : m_type(type) {}
    TExportType type() const override { return m_type; }
    QString extension() const override;
    QString filterDescription(const TDocumentFilter& f) const override;
    void preamble(QStringList& out) override;
    void headerLines(QStringList& out, const QStringList& lines, const QString& separator) override;
    bool writesHeaderLines() const override { return true; }
    bool writesFooter() const override { return true; }
    QString rowNumberCell(const QString& n, int padTo) const override;
    QString captionRowPrefix(int rowNumberCellLength) const override;
    QString cell(const QString& text, const CellInfo& info, bool useAlignments) override;
    QString join() const override { return QString(); }
    void rowLines(QStringList& out, const QString& row, bool captionRow) override;
    void postamble(QStringList& out) override;
    void footer(QStringList& out, const QString& separator, const QStringList& lines,
                const QString& dateLine) override;
    // The chunks are written as they stand: each carries its own line ends.
    TextFileResult finish(const QString& target, const QStringList& lines,
                          const ExportSinks& sinks) override;

    // The right edge of cell k in twips: (k × 100 + 100) ÷ 96 × cellWidth,
    // halves to even.
    static int cellEdge(int k, int cellWidth);

private:
    QString paragraph(const QString& line) const;
    QString rowDefinition(bool captionRow) const;
    TExportType m_type;
};

class DifFormat final : public ExportFormat {
public:
    TExportType type() const override { return xtDIF; }
    QString extension() const override { return QStringLiteral("DIF"); }
    QString filterDescription(const TDocumentFilter& f) const override { return f.DIF; }
    void preamble(QStringList& out) override;
    bool writesHeaderLines() const override { return false; }
    bool writesFooter() const override { return false; }
    QString rowNumberCell(const QString& n, int padTo) const override;
    QString afterRowNumber() const override { return QStringLiteral("\n"); }
    QString captionRowPrefix(int rowNumberCellLength) const override;
    QString cell(const QString& text, const CellInfo& info, bool useAlignments) override;
    QString join() const override { return QStringLiteral("\n"); }
    void rowLines(QStringList& out, const QString& row, bool captionRow) override;
    TextFileResult finish(const QString& target, const QStringList& lines,
                          const ExportSinks& sinks) override;
};

class SylkFormat final : public ExportFormat {
public:
    TExportType type() const override { return xtSYLK; }
    QString extension() const override { return QStringLiteral("SLK"); }
    QString filterDescription(const TDocumentFilter& f) const override { return f.SYLK; }
    void preamble(QStringList& out) override;
    bool writesHeaderLines() const override { return false; }
    bool writesFooter() const override { return false; }
    QString rowNumberCell(const QString& n, int padTo) const override;
    QString afterRowNumber() const override { return QStringLiteral("\n"); }
    // Nothing: the caption cells already sit one column to the right.
    QString captionRowPrefix(int rowNumberCellLength) const override;
    QString cell(const QString& text, const CellInfo& info, bool useAlignments) override;
    QString join() const override { return QStringLiteral("\n"); }
    void rowLines(QStringList& out, const QString& row, bool captionRow) override;
    TextFileResult finish(const QString& target, const QStringList& lines,
                          const ExportSinks& sinks) override;

private:
    int m_row = 1;
};
