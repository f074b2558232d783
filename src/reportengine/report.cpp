#include "reportengine/report.h"

#include "reportengine/textfit.h"

#include <stdexcept>

namespace reportengine {

// ---- Element

Element::Element(ElementKind kind, QString name, const QRectF& rect)
    : m_kind(kind), m_name(std::move(name)), m_rect(rect) {}

Element& Element::setText(const QString& text) {
    m_text = text;
    return *this;
}
Element& Element::setField(const QString& field) {
    m_field = field;
    return *this;
}
Element& Element::setMask(const QString& mask) {
    m_mask = mask;
    return *this;
}
Element& Element::setEnabled(bool enabled) {
    m_enabled = enabled;
    return *this;
}
Element& Element::setAlignment(Qt::Alignment alignment) {
    m_alignment = alignment;
    return *this;
}
Element& Element::setFont(const FontSpec& font) {
    m_font = font;
    m_hasFont = true;
    return *this;
}
Element& Element::setBold(bool bold) {
    m_font.bold = bold;
    m_hasFont = true;
    return *this;
}
Element& Element::setItalic(bool italic) {
    m_font.italic = italic;
    m_hasFont = true;
    return *this;
}
Element& Element::setPointSize(double size) {
    m_font.pointSize = size;
    m_hasFont = true;
    return *this;
}
Element& Element::setLineWidth(double mm) {
    m_lineWidth = mm;
    return *this;
}
Element& Element::setResetAfterPrint(bool reset) {
    m_resetAfterPrint = reset;
    return *this;
}

// ---- Band

Band::Band(BandKind kind, QString name, double height)
    : m_kind(kind), m_name(std::move(name)), m_height(height) {}

Element& Band::add(std::unique_ptr<Element> e) {
    m_elements.push_back(std::move(e));
    return *m_elements.back();
}

Element& Band::addLabel(const QString& name, const QRectF& rect, const QString& text) {
    return add(std::make_unique<Element>(ElementKind::Label, name, rect)).setText(text);
}
Element& Band::addField(const QString& name, const QRectF& rect, const QString& field,
                        const QString& mask) {
    return add(std::make_unique<Element>(ElementKind::Field, name, rect))
        .setField(field)
        .setMask(mask);
}
Element& Band::addSum(const QString& name, const QRectF& rect, const QString& field,
                      const QString& mask) {
    return add(std::make_unique<Element>(ElementKind::Sum, name, rect))
        .setField(field)
        .setMask(mask);
}
Element& Band::addPageNumber(const QString& name, const QRectF& rect) {
    return add(std::make_unique<Element>(ElementKind::PageNumber, name, rect));
}
Element& Band::addLine(const QString& name, const QRectF& rect, double width) {
    return add(std::make_unique<Element>(ElementKind::Line, name, rect)).setLineWidth(width);
}
Element& Band::addBox(const QString& name, const QRectF& rect, double width) {
    return add(std::make_unique<Element>(ElementKind::Box, name, rect)).setLineWidth(width);
}

Element& Band::element(const QString& name) {
    for (auto& e : m_elements) {
        if (e->name() == name)
            return *e;
    }
    throw std::out_of_range("report element " + name.toStdString() + " not found in band " +
                            m_name.toStdString());
}

void Band::setFrame(bool top, bool bottom, double width) {
    m_frameTop = top;
    m_frameBottom = bottom;
    m_frameWidth = width;
}

// ---- Report

Report::Report(QString name) : m_name(std::move(name)) {}
Report::~Report() = default;

double Report::contentWidth() const {
    return m_paper.width() - m_margins.left() - m_margins.right();
}

Band& Report::addBand(std::unique_ptr<Band> band) {
    m_bands.push_back(std::move(band));
    return *m_bands.back();
}

Band& Report::addTitle(const QString& name, double height) {
    return addBand(std::make_unique<Band>(BandKind::Title, name, height));
}
Band& Report::addPageHeader(const QString& name, double height) {
    return addBand(std::make_unique<Band>(BandKind::PageHeader, name, height));
}
Band& Report::addGroupHeader(const QString& name, const QString& field, double height) {
    Band& b = addBand(std::make_unique<Band>(BandKind::GroupHeader, name, height));
    b.m_groupField = field;
    m_groups.push_back(&b);
    return b;
}
Band& Report::addGroupFooter(const QString& headerName, const QString& name, double height) {
    Band& header = band(headerName);
    if (header.kind() != BandKind::GroupHeader)
        throw std::invalid_argument(headerName.toStdString() + " is no group header");
    Band& b = addBand(std::make_unique<Band>(BandKind::GroupFooter, name, height));
    header.m_footer = &b;
    return b;
}
Band& Report::addDetail(const QString& name, double height) {
    return addBand(std::make_unique<Band>(BandKind::Detail, name, height));
}
Band& Report::addSummary(const QString& name, double height) {
    return addBand(std::make_unique<Band>(BandKind::Summary, name, height));
}

Band& Report::band(const QString& name) {
    for (auto& b : m_bands) {
        if (b->name() == name)
            return *b;
    }
    throw std::out_of_range("report band " + name.toStdString() + " not found");
}

QVariant Report::value(const QString& field) const {
    for (qsizetype i = 0; i < m_fields.size(); ++i) {
        if (m_fields[i].compare(field, Qt::CaseInsensitive) == 0)
            return i < static_cast<qsizetype>(m_row.size()) ? m_row[static_cast<size_t>(i)]
                                                            : QVariant();
    }
    return QVariant();
}

QString Report::format(const QVariant& value, const QString& mask) const {
    if (m_formatter)
        return m_formatter(value, mask);
    return value.toString();
}

// ---- Layout: one production run

class Report::Layout {
public:
    explicit Layout(Report& r) : m_r(r) {
        m_left = r.m_margins.left();
        m_top = r.m_margins.top();
        m_bottom = r.m_paper.height() - r.m_margins.bottom();
        m_width = r.contentWidth();
        m_model.paperSize = r.m_paper;
        for (auto& b : r.m_bands) {
            switch (b->kind()) {
            case BandKind::Title:
                m_title = b.get();
                break;
            case BandKind::PageHeader:
                m_pageHeader = b.get();
                break;
            case BandKind::Detail:
                m_detail = b.get();
                break;
            case BandKind::Summary:
                m_summary = b.get();
                break;
            default:
                break;
            }
            for (auto& e : b->m_elements) {
                if (e->kind() == ElementKind::Sum)
                    m_sums.push_back(e.get());
            }
        }
    }

    void resolveFields() {
        const QStringList& fields = m_r.m_fields;
        const auto index = [&](const QString& name) {
            for (qsizetype i = 0; i < fields.size(); ++i) {
                if (fields[i].compare(name, Qt::CaseInsensitive) == 0)
                    return static_cast<int>(i);
            }
            throw std::invalid_argument("report field " + name.toStdString() +
                                        " not in the rows of " + m_r.m_name.toStdString());
        };
        for (auto& b : m_r.m_bands) {
            if (b->kind() == BandKind::GroupHeader)
                b->m_groupIndex = index(b->groupField());
            for (auto& e : b->m_elements) {
                if (e->kind() == ElementKind::Field || e->kind() == ElementKind::Sum)
                    e->m_fieldIndex = index(e->field());
            }
        }
        for (Element* s : m_sums)
            resetSum(*s);
    }

    void run(RowSource& rows) {
        newPage();
        if (m_title)
            place(*m_title);
        std::vector<QVariant>& row = m_r.m_row;
        std::vector<QVariant> next(static_cast<size_t>(m_r.m_fields.size()));
        const std::vector<Band*>& groups = m_r.m_groups;
        bool first = true;
        while (rows.next()) {
            for (size_t i = 0; i < next.size(); ++i)
                next[i] = rows.value(static_cast<int>(i));
            size_t changed = groups.size();
            if (first) {
                changed = 0;
            } else {
                for (size_t g = 0; g < groups.size(); ++g) {
                    const auto at = static_cast<size_t>(groups[g]->m_groupIndex);
                    if (row[at] != next[at]) {
                        changed = g;
                        break;
                    }
                }
                // the footers still see the group's last row
                closeGroups(changed);
            }
            row.swap(next);
            first = false;
            for (size_t g = changed; g < groups.size(); ++g)
                place(*groups[g]);
            if (m_detail)
                placeDetail(*m_detail);
        }
        if (!first)
            closeGroups(0);
        if (m_summary)
            place(*m_summary);
    }

    PageModel take() { return std::move(m_model); }

private:
    void closeGroups(size_t downTo) {
        const std::vector<Band*>& groups = m_r.m_groups;
        for (size_t g = groups.size(); g > downTo; --g) {
            if (Band* f = groups[g - 1]->footer())
                place(*f);
        }
    }

    void newPage() {
        Page p;
        p.number = static_cast<int>(m_model.pages.size()) + 1;
        m_model.pages.push_back(std::move(p));
        m_y = m_top;
        if (m_pageHeader)
            place(*m_pageHeader, false);
        m_contentTop = m_y;
    }

    bool before(Band& b) {
        bool print = true;
        if (b.m_beforePrint)
            b.m_beforePrint(b, print);
        return print;
    }

    void fitPage(const Band& b) {
        // a band taller than the page is placed all the same, at the top
        if (m_y + b.height() > m_bottom + 1e-9 && m_y > m_contentTop + 1e-9)
            newPage();
    }

    void place(Band& b, bool mayBreak = true) {
        if (!before(b))
            return;
        if (mayBreak)
            fitPage(b);
        output(b);
    }

    void placeDetail(Band& b) {
        if (!before(b))
            return;
        for (Element* s : m_sums)
            accumulate(*s);
        fitPage(b);
        output(b);
        if (b.m_afterPrint)
            b.m_afterPrint(b);
    }

    void accumulate(Element& s) {
        const QVariant& v = m_r.m_row[static_cast<size_t>(s.m_fieldIndex)];
        if (v.isNull())
            return;
        switch (v.typeId()) {
        case QMetaType::Int:
        case QMetaType::LongLong:
        case QMetaType::UInt:
        case QMetaType::ULongLong:
        case QMetaType::Bool:
            s.m_intSum += v.toLongLong();
            break;
        default:
            s.m_real = true;
            s.m_realSum += v.toDouble();
            break;
        }
    }

    static void resetSum(Element& s) {
        s.m_intSum = 0;
        s.m_realSum = 0.0;
        s.m_real = false;
    }

    static QVariant sumValue(const Element& s) {
        if (s.m_real)
            return QVariant(s.m_realSum + static_cast<double>(s.m_intSum));
        return QVariant(s.m_intSum);
    }

    void output(Band& b) {
        Page& page = m_model.pages.back();
        PageBand pb;
        pb.name = b.name();
        pb.kind = b.kind();
        pb.top = m_y;
        pb.height = b.height();
        pb.texts.reserve(b.m_elements.size());
        for (auto& ep : b.m_elements) {
            Element& e = *ep;
            const QRectF r = e.rect().translated(m_left, m_y);
            if (e.kind() == ElementKind::Line || e.kind() == ElementKind::Box) {
                if (!e.enabled())
                    continue;
                if (e.kind() == ElementKind::Line)
                    page.lines.push_back({r.left(), r.top(), r.right(), r.top(), e.lineWidth()});
                else
                    page.boxes.push_back({r, e.lineWidth()});
                continue;
            }
            PageText t;
            t.element = e.name();
            t.rect = r;
            t.font = e.font() ? *e.font() : m_r.m_font;
            if (e.font() && e.font()->family.isEmpty())
                t.font.family = m_r.m_font.family;
            t.alignment = e.alignment();
            t.visible = e.enabled();
            if (t.visible) {
                QString text;
                switch (e.kind()) {
                case ElementKind::Label:
                    text = e.text();
                    break;
                case ElementKind::Field:
                    text = m_r.format(m_r.m_row.empty()
                                          ? QVariant()
                                          : m_r.m_row[static_cast<size_t>(e.m_fieldIndex)],
                                      e.mask());
                    break;
                case ElementKind::Sum:
                    text = m_r.format(sumValue(e), e.mask());
                    break;
                case ElementKind::PageNumber:
                    text = QString::number(page.number);
                    break;
                default:
                    break;
                }
                t.text = m_fit.fit(text, t.font, r.width());
            }
            pb.texts.push_back(std::move(t));
        }
        if (b.m_frameTop)
            page.lines.push_back({m_left, m_y, m_left + m_width, m_y, b.m_frameWidth});
        if (b.m_frameBottom)
            page.lines.push_back(
                {m_left, m_y + b.height(), m_left + m_width, m_y + b.height(), b.m_frameWidth});
        page.bands.push_back(std::move(pb));
        m_y += b.height();
        for (auto& ep : b.m_elements) {
            if (ep->kind() == ElementKind::Sum && ep->resetAfterPrint())
                resetSum(*ep);
        }
    }

    Report& m_r;
    PageModel m_model;
    TextFit m_fit;
    Band* m_title = nullptr;
    Band* m_pageHeader = nullptr;
    Band* m_detail = nullptr;
    Band* m_summary = nullptr;
    std::vector<Element*> m_sums;
    double m_left = 0, m_top = 0, m_bottom = 0, m_width = 0;
    double m_y = 0;
    double m_contentTop = 0;
};

PageModel Report::produce(RowSource& rows) {
    m_fields = rows.fields();
    m_row.assign(static_cast<size_t>(m_fields.size()), QVariant());
    struct Clear {
        Report& r;
        ~Clear() {
            r.m_row.clear();
            r.m_fields.clear();
        }
    } clear{*this};
    Layout layout(*this);
    layout.resolveFields();
    if (m_beforePrint)
        m_beforePrint();
    layout.run(rows);
    return layout.take();
}

} // namespace reportengine
