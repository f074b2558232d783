#pragma once

#include "reportengine/pagemodel.h"
#include "reportengine/rowsource.h"

#include <QDate>
#include <QMarginsF>
#include <QRectF>
#include <QString>
#include <QVariant>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace reportengine {

class Report;

enum class ElementKind { Label, Field, Sum, PageNumber, Line, Box, Image };

// One element of a band. Its rectangle is in millimetres from the band's
// top left corner (the left margin). Before-print events change it in place.
class Element {
public:
    Element(ElementKind kind, QString name, const QRectF& rect);

    ElementKind kind() const { return m_kind; }
    const QString& name() const { return m_name; }
    const QRectF& rect() const { return m_rect; }

    // The caption of a label.
    Element& setText(const QString& text);
    const QString& text() const { return m_text; }
    // The field of a field text or sum.
    Element& setField(const QString& field);
    const QString& field() const { return m_field; }
    // Display mask handed to the report's formatter ("#,##0.00;;''").
    Element& setMask(const QString& mask);
    const QString& mask() const { return m_mask; }
    Element& setEnabled(bool enabled);
    bool enabled() const { return m_enabled; }
    Element& setAlignment(Qt::Alignment alignment);
    Qt::Alignment alignment() const { return m_alignment; }
    // Without one the element uses the report's font.
    Element& setFont(const FontSpec& font);
    const FontSpec* font() const { return m_hasFont ? &m_font : nullptr; }
    Element& setBold(bool bold = true);
    Element& setItalic(bool italic = true);
    Element& setPointSize(double size);
    // The picture of an image element, scaled into its rectangle.
    Element& setImage(const QImage& image);
    const QImage& image() const { return m_image; }
    Element& setLineWidth(double mm);
    double lineWidth() const { return m_lineWidth; }
    // A text wider than the element continues on further lines below it
    // instead of being cut; the band grows, and what lies below the element
    // moves down with it.
    Element& setWrap(bool wrap = true);
    bool wrap() const { return m_wrap; }
    // A sum starts again from zero after each print.
    Element& setResetAfterPrint(bool reset = true);
    bool resetAfterPrint() const { return m_resetAfterPrint; }

private:
    friend class Report;

    ElementKind m_kind;
    QString m_name;
    QRectF m_rect;
    QString m_text;
    QString m_field;
    QString m_mask;
    bool m_enabled = true;
    Qt::Alignment m_alignment = Qt::AlignLeft | Qt::AlignTop;
    FontSpec m_font;
    bool m_hasFont = false;
    double m_lineWidth = 0.2;
    bool m_resetAfterPrint = false;
    bool m_wrap = false;
    QImage m_image;
    // sums: the running total, exact while every value is an integer
    qlonglong m_intSum = 0;
    double m_realSum = 0.0;
    bool m_real = false;
    int m_fieldIndex = -1;
};

class Band {
public:
    // before-print: print may be set to false to suppress the band
    using BeforePrint = std::function<void(Band& band, bool& print)>;
    using AfterPrint = std::function<void(Band& band)>;

    Band(BandKind kind, QString name, double height);

    BandKind kind() const { return m_kind; }
    const QString& name() const { return m_name; }
    double height() const { return m_height; }

    Element& addLabel(const QString& name, const QRectF& rect, const QString& text = QString());
    Element& addField(const QString& name, const QRectF& rect, const QString& field,
                      const QString& mask = QString());
    Element& addSum(const QString& name, const QRectF& rect, const QString& field,
                    const QString& mask = QString());
    Element& addPageNumber(const QString& name, const QRectF& rect);
    // A horizontal line along the top of rect, as long as rect is wide.
    Element& addLine(const QString& name, const QRectF& rect, double width = 0.2);
    Element& addBox(const QString& name, const QRectF& rect, double width = 0.2);
    // A picture; it may reach below the band, over room the bands after it leave free.
    Element& addImage(const QString& name, const QRectF& rect);

    // Throws std::out_of_range for a name the band does not have.
    Element& element(const QString& name);
    const std::vector<std::unique_ptr<Element>>& elements() const { return m_elements; }

    // Lines along the top or bottom edge of the band, across the page.
    void setFrame(bool top, bool bottom, double width = 0.2);

    void onBeforePrint(BeforePrint handler) { m_beforePrint = std::move(handler); }
    // Only the detail band's is called.
    void onAfterPrint(AfterPrint handler) { m_afterPrint = std::move(handler); }

    // Group header: the field whose change starts a new group, and its footer.
    const QString& groupField() const { return m_groupField; }
    Band* footer() const { return m_footer; }

private:
    friend class Report;
    Element& add(std::unique_ptr<Element> e);

    BandKind m_kind;
    QString m_name;
    double m_height;
    std::vector<std::unique_ptr<Element>> m_elements;
    bool m_frameTop = false;
    bool m_frameBottom = false;
    double m_frameWidth = 0.2;
    BeforePrint m_beforePrint;
    AfterPrint m_afterPrint;
    QString m_groupField;
    Band* m_footer = nullptr;
    int m_groupIndex = -1;
};

// A banded report: paper, margins, font, bands, and the formatter through
// which field texts and sums with a mask are turned into text.
class Report {
public:
    using Formatter = std::function<QString(const QVariant& value, const QString& mask)>;

    explicit Report(QString name);
    ~Report();
    Report(const Report&) = delete;
    Report& operator=(const Report&) = delete;

    const QString& name() const { return m_name; }

    // A4 portrait by default; {297, 210} is A4 landscape.
    void setPaperSize(const QSizeF& mm) { m_paper = mm; }
    void setMargins(const QMarginsF& mm) { m_margins = mm; }
    void setFont(const FontSpec& font) { m_font = font; }
    const FontSpec& font() const { return m_font; }
    void setFormatter(Formatter formatter) { m_formatter = std::move(formatter); }
    // The date of the footer "Gedruckt am ..." on every page; today unless set.
    void setDruckdatum(const QDate& datum) { m_druckdatum = datum; }
    // Run when production starts, before the first band.
    void onBeforePrint(std::function<void()> handler) { m_beforePrint = std::move(handler); }

    // The width between the margins, for elements spanning the page.
    double contentWidth() const;

    Band& addTitle(const QString& name, double height);
    Band& addPageHeader(const QString& name, double height);
    // Groups nest in the order they are added, the first outermost.
    Band& addGroupHeader(const QString& name, const QString& field, double height);
    Band& addGroupFooter(const QString& headerName, const QString& name, double height);
    Band& addDetail(const QString& name, double height);
    Band& addSummary(const QString& name, double height);

    // Throws std::out_of_range for an unknown band.
    Band& band(const QString& name);

    // The value of a field in the row being printed (in a group footer, the
    // last row of the group); invalid outside production or for an unknown field.
    QVariant value(const QString& field) const;

    // Reads every row once, in order, and lays out the pages. Events may
    // throw; production then stops and the exception passes to the caller.
    // Every page shows "Seite n von m" at the right of its header and the
    // print date at its foot; a group that continues on a new page repeats
    // its header marked "(Fortsetzung)", and a row is kept on the page of the
    // group footers and summary that follow it.
    PageModel produce(RowSource& rows);

private:
    class Layout;

    Band& addBand(std::unique_ptr<Band> band);
    QString format(const QVariant& value, const QString& mask) const;
    // The index of a field of the rows, -1 for an unknown one.
    int fieldIndex(const QString& field) const;

    QString m_name;
    QSizeF m_paper{210.0, 297.0};
    QMarginsF m_margins{10.0, 10.0, 10.0, 10.0};
    FontSpec m_font;
    Formatter m_formatter;
    QDate m_druckdatum;
    std::function<void()> m_beforePrint;
    std::vector<std::unique_ptr<Band>> m_bands;
    std::vector<Band*> m_groups; // headers, outermost first

    // the row being printed
    QStringList m_fields;
    std::vector<QVariant> m_row;
    // the names value() was asked for, as spelt, with their field's index
    mutable std::vector<std::pair<QString, int>> m_gefunden;
};

} // namespace reportengine
