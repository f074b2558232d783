#pragma once

#include "reportengine/pagemodel.h"

#include <QDialog>
#include <QPrinter>
#include <functional>

class QAction;
class QLabel;
class QPrintPreviewWidget;
class QToolBar;

namespace reportengine {

// The preview of a laid-out report: fills the screen, shows the page zoomed
// to fit, pages with Bild auf/Bild ab, prints through the system's print
// dialog and saves exactly what it shows as a PDF file.
class PreviewWindow final : public QDialog {
    Q_OBJECT
public:
    using MessageSink = std::function<void(const QString& text)>;

    PreviewWindow(PageModel model, const QString& title, QWidget* parent = nullptr);
    ~PreviewWindow() override;

    // Where failures of printing and saving are told; a message box without one.
    void setMessageSink(MessageSink sink) { m_messages = std::move(sink); }

    const PageModel& model() const { return m_model; }
    int currentPage() const;
    void showPage(int page);

    // "Drucken…": the print dialog, then the printer.
    void printReport();
    // "Als PDF speichern…": the save dialog, then the file.
    void savePdf();
    // The file without asking; false after telling the failure.
    bool savePdfTo(const QString& path);

    // "Exportieren…" beside the PDF button, for a report whose rows can also
    // go to the grid export; run is called with the preview still open.
    QAction* addExportAction(std::function<void()> run);

    QAction* printAction() const { return m_print; }
    QAction* exportAction() const { return m_export; }
    QAction* pdfAction() const { return m_pdf; }

private:
    void paintRequested(QPrinter* printer);
    void tell(const QString& text);
    void updatePageLabel();

    PageModel m_model;
    QString m_title;
    QPrinter m_printer;
    QPrintPreviewWidget* m_view = nullptr;
    QLabel* m_pageLabel = nullptr;
    QAction* m_print = nullptr;
    QAction* m_pdf = nullptr;
    QAction* m_export = nullptr;
    QToolBar* m_bar = nullptr;
    QAction* m_schliessenTrenner = nullptr;
    MessageSink m_messages;
};

} // namespace reportengine
