#include "reportengine/pagepainter.h"

#include "platform/atomicfile.h"
#include "reportengine/textfit.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <algorithm>
#include <cmath>
#include <map>

namespace reportengine {

QPageLayout pageLayout(const PageModel& model) {
    const QSizeF& p = model.paperSize;
    if (p.width() > p.height())
        return QPageLayout(
            QPageSize(p.transposed(), QPageSize::Millimeter, QString(), QPageSize::FuzzyMatch),
            QPageLayout::Landscape, QMarginsF());
    return QPageLayout(QPageSize(p, QPageSize::Millimeter, QString(), QPageSize::FuzzyMatch),
                       QPageLayout::Portrait, QMarginsF());
}

void paintPage(QPainter& painter, const Page& page, double pxPerMm) {
    const auto px = [pxPerMm](double mm) { return mm * pxPerMm; };
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setBrush(Qt::NoBrush);
    for (const PageLine& l : page.lines) {
        painter.setPen(QPen(Qt::black, px(l.width), Qt::SolidLine, Qt::FlatCap));
        painter.drawLine(QPointF(px(l.x1), px(l.y1)), QPointF(px(l.x2), px(l.y2)));
    }
    for (const PageBox& b : page.boxes) {
        painter.setPen(QPen(Qt::black, px(b.width)));
        painter.drawRect(
            QRectF(px(b.rect.left()), px(b.rect.top()), px(b.rect.width()), px(b.rect.height())));
    }
    for (const PageImage& i : page.images) {
        painter.drawImage(
            QRectF(px(i.rect.left()), px(i.rect.top()), px(i.rect.width()), px(i.rect.height())),
            i.image);
    }
    painter.setPen(Qt::black);
    for (const PageBand& band : page.bands) {
        for (const PageText& t : band.texts) {
            if (!t.visible || t.text.isEmpty())
                continue;
            const QRectF r(px(t.rect.left()), px(t.rect.top()), px(t.rect.width()),
                           px(t.rect.height()));
            painter.setFont(toQFont(t.font));
            // the text was cut to fit; the clip keeps a rounding difference
            // of the device's metrics out of the next column
            painter.drawText(r, static_cast<int>(t.alignment) | Qt::TextSingleLine, t.text);
        }
    }
    painter.restore();
}

namespace {

void paintAll(QPainter& painter, const PageModel& model, QPagedPaintDevice& device, int from,
              int to) {
    const double pxPerMm = device.logicalDpiX() / 25.4;
    bool first = true;
    for (const Page& page : model.pages) {
        if (page.number < from || page.number > to)
            continue;
        if (!first)
            device.newPage();
        first = false;
        paintPage(painter, page, pxPerMm);
    }
}

} // namespace

std::optional<QString> printPages(const PageModel& model, QPrinter& printer) {
    printer.setFullPage(true);
    printer.setPageLayout(pageLayout(model));
    int from = printer.fromPage();
    int to = printer.toPage();
    if (from == 0 && to == 0) {
        from = 1;
        to = static_cast<int>(model.pages.size());
    }
    QPainter painter;
    if (!painter.begin(&printer))
        return QStringLiteral("Der Bericht konnte nicht gedruckt werden: Der Drucker ist nicht "
                              "bereit.");
    paintAll(painter, model, printer, from, to);
    if (!painter.end())
        return QStringLiteral("Der Bericht konnte nicht vollständig gedruckt werden.");
    return std::nullopt;
}

std::optional<QString> writePdf(const PageModel& model, const QString& path, const QString& title) {
    // the document is made in memory and written in one step
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&pdf);
        writer.setResolution(600);
        writer.setPageLayout(pageLayout(model));
        writer.setTitle(title);
        writer.setCreator(QCoreApplication::applicationName());
        QPainter painter;
        if (!painter.begin(&writer))
            return atomicfile::message(path, atomicfile::cause(0));
        paintAll(painter, model, writer, 1, static_cast<int>(model.pages.size()));
        if (!painter.end())
            return atomicfile::message(path, atomicfile::cause(0));
    }
    QString error;
    if (!writeFileAtomically(path, pdf.data(), &error))
        return error;
    return std::nullopt;
}

QStringList textLines(const PageModel& model) {
    QStringList out;
    for (const Page& page : model.pages) {
        for (const PageBand& band : page.bands) {
            if (band.kind == BandKind::PageFooter)
                continue;
            // rows of elements by their top edge, a hundredth of a millimetre apart
            std::map<long long, std::vector<const PageText*>> rows;
            for (const PageText& t : band.texts)
                rows[std::llround(t.rect.top() * 100.0)].push_back(&t);
            for (auto& [top, texts] : rows) {
                std::stable_sort(texts.begin(), texts.end(),
                                 [](const PageText* a, const PageText* b) {
                                     return a->rect.left() < b->rect.left();
                                 });
                QStringList fields;
                for (const PageText* t : texts)
                    fields << (t->visible ? t->text : QString());
                out << fields.join(QLatin1Char('\t'));
            }
        }
    }
    return out;
}

} // namespace reportengine
