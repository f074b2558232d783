#pragma once

#include <QImage>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <Qt>
#include <vector>

namespace reportengine {

// A font by name, size and style; the report's font unless an element says otherwise.
struct FontSpec {
    QString family = QStringLiteral("Arial");
    double pointSize = 10.0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool operator==(const FontSpec&) const = default;
};

// PageFooter is the engine's own: the print date at the foot of every page.
enum class BandKind { Title, PageHeader, GroupHeader, Detail, GroupFooter, Summary, PageFooter };

// All positions are millimetres from the top left corner of the paper.
struct PageText {
    QString element; // name of the element that produced it
    QRectF rect;
    QString text; // one line, already cut or wrapped to the width of rect
    FontSpec font;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop;
    // false for a disabled element: it keeps its place for readers of the
    // model but is never drawn
    bool visible = true;
};

struct PageLine {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    double width = 0.2; // mm
};

struct PageBox {
    QRectF rect;
    double width = 0.2; // mm
};

// One printed band with the texts of its elements.
struct PageBand {
    QString name;
    BandKind kind = BandKind::Detail;
    double top = 0;
    double height = 0;
    std::vector<PageText> texts;
};

// A picture (a chart) scaled into its rectangle.
struct PageImage {
    QRectF rect;
    QImage image;
};

struct Page {
    int number = 1;
    std::vector<PageBand> bands;
    std::vector<PageLine> lines;
    std::vector<PageBox> boxes;
    std::vector<PageImage> images;
};

struct PageModel {
    QSizeF paperSize{210.0, 297.0}; // mm; wider than high prints in landscape
    std::vector<Page> pages;
};

} // namespace reportengine
