#include "export/excelformat.h"

#include "data/anzeige.h"

#include <QLocale>
#include <cmath>
#include <stdexcept>

std::optional<double> numberFromText(const QString& text) {
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const double v = c.toDouble(text.trimmed(), &ok);
    // "nan" and "inf" are texts: a spreadsheet cell holds no such number
    if (!ok || text.trimmed().isEmpty() || !std::isfinite(v))
        return std::nullopt;
    return v;
}

TExcelBorders ExcelFormat::borders() const {
    if (ctx.excel->Options.contains(reUseBorders))
        return {ebTop, ebBottom, ebLeft, ebRight};
    return {};
}

void ExcelFormat::ensureRoom() const {
    if (m_x.Row() > MaxRows)
        throw std::runtime_error(meldungZuVieleZeilen().toStdString());
}

QString ExcelFormat::meldungZuVieleZeilen() {
    return QStringLiteral("Das Format fasst höchstens 16.384 Zeilen; bitte XLSX wählen.");
}

void ExcelFormat::preamble(QStringList&) {
    const TExcelOptions& e = *ctx.excel;
    // refused before a single record: the rows of the whole grid and the
    // caption do not fit (the run checks each row again for header and footer)
    const int rows = ctx.rowTotal + (ctx.options.contains(xoShowHeader) ? 1 : 0);
    if (!ctx.options.contains(xoSelectedRowsOnly) && rows > MaxRows)
        throw std::runtime_error(meldungZuVieleZeilen().toStdString());
    m_x.setFileName(ctx.target);
    m_x.MoveAfterEnter = maRight;
    m_x.setColumn(1);
    m_x.setRow(1);
    m_x.Borders = {};
    m_x.Alignment = eaGeneral;
    static constexpr TBIFFVersion versions[] = {bvBIFF2, bvBIFF3, bvBIFF4, bvBIFF5};
    m_x.setBIFF(versions[e.ExcelVersion]);
    m_x.BeginFile();
    m_x.WriteFont(&e.DefaultFont);
    m_x.WriteFont(&e.HeaderFont);
    m_x.WriteFont(&e.TableFont);
    if (!e.Header.isEmpty())
        m_x.WriteHeader(e.Header);
    if (!e.Footer.isEmpty())
        m_x.WriteFooter(e.Footer);
    if (e.Options.contains(reSetMargins)) {
        m_x.WriteMargin(msLeft, e.LeftMargin);
        m_x.WriteMargin(msBottom, e.BottomMargin);
        m_x.WriteMargin(msTop, e.TopMargin);
        m_x.WriteMargin(msRight, e.RightMargin);
    }
    if (e.Options.contains(reSetColumnWidths))
        m_x.WriteColumnWidth(1, 0, e.ColumnWidth);
}

void ExcelFormat::headerLines(QStringList&, const QStringList& lines, const QString&) {
    m_x.MoveAfterEnter = maDown;
    m_x.setActiveFont(0);
    m_x.Borders = {};
    for (const QString& line : lines) {
        ensureRoom();
        m_x.WriteLabel(line);
    }
    if (!lines.isEmpty()) {
        ensureRoom();
        m_x.WriteBlank();
    }
    m_x.MoveAfterEnter = maRight;
}

QString ExcelFormat::rowNumberCell(const QString& n, int) const {
    return n;
}

QString ExcelFormat::rowNumber(const QString& n, int) {
    PendingCell c;
    c.text = n;
    c.rowNumber = true;
    m_pending.push_back(c);
    return QString();
}

QString ExcelFormat::captionRowPrefix(int) const {
    return QString();
}

QString ExcelFormat::cell(const QString& text, const CellInfo& info, bool useAlignments) {
    m_useAlignments = useAlignments;
    m_pending.push_back({text, info, false});
    return QString();
}

void ExcelFormat::writeCell(const PendingCell& c) {
    const bool asText = ctx.excel->Options.contains(reCellsAsText);
    m_x.Borders = borders();
    if (c.rowNumber) {
        m_x.setActiveFont(2);
        bool ok = false;
        const qlonglong n = c.text.toLongLong(&ok);
        if (!asText && ok)
            m_x.WriteInteger(n);
        else
            m_x.WriteLabel(c.text);
        return;
    }
    if (m_useAlignments) {
        static constexpr TExcelAlignment alignments[] = {eaGeneral, eaLeft, eaRight, eaCenter};
        m_x.Alignment = alignments[qBound(0, c.info.alignment, 3)];
    }
    m_x.setActiveFont(c.info.captionRow ? 1 : 2);
    const QVariant& typed = c.info.typed;
    bool ok = false;
    if (asText) {
        m_x.WriteLabel(c.text);
    } else if (typed.userType() == qMetaTypeId<Currency>()) {
        // the model's amount, not its display text with a decimal comma
        m_x.WriteNumber(typed.value<Currency>().toDouble());
    } else if (typed.typeId() == QMetaType::LongLong) {
        m_x.WriteInteger(typed.toLongLong());
    } else if (const auto number = numberFromText(c.text)) {
        m_x.WriteNumber(*number);
    } else if (const qlonglong n = c.text.trimmed().toLongLong(&ok); ok) {
        m_x.WriteInteger(n);
    } else {
        m_x.WriteLabel(c.text);
    }
    m_x.Alignment = eaGeneral;
}

void ExcelFormat::rowLines(QStringList&, const QString&, bool captionRow) {
    if (captionRow) {
        if (ctx.options.contains(xoRowNumbers)) {
            m_x.setActiveFont(1);
            m_x.Borders = borders();
            m_x.WriteBlank();
        }
    } else {
        m_x.setRow(m_x.Row() + 1);
        m_x.setColumn(1);
    }
    ensureRoom();
    for (const PendingCell& c : m_pending)
        writeCell(c);
    m_pending.clear();
}

void ExcelFormat::footer(QStringList&, const QString&, const QStringList& lines, const QString&) {
    m_x.setRow(m_x.Row() + 2);
    m_x.MoveAfterEnter = maDown;
    m_x.setColumn(1);
    m_x.setActiveFont(0);
    m_x.Borders = {};
    for (const QString& line : lines) {
        ensureRoom();
        m_x.WriteLabel(line);
    }
}

TextFileResult ExcelFormat::finish(const QString&, const QStringList&, const ExportSinks&) {
    TextFileResult result;
    if (ctx.target.isEmpty()) {
        result.error = QStringLiteral("Kein Dateiname für die Tabelle.");
        return result;
    }
    if (ctx.excel->Protected)
        m_x.WriteProtect(true);
    m_x.EndFile();
    try {
        m_x.SaveFile();
        result.ok = true;
        result.replaced = m_x.replacedCharacters();
    } catch (const ExcelSaveError& e) {
        result.error = QString::fromStdString(e.what());
    }
    return result;
}
