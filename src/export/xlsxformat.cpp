#include "export/xlsxformat.h"

#include "data/anzeige.h"
#include "export/zippruefung.h"

#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <fcntl.h>
#include <stdexcept>
#include <unistd.h>
#include <xlsxwriter.h>

namespace {

// Past this many characters a cell is cut, as the workbook holds no more.
constexpr int MaxCellText = 32767;

QString arbeitsmappeFehlt() {
    return QStringLiteral("Die Arbeitsmappe konnte nicht angelegt werden.");
}

} // namespace

// The library prints its own (English) notes on stderr; what went wrong
// reaches the user as the export's message instead.
XlsxFormat::StderrStumm::StderrStumm() {
    std::fflush(stderr);
    m_gesichert = ::dup(STDERR_FILENO);
    const int leer = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (leer >= 0) {
        ::dup2(leer, STDERR_FILENO);
        ::close(leer);
    }
}

XlsxFormat::StderrStumm::~StderrStumm() {
    std::fflush(stderr);
    if (m_gesichert >= 0) {
        ::dup2(m_gesichert, STDERR_FILENO);
        ::close(m_gesichert);
    }
}

XlsxFormat::~XlsxFormat() {
    discard();
}

void XlsxFormat::discard() {
    if (m_book) {
        workbook_close(m_book);
        m_book = nullptr;
    }
    m_sheet = nullptr;
    m_file.cancel();
    m_stumm.reset();
}

void XlsxFormat::check(int error) {
    if (error != LXW_NO_ERROR)
        throw std::runtime_error(arbeitsmappeFehlt().toStdString());
}

void XlsxFormat::requireSheet() const {
    if (!m_sheet)
        throw std::runtime_error("Die Arbeitsmappe ist nicht angelegt.");
}

void XlsxFormat::preamble(QStringList&) {
    if (ctx.target.isEmpty())
        throw std::runtime_error("Kein Dateiname für die Arbeitsmappe.");
    if (!m_file.open(ctx.target))
        throw std::runtime_error(m_file.cause().toStdString());
    m_stumm.emplace();
    // the library's own temporary files go beside the target, not into /tmp
    const QByteArray dir = QFile::encodeName(QFileInfo(ctx.target).absolutePath());
    lxw_workbook_options options{};
    options.tmpdir = const_cast<char*>(dir.constData());
    m_book = workbook_new_opt(QFile::encodeName(m_file.temporaryPath()).constData(), &options);
    if (!m_book)
        throw std::runtime_error(arbeitsmappeFehlt().toStdString());
    m_sheet = workbook_add_worksheet(m_book, nullptr);
    m_bold = workbook_add_format(m_book);
    format_set_bold(m_bold);
    m_amount = workbook_add_format(m_book);
    format_set_num_format(m_amount, "#,##0.00");
    m_whole = workbook_add_format(m_book);
    format_set_num_format(m_whole, "0");
    m_date = workbook_add_format(m_book);
    format_set_num_format(m_date, "dd.mm.yyyy");
    if (!m_sheet || !m_bold || !m_amount || !m_whole || !m_date)
        throw std::runtime_error("Die Arbeitsmappe konnte nicht angelegt werden.");
    // every column on one page across
    worksheet_fit_to_pages(m_sheet, 1, 0);
    m_row = 0;
    m_widths.clear();
}

void XlsxFormat::writeText(int row, int column, const QString& text, lxw_format* format) {
    requireSheet();
    check(worksheet_write_string(m_sheet, static_cast<lxw_row_t>(row),
                                 static_cast<lxw_col_t>(column),
                                 text.left(MaxCellText).toUtf8().constData(), format));
}

void XlsxFormat::headerLines(QStringList&, const QStringList& lines, const QString&) {
    for (const QString& line : lines)
        writeText(m_row++, 0, line, nullptr);
    if (!lines.isEmpty())
        ++m_row;
}

QString XlsxFormat::rowNumberCell(const QString& n, int) const {
    return n;
}

QString XlsxFormat::rowNumber(const QString& n, int) {
    PendingCell c;
    c.text = n;
    c.rowNumber = true;
    m_pending.push_back(c);
    return QString();
}

QString XlsxFormat::captionRowPrefix(int) const {
    return QString();
}

QString XlsxFormat::cell(const QString& text, const CellInfo& info, bool) {
    m_pending.push_back({text, info, false});
    return QString();
}

void XlsxFormat::widen(int column, qsizetype length) {
    if (column >= static_cast<int>(m_widths.size()))
        m_widths.resize(static_cast<size_t>(column) + 1, 0);
    int& w = m_widths[static_cast<size_t>(column)];
    w = qMax(w, static_cast<int>(qMin<qsizetype>(length, MaxWidth)));
}

void XlsxFormat::writeNumber(int column, double value, lxw_format* format, const QString& text) {
    // NaN and infinity are no numbers a workbook holds: their text instead
    if (!std::isfinite(value)) {
        writeText(m_row, column, text, nullptr);
        return;
    }
    check(worksheet_write_number(m_sheet, static_cast<lxw_row_t>(m_row),
                                 static_cast<lxw_col_t>(column), value, format));
}

void XlsxFormat::writeCell(int column, const PendingCell& c) {
    if (c.info.captionRow) {
        // room for the filter button beside the caption
        widen(column, c.text.size() + 2);
        writeText(m_row, column, c.text, m_bold);
        return;
    }
    bool ok = false;
    if (c.rowNumber) {
        widen(column, c.text.size());
        const qlonglong n = c.text.toLongLong(&ok);
        if (ok)
            writeNumber(column, static_cast<double>(n), m_whole, c.text);
        else
            writeText(m_row, column, c.text, nullptr);
        return;
    }
    // numbers and dates only from typed values: a text stays a text, however
    // much it looks like a number ("0815", "1e3", "nan")
    const QVariant& typed = c.info.typed;
    if (typed.userType() == qMetaTypeId<Currency>()) {
        const Currency amount = typed.value<Currency>();
        widen(column, amount.format().size());
        writeNumber(column, amount.toDouble(), m_amount, c.text);
    } else if (typed.typeId() == QMetaType::LongLong) {
        widen(column, c.text.size());
        writeNumber(column, static_cast<double>(typed.toLongLong()), m_whole, c.text);
    } else if (typed.typeId() == QMetaType::Double) {
        widen(column, c.text.size());
        writeNumber(column, typed.toDouble(), nullptr, c.text);
    } else if (typed.typeId() == QMetaType::QDate && typed.toDate().isValid()) {
        const QDate d = typed.toDate();
        widen(column, 10);
        lxw_datetime dt{d.year(), d.month(), d.day(), 0, 0, 0.0};
        check(worksheet_write_datetime(m_sheet, static_cast<lxw_row_t>(m_row),
                                       static_cast<lxw_col_t>(column), &dt, m_date));
    } else if (!c.text.isEmpty()) {
        widen(column, c.text.size());
        writeText(m_row, column, c.text, nullptr);
    }
}

void XlsxFormat::rowLines(QStringList&, const QString&, bool captionRow) {
    requireSheet();
    const bool numbers = ctx.options.contains(xoRowNumbers);
    int column = 0;
    if (captionRow && numbers) {
        check(worksheet_write_blank(m_sheet, static_cast<lxw_row_t>(m_row), 0, m_bold));
        column = 1;
    }
    for (const PendingCell& c : m_pending)
        writeCell(column++, c);
    if (captionRow) {
        const int last = column > 0 ? column - 1 : 0;
        worksheet_freeze_panes(m_sheet, static_cast<lxw_row_t>(m_row + 1), 0);
        check(worksheet_autofilter(m_sheet, static_cast<lxw_row_t>(m_row), 0,
                                   static_cast<lxw_row_t>(m_row), static_cast<lxw_col_t>(last)));
    }
    m_pending.clear();
    ++m_row;
}

void XlsxFormat::footer(QStringList&, const QString&, const QStringList& lines,
                        const QString& dateLine) {
    ++m_row;
    for (const QString& line : lines)
        writeText(m_row++, 0, line, nullptr);
    if (!dateLine.isEmpty())
        writeText(m_row++, 0, dateLine, nullptr);
}

TextFileResult XlsxFormat::finish(const QString&, const QStringList&, const ExportSinks&) {
    TextFileResult result;
    if (!m_book || !m_sheet) {
        result.error = QStringLiteral("Die Arbeitsmappe ist nicht angelegt.");
        return result;
    }
    for (size_t i = 0; i < m_widths.size(); ++i) {
        if (m_widths[i] > 0)
            check(worksheet_set_column(m_sheet, static_cast<lxw_col_t>(i),
                                       static_cast<lxw_col_t>(i), qMin(m_widths[i] + 1, MaxWidth),
                                       nullptr));
    }
    errno = 0;
    const lxw_error closed = workbook_close(m_book);
    // the library does not check every write of its parts: the last
    // failure's errno names the cause, the archive read back shows it
    const int ursache = errno != 0 ? errno : EIO;
    m_book = nullptr;
    m_sheet = nullptr;
    m_stumm.reset();
    bool ok = closed == LXW_NO_ERROR;
    if (ok) {
        QFile geschrieben(m_file.temporaryPath());
        ok = geschrieben.open(QIODevice::ReadOnly) && zipVollstaendig(geschrieben.readAll());
    }
    if (!ok)
        m_file.fail(ursache);
    if (!ok || !m_file.commit()) {
        result.error = m_file.cause();
        return result;
    }
    result.ok = true;
    return result;
}
