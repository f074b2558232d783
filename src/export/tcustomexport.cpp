#include "export/tcustomexport.h"

#include "export/exportsavedialog.h"
#include "export/tfrm_progressform.h"
#include "export/tfrm_selection.h"
#include "platform/clock.h"
#include "platform/userseam.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QProgressBar>
#include <QRadioButton>
#include <QUrl>
#include <algorithm>
#include <stdexcept>

namespace {

// A failure inside the guarded part of a run, with the reason for the user.
class ExportFailure : public std::runtime_error {
public:
    explicit ExportFailure(const QString& reason)
        : std::runtime_error(reason.toStdString()), reason(reason) {}
    QString reason;
};

// Applies a format with one "%d" to n; nullopt when the format does not fit
// one integer ("%%" is a percent sign).
std::optional<QString> applyNumberFormat(const QString& format, int n) {
    QString out;
    bool used = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        if (format[i] != QLatin1Char('%')) {
            out += format[i];
            continue;
        }
        if (i + 1 >= format.size())
            return std::nullopt;
        const QChar spec = format[++i];
        if (spec == QLatin1Char('%')) {
            out += QLatin1Char('%');
        } else if (spec == QLatin1Char('d') && !used) {
            out += QString::number(n);
            used = true;
        } else {
            return std::nullopt;
        }
    }
    return out;
}

QString numberText(const QString& format, int n) {
    return applyNumberFormat(format, n).value_or(QString::number(n));
}

QStringList textLines(const QString& text) {
    if (text.isEmpty())
        return {};
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return t.split(QLatin1Char('\n'));
}

// ChangeFileExt: the last extension of the name replaced, or added.
QString withExtension(const QString& name, const QString& ext) {
    const qsizetype slash = qMax(name.lastIndexOf(QLatin1Char('/')), name.lastIndexOf('\\'));
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString base = dot > slash ? name.left(dot) : name;
    return base + QLatin1Char('.') + ext;
}

bool guiRunning() {
    return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
}

} // namespace

TCustomExport::TCustomExport(UserSeam& ui, const Clock& clock, QObject* parent)
    : QObject(parent), m_ui(ui), m_clock(clock) {
    const QLocale system = QLocale::system();
    DateFormat = system.dateFormat(QLocale::ShortFormat);
    TimeFormat = system.timeFormat(QLocale::ShortFormat);
    DateTimeFormat = TimeFormat + QLatin1Char(' ') + DateFormat;
    for (int t = 0; t < ExportTypeCount; ++t)
        ExportTypes.include(static_cast<TExportType>(t));
    Options = {xoClipboardMessage, xoFooterLine,   xoHeaderLine,   xoShowExportDate,
               xoShowHeader,       xoShowProgress, xoUseAlignments};
    TempDir = QDir::tempPath();
    shellOpen = [](const QString& file) { QDesktopServices::openUrl(QUrl::fromLocalFile(file)); };
    sinks.clipboard = [](const QString& text) {
        if (guiRunning())
            QApplication::clipboard()->setText(text);
    };
}

TCustomExport::~TCustomExport() = default;

void TCustomExport::setRowNumberFormat(const QString& format) {
    if (!format.contains(QStringLiteral("%d"))) {
        m_ui.error(QStringLiteral("The format has to contain %d string."));
        return;
    }
    m_rowNumberFormat = format;
}

Tfrm_Selection& TCustomExport::selectionDialog() {
    if (!m_selection) {
        m_selection = std::make_unique<Tfrm_Selection>();
        connect(m_selection->SelectionCombo, &QComboBox::currentTextChanged, this,
                [this] { SelectionChanged(m_selection->SelectionCombo); });
        connect(m_selection->rdo_View, &QRadioButton::toggled, this,
                [this] { SelectionChanged(m_selection->rdo_View); });
        connect(m_selection->rdo_File, &QRadioButton::toggled, this,
                [this] { SelectionChanged(m_selection->rdo_File); });
    }
    return *m_selection;
}

void TCustomExport::Execute() {
    m_lastError.clear();
    Tfrm_Selection& dlg = selectionDialog();
    dlg.setTexts(Messages);
    if (!ExportTypes.contains(ExportType))
        ExportTypes.include(ExportType);
    {
        const QSignalBlocker block(dlg.SelectionCombo);
        dlg.SelectionCombo->clear();
        for (const ExportTypeEntry& n : formatEntries()) {
            if (ExportTypes.contains(n.type) && exportFormatAvailable(n.type))
                dlg.SelectionCombo->addItem(n.name, static_cast<int>(n.type));
        }
        dlg.SelectionCombo->setMaxVisibleItems(qMax(1, dlg.SelectionCombo->count()));
        const int current = dlg.SelectionCombo->findData(static_cast<int>(ExportType));
        dlg.SelectionCombo->setCurrentIndex(current >= 0 ? current : 0);
    }
    const TExportStyle style = ExportStyle;
    if (style == xsView)
        dlg.rdo_View->setChecked(true);
    else
        dlg.rdo_File->setChecked(true);
    SelectionChanged(dlg.SelectionCombo);

    if (m_ui.runModal(dlg) != QDialog::Accepted)
        return;

    if (FileName.isEmpty() && ExportStyle == xsFile && ExportType != xtClipboard) {
        ExportSaveDialog save(
            m_ui, [this](const QString& chosen) { return withExtension(chosen, GetExtension()); });
        save.setWindowTitle(Messages.SaveTitle);
        save.setDefaultSuffix(GetExtension());
        save.setFilterText(GetFilter());
        save.setDirectory(QCoreApplication::applicationDirPath());
        if (!SavePreset.isEmpty())
            save.selectFile(SavePreset);
        if (m_ui.runModal(save) != QDialog::Accepted || save.chosenFile().isEmpty()) {
            raiseError(4);
            return;
        }
        FileName = save.chosenFile();
    }
    RunExport();
}

void TCustomExport::SelectionChanged(QObject* sender) {
    if (!sender || !m_selection)
        return;
    const int tag = sender->property("tag").toInt();
    Tfrm_Selection& dlg = *m_selection;
    if (tag == 10 && dlg.rdo_View->isChecked()) {
        ExportStyle = xsView;
    } else if (tag == 20 && dlg.rdo_File->isChecked()) {
        ExportStyle = xsFile;
    } else if (tag == 30) {
        const QString entry = dlg.SelectionCombo->currentText();
        for (const ExportTypeEntry& n : formatEntries()) {
            if (entry == n.name)
                ExportType = n.type;
        }
        const bool clipboard = ExportType == xtClipboard;
        dlg.rdo_View->setEnabled(!clipboard);
        dlg.rdo_File->setEnabled(!clipboard);
        dlg.setPicture(ExportType);
    }
}

std::vector<ExportTypeEntry> TCustomExport::formatEntries() const {
    if (!FormatEntries.empty())
        return FormatEntries;
    std::vector<ExportTypeEntry> entries;
    for (const ExportTypeName& n : ExportTypeNames)
        entries.push_back({n.type, QString::fromUtf8(n.name)});
    return entries;
}

void TCustomExport::RunExport() {
    m_lastError.clear();
    if (!CanExport()) {
        raiseError(2);
        return;
    }
    BeginExport();
    const bool clipboard = ExportType == xtClipboard;
    if (!clipboard && FileName.isEmpty() && ExportStyle == xsFile) {
        raiseError(0);
    } else {
        const QString target = clipboard ? QString() : targetName();
        WriteExport(target);
        if (!clipboard && ExportStyle == xsView && m_lastError.isEmpty() &&
            QFileInfo::exists(target))
            OpenWithShell(target);
    }
    EndExport();
}

QString TCustomExport::targetName() {
    QString ext = GetExtension();
    if (OnGetExtension)
        OnGetExtension(*this, ext);
    if (ExportStyle == xsFile)
        return withExtension(FileName, ext);
    const QDir dir(TempDir);
    for (int k = 1;; ++k) {
        const QString temp = dir.filePath(QStringLiteral("VLM%1.TMP").arg(k, 0, 16).toUpper());
        const QString name = withExtension(temp, ext);
        if (!QFileInfo::exists(name))
            return name;
    }
}

void TCustomExport::WriteExport(const QString& target) {
    m_lastTarget = target;
    m_lastError.clear();
    m_replaced = 0;
    if (OnBeginExport)
        OnBeginExport(*this);
    bool wroteAnything = false;
    try {
        m_total = CountRows();
        if (Options.contains(xoShowProgress))
            showProgress();
        writeGuarded(target, wroteAnything);
    } catch (const ExportFailure& e) {
        raiseError(3, e.reason);
    } catch (const std::exception& e) {
        raiseError(3, QString::fromLocal8Bit(e.what()));
    }
    closeProgress();
    if (wroteAnything && OnEndExport)
        OnEndExport(*this);
}

void TCustomExport::writeGuarded(const QString& target, bool& wroteAnything) {
    m_format = createExportFormat(ExportType);
    if (!m_format)
        throw ExportFailure(QStringLiteral("Dieses Exportformat ist nicht verfügbar."));
    ExportFormat& format = *m_format;

    if (format.writesFile() && QFileInfo::exists(target)) {
        bool allow = true;
        if (OnFileExist)
            OnFileExist(*this, target, allow);
        if (!allow) {
            raiseError(1);
            throw ExportFailure(QStringLiteral("Die Datei %1 gibt es schon.").arg(target));
        }
    }

    m_processed = 0;
    m_exported = 0;
    FirstRow();
    if (ColumnCount() == 0)
        return;
    wroteAnything = true;

    format.begin(formatContext(target));

    QStringList lines;
    format.preamble(lines);

    QString header;
    if (OnGetHeader)
        OnGetHeader(*this, m_total, header);
    if (format.writesHeaderLines())
        format.headerLines(lines, textLines(header),
                           format.separatorWithHeaderLines() ? SeparatorLine(true) : QString());

    const std::vector<ColumnLayout> columns = columnLayout();
    struct Fixed {
        const std::vector<ColumnLayout>*& slot;
        ~Fixed() { slot = nullptr; }
    } fixed{m_columns};
    m_columns = &columns;

    const bool numbers = Options.contains(xoRowNumbers);
    if (Options.contains(xoShowHeader)) {
        TExportValues captions;
        const int n = ColumnCount();
        for (int i = 0; i < n; ++i)
            captions.push_back(i < Captions.size() ? Captions[i] : ColumnCaption(i));
        QString row;
        if (numbers)
            row = format.captionRowPrefix(static_cast<int>(RowNumberCell().size()));
        row += BuildRow(captions, true, false);
        format.rowLines(lines, row, true);
    }
    if (!format.separatorWithHeaderLines()) {
        const QString headerSeparator = SeparatorLine(true);
        if (!headerSeparator.isEmpty())
            lines << headerSeparator;
    }

    const bool selectedOnly = Options.contains(xoSelectedRowsOnly);
    const bool progress = Options.contains(xoShowProgress);
    TExportValues values;
    while (!AllRowsDone()) {
        values.clear();
        if (!ReadRow(values))
            break;
        bool exportRow = selectedOnly ? RowSelected() : true;
        if (OnExport)
            OnExport(*this, m_processed, exportRow, values, m_total);
        if (progress)
            stepProgress(m_processed);
        if (exportRow) {
            format.rowLines(lines, BuildRow(values, false, numbers), false);
            ++m_exported;
        }
        ++m_processed;
    }
    format.postamble(lines);

    if (format.writesFooter()) {
        QString footer;
        if (OnGetFooter)
            OnGetFooter(*this, m_total, footer);
        QString dateLine;
        if (Options.contains(xoShowExportDate))
            dateLine = Messages.CreatedText + QLatin1Char(' ') +
                       QLocale::system().toString(m_clock.now(), QLocale::ShortFormat);
        format.footer(lines, SeparatorLine(false), textLines(footer), dateLine);
    }

    const TextFileResult result = format.finish(target, lines, sinks);
    m_replaced = result.replaced;
    if (!result.ok)
        throw ExportFailure(result.error);
    if (!format.writesFile() && Options.contains(xoClipboardMessage))
        m_ui.question(UserSeam::Kind::Information, Messages.CopiedToClipboard, UserSeam::Ok);
}

QString TCustomExport::writerName() const {
    return QString::fromLatin1(metaObject()->className()).toUpper();
}

FormatContext TCustomExport::formatContext(const QString& target) {
    FormatContext context;
    context.options = Options;
    context.columnCount = ColumnCount();
    context.rowTotal = m_total;
    context.columnWidths = ColumnWidths;
    context.className = writerName();
    context.target = target;
    context.html = &HTML;
    context.rtf = &DOC_RTF;
    context.excel = &EXCEL;
    context.processed = [this] { return m_processed; };
    return context;
}

ExportFormat* TCustomExport::currentFormat() {
    if (m_format && m_format->type() == ExportType)
        return m_format.get();
    // asked outside a run: a format that knows the settings, with no target
    m_format = createExportFormat(ExportType);
    if (m_format)
        m_format->begin(formatContext(QString()));
    return m_format.get();
}

std::vector<TCustomExport::ColumnLayout> TCustomExport::columnLayout() {
    const bool invisibles = Options.contains(xoExportInvisibles);
    const int n = ColumnCount();
    std::vector<ColumnLayout> columns(static_cast<size_t>(qMax(0, n)));
    for (int i = 0; i < n; ++i) {
        ColumnLayout& c = columns[static_cast<size_t>(i)];
        c.visible = invisibles || ColumnVisible(i);
        if (!c.visible)
            continue;
        c.width = ColumnWidth(i);
        c.alignment = ColumnAlignment(i);
    }
    return columns;
}

QString TCustomExport::BuildRow(const TExportValues& values, bool captionRow, bool withRowNumber) {
    ExportFormat* format = currentFormat();
    if (!format)
        throw ExportFailure(QStringLiteral("Dieses Exportformat ist nicht verfügbar."));
    QString row;
    // rows of one run are about as long as each other
    row.reserve(m_rowCapacity);
    if (withRowNumber && !captionRow)
        row = format->rowNumber(rowNumberText(), rowNumberPad()) + format->afterRowNumber();
    const bool alignments = Options.contains(xoUseAlignments);
    const bool typed = !captionRow && format->usesTyped();
    std::vector<ColumnLayout> asked;
    if (!m_columns)
        asked = columnLayout();
    const std::vector<ColumnLayout>& columns = m_columns ? *m_columns : asked;
    const int n = static_cast<int>(columns.size());
    bool first = true;
    for (int i = 0; i < n; ++i) {
        const ColumnLayout& c = columns[static_cast<size_t>(i)];
        if (!c.visible)
            continue;
        CellInfo info;
        info.column = i;
        info.width = c.width;
        info.alignment = c.alignment;
        info.captionRow = captionRow;
        info.value = i < static_cast<int>(values.size()) ? values[i] : QVariant();
        if (typed)
            info.typed = TypedValue(i);
        if (!first)
            row += format->join();
        row += format->cell(CellText(info.value, info.width), info, alignments);
        first = false;
    }
    m_rowCapacity = std::max(m_rowCapacity, row.size() + row.size() / 4);
    return row;
}

int TCustomExport::ColumnWidth(int i) {
    if (i >= 0 && i < ColumnCount() && i < ColumnWidths.size()) {
        bool ok = false;
        const int w = ColumnWidths[i].trimmed().toInt(&ok, 10);
        if (ok)
            return w;
    }
    return DefaultColumnWidth(i);
}

QString TCustomExport::CellText(const QVariant& value, int w) const {
    QString text = value.isNull() ? QStringLiteral("** NULL **") : value.toString();
    if (Options.contains(xoTruncate) && w > 0 && text.size() > w) {
        const qsizetype keep = qMax<qsizetype>(0, w - TruncateSymbol.size());
        text = text.left(keep) + TruncateSymbol;
    }
    return text;
}

int TCustomExport::defaultWidthFor(FieldKind kind, int size) const {
    // asked for every cell: a local date-time costs a time-zone lookup, so
    // only the kind that shows one builds it
    const QDate tag(1999, 12, 12);
    const QTime zeit(12, 12, 12, 12);
    switch (kind) {
    case FieldKind::Number:
        return 15;
    case FieldKind::String:
        return qMax(0, size);
    case FieldKind::Boolean:
        return static_cast<int>(qMax(Messages.FalseText.size(), Messages.TrueText.size()));
    case FieldKind::Date:
        return static_cast<int>(tag.toString(DateFormat).size());
    case FieldKind::Time:
        return static_cast<int>(zeit.toString(TimeFormat).size());
    case FieldKind::DateTime:
        return static_cast<int>(QDateTime(tag, zeit).toString(DateTimeFormat).size());
    case FieldKind::Unknown:
        return 13;
    case FieldKind::Binary:
        return 12;
    case FieldKind::Other:
        return 0;
    }
    return 0;
}

QString TCustomExport::RowNumberCell() {
    const QString n = rowNumberText();
    const ExportFormat* format = currentFormat();
    return format ? format->rowNumberCell(n, rowNumberPad()) : n;
}

QString TCustomExport::rowNumberText() const {
    return numberText(m_rowNumberFormat, m_exported + 1);
}

int TCustomExport::rowNumberPad() const {
    return static_cast<int>(numberText(m_rowNumberFormat, m_total).size());
}

int TCustomExport::LineWidth() {
    const int n = ColumnCount();
    const bool invisibles = Options.contains(xoExportInvisibles);
    int width = 0;
    for (int i = 0; i < n; ++i) {
        if (invisibles || ColumnVisible(i))
            width += ColumnWidth(i);
    }
    if (Options.contains(xoRowNumbers))
        return width + static_cast<int>(RowNumberCell().size()) + n;
    return width + n - 1;
}

QString TCustomExport::SeparatorLine(bool header) {
    if (!Options.contains(header ? xoHeaderLine : xoFooterLine))
        return QString();
    const ExportFormat* format = currentFormat();
    return format ? format->separatorLine(LineWidth()) : QString();
}

QString TCustomExport::GetExtension() const {
    switch (ExportType) {
    case xtHTML:
        return HTML.Extension == exHTM ? QStringLiteral("HTM") : QStringLiteral("HTML");
    case xtExcel:
        return QStringLiteral("XLS");
    case xtWord:
        return QStringLiteral("DOC");
    case xtTXT:
    case xtTAB:
        return QStringLiteral("TXT");
    case xtCSV:
    case xtCSVExcel:
        return QStringLiteral("CSV");
    case xtRTF:
        return QStringLiteral("RTF");
    case xtDIF:
        return QStringLiteral("DIF");
    case xtSYLK:
        return QStringLiteral("SLK");
    case xtClipboard:
        return QStringLiteral("TMP");
    case xtXLSX:
        return QStringLiteral("XLSX");
    }
    return QString();
}

QString TCustomExport::GetFilter() const {
    const TDocumentFilter& f = Messages.DocumentFilter;
    QString description;
    switch (ExportType) {
    case xtHTML:
        description = f.HTML;
        break;
    case xtExcel:
        description = f.Excel;
        break;
    case xtWord:
        description = f.Word;
        break;
    case xtTXT:
        description = f.Text;
        break;
    case xtCSV:
        description = f.Comma;
        break;
    case xtTAB:
        description = f.Tab;
        break;
    case xtRTF:
        description = f.RTF;
        break;
    case xtDIF:
        description = f.DIF;
        break;
    case xtSYLK:
        description = f.SYLK;
        break;
    case xtClipboard:
        break;
    case xtXLSX:
        description = f.XLSX;
        break;
    case xtCSVExcel:
        description = f.CSVExcel;
        break;
    }
    const QString ext = GetExtension();
    return QStringLiteral("%1 (*.%2)|*.%3").arg(description, ext.toLower(), ext);
}

void TCustomExport::OpenWithShell(const QString& fileName) {
    if (shellOpen)
        shellOpen(fileName);
}

void TCustomExport::raiseError(int code, const QString& reason) {
    if (code == 3 || m_lastError.isEmpty())
        m_lastError = reason.isEmpty() ? QStringLiteral("Fehler %1").arg(code) : reason;
    if (OnError)
        OnError(*this, code);
}

void TCustomExport::showProgress() {
    if (!guiRunning())
        return;
    if (!m_progress)
        m_progress = std::make_unique<Tfrm_ProgressForm>();
    m_progress->start(Messages.Caption, Messages.Text, Messages.Width, Messages.Height, m_total);
    m_progressClock.start();
    m_lastProcessEvents = 0;
}

void TCustomExport::stepProgress(int position) {
    if (!m_progress || !m_progress->isVisible())
        return;
    // the bar cannot show more than a thousand steps; a long run moves it
    // only when one is reached, and always at its last row
    const qint64 total = qMax(1, m_total);
    const bool step = position >= m_total - 1 ||
                      position * qint64(1000) / total != (position - 1) * qint64(1000) / total;
    if (step)
        m_progress->ProgressBar->setValue(position);
    // repaint now and then, so a long run shows its progress and the
    // program does not look hung; user input waits for the end of the run
    if (m_progressClock.elapsed() - m_lastProcessEvents >= 50) {
        m_lastProcessEvents = m_progressClock.elapsed();
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
}

void TCustomExport::closeProgress() {
    if (m_progress)
        m_progress->hide();
}
