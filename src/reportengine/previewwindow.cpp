#include "reportengine/previewwindow.h"

#include "platform/buchdateien.h"
#include "reportengine/pagepainter.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QScreen>
#include <QToolBar>
#include <QVBoxLayout>

namespace reportengine {

namespace {

QString mitEndung(QString path) {
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".pdf");
    return path;
}

// The save dialog of "Als PDF speichern": a name of the books' files is
// refused before anything is written, and the dialog stays open.
class PdfSaveDialog final : public QFileDialog {
public:
    PdfSaveDialog(QWidget* parent, std::function<void(const QString&)> tell)
        : QFileDialog(parent), m_tell(std::move(tell)) {
        setObjectName(QStringLiteral("PdfSpeichern"));
        setAcceptMode(QFileDialog::AcceptSave);
        setFileMode(QFileDialog::AnyFile);
        setOption(QFileDialog::DontUseNativeDialog);
    }

    void accept() override {
        const QString chosen = selectedFiles().value(0);
        if (chosen.isEmpty())
            return;
        if (!QFileInfo(chosen).isDir() && buchdateien::gehoertZuDenBuechern(mitEndung(chosen))) {
            m_tell(buchdateien::meldung());
            return;
        }
        QFileDialog::accept();
    }

private:
    std::function<void(const QString&)> m_tell;
};

} // namespace

PreviewWindow::PreviewWindow(PageModel model, const QString& title, QWidget* parent)
    : QDialog(parent), m_model(std::move(model)), m_title(title),
      m_printer(QPrinter::HighResolution) {
    setObjectName(QStringLiteral("Vorschau"));
    setWindowTitle(title);
    m_printer.setFullPage(true);
    m_printer.setPageLayout(pageLayout(m_model));

    auto* bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("VorschauLeiste"));
    m_bar = bar;
    const auto action = [&](const QString& text, const QKeySequence& key, auto slot) {
        QAction* a = bar->addAction(text);
        a->setShortcut(key);
        connect(a, &QAction::triggered, this, slot);
        addAction(a);
        return a;
    };
    action(QStringLiteral("Erste Seite"), QKeySequence(Qt::CTRL | Qt::Key_Home),
           [this] { showPage(1); });
    action(QStringLiteral("Vorige Seite"), QKeySequence(Qt::Key_PageUp),
           [this] { showPage(currentPage() - 1); });
    m_pageLabel = new QLabel(bar);
    m_pageLabel->setObjectName(QStringLiteral("LabelSeite"));
    m_pageLabel->setContentsMargins(8, 0, 8, 0);
    bar->addWidget(m_pageLabel);
    action(QStringLiteral("Nächste Seite"), QKeySequence(Qt::Key_PageDown),
           [this] { showPage(currentPage() + 1); });
    action(QStringLiteral("Letzte Seite"), QKeySequence(Qt::CTRL | Qt::Key_End),
           [this] { showPage(static_cast<int>(m_model.pages.size())); });
    bar->addSeparator();
    action(QStringLiteral("Ganze Seite"), QKeySequence(Qt::CTRL | Qt::Key_0),
           [this] { m_view->fitInView(); });
    action(QStringLiteral("Vergrößern"), QKeySequence(QKeySequence::ZoomIn),
           [this] { m_view->zoomIn(); });
    action(QStringLiteral("Verkleinern"), QKeySequence(QKeySequence::ZoomOut),
           [this] { m_view->zoomOut(); });
    bar->addSeparator();
    m_print = action(QStringLiteral("Drucken…"), QKeySequence(QKeySequence::Print),
                     &PreviewWindow::printReport);
    m_pdf = action(QStringLiteral("Als PDF speichern…"), QKeySequence(QKeySequence::Save),
                   &PreviewWindow::savePdf);
    m_schliessenTrenner = bar->addSeparator();
    action(QStringLiteral("Schließen"), QKeySequence(), &QDialog::reject);

    m_view = new QPrintPreviewWidget(&m_printer, this);
    m_view->setObjectName(QStringLiteral("VorschauSeiten"));
    m_view->setZoomMode(QPrintPreviewWidget::FitInView);
    m_view->setViewMode(QPrintPreviewWidget::SinglePageView);
    connect(m_view, &QPrintPreviewWidget::paintRequested, this, &PreviewWindow::paintRequested);
    connect(m_view, &QPrintPreviewWidget::previewChanged, this, &PreviewWindow::updatePageLabel);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(m_view, 1);

    // the whole screen also where no window manager maximises
    if (QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen())
        setGeometry(screen->availableGeometry());
    setWindowState(Qt::WindowMaximized);
    m_view->updatePreview();
    updatePageLabel();
    m_view->setFocus();
}

PreviewWindow::~PreviewWindow() = default;

QAction* PreviewWindow::addExportAction(std::function<void()> run) {
    if (!m_export) {
        m_export = new QAction(QStringLiteral("Exportieren…"), this);
        m_export->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
        m_bar->insertAction(m_schliessenTrenner, m_export);
        addAction(m_export);
    }
    disconnect(m_export, &QAction::triggered, nullptr, nullptr);
    connect(m_export, &QAction::triggered, this, [run = std::move(run)] { run(); });
    return m_export;
}

void PreviewWindow::paintRequested(QPrinter* printer) {
    QPainter painter(printer);
    const double pxPerMm = printer->logicalDpiX() / 25.4;
    bool first = true;
    for (const Page& page : m_model.pages) {
        if (!first)
            printer->newPage();
        first = false;
        paintPage(painter, page, pxPerMm);
    }
}

int PreviewWindow::currentPage() const {
    return m_view->currentPage();
}

void PreviewWindow::showPage(int page) {
    const int count = static_cast<int>(m_model.pages.size());
    m_view->setCurrentPage(std::clamp(page, 1, std::max(count, 1)));
    updatePageLabel();
}

void PreviewWindow::updatePageLabel() {
    m_pageLabel->setText(
        QStringLiteral("Seite %1 von %2").arg(m_view->currentPage()).arg(m_model.pages.size()));
}

void PreviewWindow::tell(const QString& text) {
    if (m_messages)
        m_messages(text);
    else
        QMessageBox::warning(this, windowTitle(), text);
}

void PreviewWindow::printReport() {
    if (QPrinterInfo::availablePrinterNames().isEmpty()) {
        tell(QStringLiteral("Es ist kein Drucker eingerichtet.\nSie können den Bericht mit "
                            "\"Als PDF speichern…\" als PDF-Datei speichern."));
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(m_title);
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("Drucken"));
    dialog.setMinMax(1, static_cast<int>(m_model.pages.size()));
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (const auto failed = printPages(m_model, printer))
        tell(*failed);
}

void PreviewWindow::savePdf() {
    QString name = m_title;
    name.replace(QRegularExpression(QStringLiteral("[/\\\\:*?\"<>|]")), QStringLiteral("_"));
    PdfSaveDialog dialog(this, [this](const QString& text) { tell(text); });
    dialog.setWindowTitle(QStringLiteral("Als PDF speichern"));
    dialog.setNameFilter(QStringLiteral("PDF-Dateien (*.pdf)"));
    dialog.selectFile(QDir::home().filePath(name + QStringLiteral(".pdf")));
    if (dialog.exec() != QDialog::Accepted)
        return;
    const QString path = mitEndung(dialog.selectedFiles().value(0));
    if (!path.isEmpty())
        savePdfTo(path);
}

bool PreviewWindow::savePdfTo(const QString& path) {
    if (const auto failed = writePdf(m_model, path, m_title)) {
        tell(*failed);
        return false;
    }
    return true;
}

} // namespace reportengine
