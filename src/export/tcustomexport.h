#pragma once

#include "export/exportformat.h"
#include "export/exporttypes.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

class Clock;
class UserSeam;
class Tfrm_Selection;
class Tfrm_ProgressForm;

// Writes the rows of a data source to a file, a viewer or the clipboard in
// one of several formats. Options, dialogs and the run live here; the data
// is reached only through the virtual operations that a subclass implements.
class TCustomExport : public QObject {
    Q_OBJECT
public:
    TCustomExport(UserSeam& ui, const Clock& clock, QObject* parent = nullptr);
    ~TCustomExport() override;

    // Published properties.
    QStringList Captions;
    QStringList ColumnWidths;
    QString DateFormat;
    QString TimeFormat;
    QString DateTimeFormat;
    TExportType ExportType = xtExcel;
    TExportTypes ExportTypes;
    // The selection dialog's entries in their order, each shown when its
    // format is in ExportTypes; empty: the component's names in the fixed order.
    std::vector<ExportTypeEntry> FormatEntries;
    TExportStyle ExportStyle = xsView;
    QString FileName;
    TMessagesOptions Messages;
    THTMLOptions HTML;
    TRTFOptions DOC_RTF;
    TExcelOptions EXCEL;
    QString TempDir;
    QString TruncateSymbol = QStringLiteral("...");
    TExportOptions Options;

    const QString& RowNumberFormat() const { return m_rowNumberFormat; }
    // A format without "%d" is refused with an error box; the old one stays.
    void setRowNumberFormat(const QString& format);

    // Events.
    std::function<void(TCustomExport&)> OnBeginExport;
    std::function<void(TCustomExport&)> OnEndExport;
    std::function<void(TCustomExport&, QString& extension)> OnGetExtension;
    std::function<void(TCustomExport&, int code)> OnError;
    std::function<void(TCustomExport&, int row, bool& exportRow, TExportValues& values, int total)>
        OnExport;
    std::function<void(TCustomExport&, int total, QString& text)> OnGetHeader;
    std::function<void(TCustomExport&, int total, QString& text)> OnGetFooter;
    std::function<void(TCustomExport&, const QString& fileName, bool& allow)> OnFileExist;

    // Runs the selection dialog, the save dialog when needed, and the export.
    void Execute();
    // Reacts to the selection dialog's combo box (tag 30) and radio buttons (10, 20).
    void SelectionChanged(QObject* sender);
    // The export after the dialogs.
    void RunExport();
    // Writes one complete export to target.
    void WriteExport(const QString& target);

    // The entries the selection dialog offers, whatever ExportTypes holds.
    std::vector<ExportTypeEntry> formatEntries() const;

    QString BuildRow(const TExportValues& values, bool captionRow, bool withRowNumber);
    int ColumnWidth(int i);
    QString CellText(const QVariant& value, int w) const;
    QString RowNumberCell();
    int LineWidth();
    QString SeparatorLine(bool header);
    QString GetExtension() const;
    // "%s (*.%s)|*.%s": description, extension in lower and in upper case.
    QString GetFilter() const;
    void OpenWithShell(const QString& fileName);

    // The width the field table gives a column of this kind.
    int defaultWidthFor(FieldKind kind, int size) const;

    // What the last run left: the target it wrote or tried, why it failed,
    // and how many characters Windows-1252 could not hold.
    const QString& lastTarget() const { return m_lastTarget; }
    const QString& lastError() const { return m_lastError; }
    int replacedCharacters() const { return m_replaced; }

    // The preset of the save dialog's file name.
    QString SavePreset;
    // How the shell opens a file and what the clipboard receives; tests replace them.
    std::function<void(const QString&)> shellOpen;
    ExportSinks sinks;

    Tfrm_Selection& selectionDialog();

    // Counters of the run.
    int rowTotal() const { return m_total; }
    int rowsProcessed() const { return m_processed; }
    int rowsExported() const { return m_exported; }

protected:
    // The virtual operations, in their slot order.
    virtual void BeginExport() {}
    virtual void EndExport() {}
    virtual void FirstRow() = 0;
    virtual int ColumnAlignment(int /*i*/) { return 0; }
    virtual bool CanExport() = 0;
    virtual bool AllRowsDone() = 0;
    virtual bool ColumnVisible(int i) = 0;
    virtual bool RowSelected() = 0;
    virtual int DefaultColumnWidth(int i) = 0;
    virtual QString ColumnCaption(int i) = 0;
    virtual int ColumnCount() = 0;
    // Fills values with one entry per column and moves to the next row;
    // false when there was no row left.
    virtual bool ReadRow(TExportValues& values) = 0;
    virtual int CountRows() = 0;
    // The typed value (number or date) of column i of the row ReadRow read last.
    virtual QVariant TypedValue(int /*i*/) { return QVariant(); }

    UserSeam& ui() { return m_ui; }
    // The name DIF and SYLK files give as their writer: the class name in capitals.
    virtual QString writerName() const;

private:
    void raiseError(int code, const QString& reason = QString());
    QString targetName();
    FormatContext formatContext(const QString& target);
    // The format of ExportType: the run's, or outside a run one that knows
    // the settings but has no target.
    ExportFormat* currentFormat();
    void writeGuarded(const QString& target, bool& wroteAnything);
    void showProgress();
    void stepProgress(int position);
    void closeProgress();
    QString rowNumberText() const;
    int rowNumberPad() const;

    // What BuildRow asks of every column; fixed for the length of a run.
    struct ColumnLayout {
        bool visible = false;
        int width = 0;
        int alignment = 0;
    };
    std::vector<ColumnLayout> columnLayout();

    UserSeam& m_ui;
    const Clock& m_clock;
    QString m_rowNumberFormat = QStringLiteral("%d");
    std::unique_ptr<ExportFormat> m_format;
    std::unique_ptr<Tfrm_Selection> m_selection;
    std::unique_ptr<Tfrm_ProgressForm> m_progress;
    int m_total = 0;
    int m_processed = 0;
    int m_exported = 0;
    QElapsedTimer m_progressClock;
    qint64 m_lastProcessEvents = 0;
    QString m_lastTarget;
    QString m_lastError;
    int m_replaced = 0;
    // set while a run writes its rows, so a row does not ask again per cell
    const std::vector<ColumnLayout>* m_columns = nullptr;
    qsizetype m_rowCapacity = 0;
};
