#include "reportengine/report.h"

#include "reportengine/textfit.h"

#include <algorithm>
#include <optional>
#include <stdexcept>
#include <unordered_map>

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
Element& Element::setImage(const QImage& image) {
    m_image = image;
    return *this;
}
Element& Element::setWrap(bool wrap) {
    m_wrap = wrap;
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

Element& Band::addImage(const QString& name, const QRectF& rect) {
    return add(std::make_unique<Element>(ElementKind::Image, name, rect));
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
    const int i = fieldIndex(field);
    return i >= 0 && static_cast<size_t>(i) < m_row.size() ? m_row[static_cast<size_t>(i)]
                                                           : QVariant();
}

int Report::fieldIndex(const QString& field) const {
    // events ask for the same few names row after row: a name once found is
    // matched exactly, without comparing it against every field ignoring case
    for (const auto& [name, index] : m_gefunden) {
        if (name == field)
            return index;
    }
    int index = -1;
    for (qsizetype i = 0; i < m_fields.size(); ++i) {
        if (m_fields[i].compare(field, Qt::CaseInsensitive) == 0) {
            index = static_cast<int>(i);
            break;
        }
    }
    m_gefunden.emplace_back(field, index);
    return index;
}

QString Report::format(const QVariant& value, const QString& mask) const {
    if (m_formatter)
        return m_formatter(value, mask);
    return value.toString();
}

// ---- Layout: one production run

namespace {

// The engine's page furniture, in millimetres.
constexpr double kSeiteBreite = 35; // "Seite n von m" at the right of the header
constexpr double kSeiteHoehe = 6;   // its line, which texts left of it keep clear of
constexpr double kAbstand = 1.5;    // between a header text and "Seite"
constexpr double kFussHoehe = 5;    // the print date at the foot of the page
constexpr double kFussPunkt = 8;
const QString kFortsetzung = QStringLiteral(" (Fortsetzung)");

} // namespace

class Report::Layout {
public:
    explicit Layout(Report& r) : m_r(r) {
        m_left = r.m_margins.left();
        m_top = r.m_margins.top();
        m_bottom = r.m_paper.height() - r.m_margins.bottom() - kFussHoehe;
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
        m_offen.resize(r.m_groups.size());
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
        newPage(false);
        if (m_title)
            place(*m_title, 0, !m_pageHeader);
        std::vector<QVariant>& row = m_r.m_row;
        const auto width = static_cast<size_t>(m_r.m_fields.size());
        std::vector<QVariant> next(width);
        const std::vector<Band*>& groups = m_r.m_groups;
        // one row ahead, so that a row knows which footers follow it
        const auto read = [&](std::vector<QVariant>& into) {
            if (!rows.next())
                return false;
            for (size_t i = 0; i < width; ++i)
                into[i] = rows.value(static_cast<int>(i));
            return true;
        };
        const auto firstChanged = [&](const std::vector<QVariant>& a,
                                      const std::vector<QVariant>& b) {
            for (size_t g = 0; g < groups.size(); ++g) {
                const auto at = static_cast<size_t>(groups[g]->m_groupIndex);
                if (a[at] != b[at])
                    return g;
            }
            return groups.size();
        };
        bool have = read(next);
        if (!have) {
            placeSummary();
            return;
        }
        size_t changed = 0;
        while (have) {
            row.swap(next);
            // the headers keep company with the first row below them
            double folgend = m_detail ? m_detail->height() : 0;
            for (size_t g = groups.size(); g > changed; --g)
                folgend += groups[g - 1]->height();
            for (size_t g = changed; g < groups.size(); ++g) {
                place(*groups[g], folgend);
                folgend -= groups[g]->height();
                m_offen[g] = m_letzter;
            }
            have = read(next);
            const size_t schliesst = have ? firstChanged(row, next) : 0;
            if (m_detail)
                placeDetail(*m_detail, footersHeight(schliesst, !have));
            if (have) {
                // the footers still see the group's last row
                closeGroups(schliesst);
                changed = schliesst;
            }
        }
        closeGroups(0);
        placeSummary();
    }

    PageModel take() {
        const int anzahl = static_cast<int>(m_model.pages.size());
        for (const auto& [seite, band, text] : m_seitenangaben) {
            m_model.pages[seite].bands[band].texts[text].text =
                QStringLiteral("Seite %1 von %2").arg(m_model.pages[seite].number).arg(anzahl);
        }
        const QDate datum = m_r.m_druckdatum.isValid() ? m_r.m_druckdatum : QDate::currentDate();
        const double fuss = m_r.m_paper.height() - m_r.m_margins.bottom() - kFussHoehe;
        for (Page& page : m_model.pages) {
            PageBand pb;
            pb.name = QStringLiteral("Seitenfuss");
            pb.kind = BandKind::PageFooter;
            pb.top = fuss;
            pb.height = kFussHoehe;
            PageText t;
            t.element = QStringLiteral("Druckdatum");
            t.rect = QRectF(m_left, fuss + 1, m_width, kFussHoehe - 1);
            t.font = m_r.m_font;
            t.font.pointSize = kFussPunkt;
            t.text = QStringLiteral("Gedruckt am ") + datum.toString(QStringLiteral("dd.MM.yyyy"));
            pb.texts.push_back(std::move(t));
            page.bands.push_back(std::move(pb));
        }
        return std::move(m_model);
    }

private:
    // A band laid out at some height of the page, not yet on it.
    struct Gebaut {
        PageBand band;
        std::vector<PageLine> lines;
        std::vector<PageBox> boxes;
        std::vector<PageImage> images;
    };

    double footersHeight(size_t downTo, bool last) const {
        double h = 0;
        const std::vector<Band*>& groups = m_r.m_groups;
        for (size_t g = groups.size(); g > downTo; --g) {
            if (Band* f = groups[g - 1]->footer())
                h += f->height();
        }
        if (last && m_summary)
            h += m_summary->height();
        return h;
    }

    void closeGroups(size_t downTo) {
        const std::vector<Band*>& groups = m_r.m_groups;
        for (size_t g = groups.size(); g > downTo; --g) {
            if (Band* f = groups[g - 1]->footer()) {
                // the sums that follow a footer stay with it
                double folgend = 0;
                for (size_t h = g - 1; h > downTo; --h) {
                    if (Band* o = groups[h - 1]->footer())
                        folgend += o->height();
                }
                place(*f, folgend);
            }
            m_offen[g - 1].reset();
        }
    }

    void placeSummary() {
        if (m_summary)
            place(*m_summary, 0);
    }

    void newPage(bool fortsetzung) {
        Page p;
        p.number = static_cast<int>(m_model.pages.size()) + 1;
        // pages of a report hold about as many bands as each other: one
        // allocation instead of a growing vector per page
        if (!m_model.pages.empty())
            p.bands.reserve(m_model.pages.back().bands.size() + 2);
        m_model.pages.push_back(std::move(p));
        m_y = m_top;
        if (m_pageHeader) {
            if (before(*m_pageHeader))
                commit(build(*m_pageHeader, true), true);
        } else if (m_title == nullptr || m_model.pages.size() > 1) {
            // a page without a header of its own gets a line for its number
            Gebaut g;
            g.band.name = QStringLiteral("Seitenzahl");
            g.band.kind = BandKind::PageHeader;
            g.band.top = m_y;
            g.band.height = kSeiteHoehe;
            commit(std::move(g), true);
        }
        m_contentTop = m_y;
        if (!fortsetzung)
            return;
        for (const std::optional<Gebaut>& kopf : m_offen) {
            if (!kopf)
                continue;
            Gebaut g = *kopf;
            verschieben(g, m_y - g.band.top);
            fortsetzen(g.band);
            commit(std::move(g), false);
        }
        m_contentTop = m_y;
    }

    // The first text of a repeated group header says that its group goes on.
    static void fortsetzen(PageBand& band) {
        for (PageText& t : band.texts) {
            if (t.visible && !t.text.isEmpty()) {
                t.text += kFortsetzung;
                return;
            }
        }
    }

    bool before(Band& b) {
        bool print = true;
        if (b.m_beforePrint)
            b.m_beforePrint(b, print);
        return print;
    }

    // Starts a new page unless height fits below the current position; a band
    // taller than the page is placed all the same, at the top.
    void fitPage(Gebaut& g, double folgend) {
        if (m_y + g.band.height + folgend > m_bottom + 1e-9 && m_y > m_contentTop + 1e-9) {
            const double vorher = m_y;
            newPage(true);
            verschieben(g, m_y - vorher);
        }
    }

    void place(Band& b, double folgend, bool kopf = false) {
        m_letzter.reset();
        if (!before(b))
            return;
        Gebaut g = build(b, kopf);
        fitPage(g, folgend);
        if (b.kind() == BandKind::GroupHeader)
            m_letzter = g;
        commit(std::move(g), kopf);
        afterOutput(b);
    }

    void placeDetail(Band& b, double folgend) {
        if (!before(b))
            return;
        for (Element* s : m_sums)
            accumulate(*s);
        Gebaut g = build(b, false);
        fitPage(g, folgend);
        commit(std::move(g), false);
        afterOutput(b);
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

    static void verschieben(Gebaut& g, double dy) {
        if (dy == 0)
            return;
        g.band.top += dy;
        for (PageText& t : g.band.texts)
            t.rect.translate(0, dy);
        for (PageLine& l : g.lines) {
            l.y1 += dy;
            l.y2 += dy;
        }
        for (PageBox& b : g.boxes)
            b.rect.translate(0, dy);
        for (PageImage& i : g.images)
            i.rect.translate(0, dy);
    }

    QString elementText(const Element& e, int page) const {
        switch (e.kind()) {
        case ElementKind::Label:
            return e.text();
        case ElementKind::Field:
            return m_r.format(m_r.m_row.empty() ? QVariant()
                                                : m_r.m_row[static_cast<size_t>(e.m_fieldIndex)],
                              e.mask());
        case ElementKind::Sum:
            return m_r.format(sumValue(e), e.mask());
        case ElementKind::PageNumber:
            return QString::number(page);
        default:
            return QString();
        }
    }

    // The band's elements, in order of their top edge where a text may wrap,
    // so that a shift passes down a chain; sorted once per band and run.
    struct Ordnung {
        std::vector<Element*> elemente;
        bool wraps = false;
    };
    const Ordnung& ordnung(const Band& b) {
        const auto it = m_ordnung.find(&b);
        if (it != m_ordnung.end())
            return it->second;
        Ordnung o;
        for (const auto& ep : b.m_elements) {
            o.elemente.push_back(ep.get());
            o.wraps = o.wraps || ep->wrap();
        }
        if (o.wraps) {
            std::stable_sort(o.elemente.begin(), o.elemente.end(), [](Element* x, Element* y) {
                return x->rect().top() < y->rect().top();
            });
        }
        return m_ordnung.emplace(&b, std::move(o)).first->second;
    }

    // Lays out the band at the current position. In a header (kopf) the
    // texts keep clear of "Seite n von m" at the top right.
    Gebaut build(Band& b, bool kopf) {
        const int page = m_model.pages.back().number;
        const double seiteLinks = m_left + m_width - kSeiteBreite;
        Gebaut g;
        g.band.name = b.name();
        g.band.kind = b.kind();
        g.band.top = m_y;
        g.band.height = b.height();
        g.band.texts.reserve(b.m_elements.size());
        // wrapped texts: bottom edge (band coordinates) and how much they grew
        std::vector<std::pair<double, double>> gewachsen;
        const auto versatz = [&gewachsen](double top) {
            double dy = 0;
            for (const auto& [unten, um] : gewachsen) {
                if (unten <= top + 1e-6)
                    dy = std::max(dy, um);
            }
            return dy;
        };
        const Ordnung& o = ordnung(b);
        const std::vector<Element*>& elemente = o.elemente;
        const bool gewickelt = o.wraps;
        double wachstum = 0;
        std::vector<std::pair<const Element*, double>> schub; // lines and boxes
        for (Element* ep : elemente) {
            Element& e = *ep;
            const double dy = gewickelt ? versatz(e.rect().top()) : 0;
            QRectF r = e.rect().translated(m_left, m_y + dy);
            if (e.kind() == ElementKind::Line || e.kind() == ElementKind::Box) {
                if (e.enabled())
                    schub.emplace_back(&e, dy);
                continue;
            }
            if (e.kind() == ElementKind::Image) {
                if (e.enabled() && !e.image().isNull())
                    g.images.push_back({r, e.image()});
                continue;
            }
            if (kopf && e.rect().top() < kSeiteHoehe - 1e-6 && r.right() > seiteLinks - kAbstand &&
                r.left() < seiteLinks - kAbstand)
                r.setRight(seiteLinks - kAbstand);
            PageText t;
            t.element = e.name();
            t.rect = r;
            t.font = e.font() ? *e.font() : m_r.m_font;
            if (e.font() && e.font()->family.isEmpty())
                t.font.family = m_r.m_font.family;
            t.alignment = e.alignment();
            t.visible = e.enabled();
            if (!t.visible) {
                g.band.texts.push_back(std::move(t));
                continue;
            }
            const QString text = elementText(e, page);
            t.text = m_fit.fit(text, t.font, r.width());
            // most texts fit: only a cut one is wrapped
            if (!e.wrap() || t.text.size() == text.size()) {
                g.band.texts.push_back(std::move(t));
                continue;
            }
            const QStringList zeilen = m_fit.wrap(text, t.font, r.width());
            const double zeile = zeilen.size() > 1 ? m_fit.lineHeightMm(t.font) : 0;
            for (qsizetype i = 0; i < zeilen.size(); ++i) {
                PageText z = t;
                z.text = zeilen[i];
                if (i > 0)
                    z.rect = QRectF(r.left(), r.top() + static_cast<double>(i) * zeile, r.width(),
                                    std::max(zeile, r.height()));
                g.band.texts.push_back(std::move(z));
            }
            const double um = static_cast<double>(zeilen.size() - 1) * zeile;
            if (um > 0) {
                gewachsen.emplace_back(e.rect().bottom(), dy + um);
                wachstum = std::max(wachstum, dy + um);
            }
            wachstum = std::max(wachstum, dy);
        }
        g.band.height += wachstum;
        for (const auto& [ep, dy] : schub) {
            const Element& e = *ep;
            QRectF r = e.rect().translated(m_left, m_y + dy);
            if (e.kind() == ElementKind::Line) {
                g.lines.push_back({r.left(), r.top(), r.right(), r.top(), e.lineWidth()});
                continue;
            }
            // a frame around a grown text grows with it
            double um = 0;
            for (const auto& [unten, w] : gewachsen) {
                if (unten > e.rect().top() + 1e-6 && unten <= e.rect().bottom() + 1e-6)
                    um = std::max(um, w - dy);
            }
            r.setHeight(r.height() + um);
            g.boxes.push_back({r, e.lineWidth()});
        }
        if (b.m_frameTop)
            g.lines.push_back({m_left, m_y, m_left + m_width, m_y, b.m_frameWidth});
        if (b.m_frameBottom)
            g.lines.push_back({m_left, m_y + g.band.height, m_left + m_width, m_y + g.band.height,
                               b.m_frameWidth});
        return g;
    }

    // Puts the band on the current page below what is there; a header band
    // (kopf) takes the page's "Seite n von m", numbered when all pages are laid out.
    void commit(Gebaut g, bool kopf) {
        Page& page = m_model.pages.back();
        if (kopf) {
            PageText t;
            t.element = QStringLiteral("Seitenangabe");
            t.rect = QRectF(m_left + m_width - kSeiteBreite, g.band.top, kSeiteBreite, kSeiteHoehe);
            t.font = m_r.m_font;
            t.alignment = Qt::AlignRight | Qt::AlignTop;
            m_seitenangaben.push_back(
                {m_model.pages.size() - 1, page.bands.size(), g.band.texts.size()});
            g.band.texts.push_back(std::move(t));
        }
        m_y = g.band.top + g.band.height;
        page.lines.insert(page.lines.end(), g.lines.begin(), g.lines.end());
        page.boxes.insert(page.boxes.end(), g.boxes.begin(), g.boxes.end());
        page.images.insert(page.images.end(), g.images.begin(), g.images.end());
        page.bands.push_back(std::move(g.band));
    }

    void afterOutput(Band& b) {
        for (auto& ep : b.m_elements) {
            if (ep->kind() == ElementKind::Sum && ep->resetAfterPrint())
                resetSum(*ep);
        }
    }

    struct Stelle {
        size_t seite, band, text;
    };

    Report& m_r;
    PageModel m_model;
    TextFit m_fit;
    Band* m_title = nullptr;
    Band* m_pageHeader = nullptr;
    Band* m_detail = nullptr;
    Band* m_summary = nullptr;
    std::vector<Element*> m_sums;
    // per group level: its header as placed, while the group is open
    std::vector<std::optional<Gebaut>> m_offen;
    std::optional<Gebaut> m_letzter; // the group header place() put last
    std::vector<Stelle> m_seitenangaben;
    std::unordered_map<const Band*, Ordnung> m_ordnung;
    double m_left = 0, m_top = 0, m_bottom = 0, m_width = 0;
    double m_y = 0;
    double m_contentTop = 0;
};

PageModel Report::produce(RowSource& rows) {
    m_fields = rows.fields();
    m_row.assign(static_cast<size_t>(m_fields.size()), QVariant());
    m_gefunden.clear();
    struct Clear {
        Report& r;
        ~Clear() {
            r.m_row.clear();
            r.m_fields.clear();
            r.m_gefunden.clear();
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
