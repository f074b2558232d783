#include "reportengine/textfit.h"

#include <QFontMetricsF>
#include <QHash>
#include <QImage>
#include <algorithm>
#include <array>
#include <memory>

namespace reportengine {

namespace {

// Measured on a device of print resolution, where hinting no longer moves widths.
constexpr int kDpi = 1200;
constexpr double kMmPerPixel = 25.4 / kDpi;
// Kerning may pull a text's shaped width past the sum of its characters'
// advances; a text is taken as fitting unmeasured only with this much room.
constexpr double kKerningReserve = 1.1;

} // namespace

QFont toQFont(const FontSpec& spec) {
    QFont f(spec.family);
    f.setPointSizeF(spec.pointSize);
    f.setBold(spec.bold);
    f.setItalic(spec.italic);
    f.setUnderline(spec.underline);
    return f;
}

QString singleLine(const QString& text) {
    const auto breaks = [](QChar c) {
        // printable Latin-1, nearly every text, without the category table
        const char16_t u = c.unicode();
        if ((u >= 0x20 && u < 0x7f) || (u >= 0xa0 && u <= 0xff))
            return false;
        const QChar::Category cat = c.category();
        return cat == QChar::Other_Control || cat == QChar::Separator_Line ||
               cat == QChar::Separator_Paragraph;
    };
    // most texts hold none: those are handed on without a copy
    if (std::none_of(text.cbegin(), text.cend(), breaks))
        return text;
    QString out = text;
    for (QChar& c : out) {
        if (breaks(c))
            c = QLatin1Char(' ');
    }
    return out;
}

struct TextFit::Impl {
    QImage device{1, 1, QImage::Format_RGB32};
    struct Entry {
        FontSpec spec;
        std::unique_ptr<QFontMetricsF> metrics;
        double maxCharMm = 0;
        // advances of single Latin-1 characters in pixels, negative until measured
        std::array<double, 256> latin1{};
        // shaped widths of whole texts in pixels: report texts repeat a lot
        QHash<QString, double> widths;
    };
    std::vector<Entry> cache;

    Impl() {
        const int dpm = static_cast<int>(kDpi / 0.0254 + 0.5);
        device.setDotsPerMeterX(dpm);
        device.setDotsPerMeterY(dpm);
    }

    Entry& entry(const FontSpec& spec) {
        // asked for every text of a report: the plain fields first, the name last
        for (Entry& e : cache) {
            if (e.spec.pointSize == spec.pointSize && e.spec.bold == spec.bold &&
                e.spec.italic == spec.italic && e.spec.underline == spec.underline &&
                (e.spec.family.constData() == spec.family.constData() ||
                 e.spec.family == spec.family))
                return e;
        }
        Entry e;
        e.spec = spec;
        e.metrics = std::make_unique<QFontMetricsF>(toQFont(spec), &device);
        e.maxCharMm = e.metrics->maxWidth() * kMmPerPixel;
        e.latin1.fill(-1.0);
        cache.push_back(std::move(e));
        return cache.back();
    }

    // Sum of the single characters' advances, or a negative value for a text
    // beyond Latin-1.
    static double advanceSum(Entry& e, const QString& text) {
        double sum = 0;
        for (QChar c : text) {
            const char16_t u = c.unicode();
            if (u > 0xff)
                return -1.0;
            double& a = e.latin1[u];
            if (a < 0)
                a = e.metrics->horizontalAdvance(c);
            sum += a;
        }
        return sum;
    }

    static double width(Entry& e, const QString& text) {
        const auto it = e.widths.constFind(text);
        if (it != e.widths.cend())
            return *it;
        const double w = e.metrics->horizontalAdvance(text);
        // amounts are mostly unique: keep the cache from growing with them
        if (e.widths.size() < 20000)
            e.widths.insert(text, w);
        return w;
    }
};

TextFit::TextFit() : m_impl(std::make_unique<Impl>()) {}
TextFit::~TextFit() = default;

double TextFit::widthMm(const QString& text, const FontSpec& font) {
    return Impl::width(m_impl->entry(font), text) * kMmPerPixel;
}

double TextFit::lineHeightMm(const FontSpec& font) {
    return m_impl->entry(font).metrics->lineSpacing() * kMmPerPixel;
}

bool TextFit::fits(const QString& text, const FontSpec& font, double widthMm) {
    Impl::Entry& e = m_impl->entry(font);
    // most texts are short numbers: no measuring needed
    if (e.maxCharMm > 0 && static_cast<double>(text.size()) * e.maxCharMm <= widthMm)
        return true;
    const double limit = widthMm / kMmPerPixel;
    const double sum = Impl::advanceSum(e, text);
    if (sum >= 0 && sum * kKerningReserve <= limit)
        return true;
    return Impl::width(e, text) <= limit;
}

qsizetype TextFit::fittingPrefix(const QString& text, const FontSpec& font, double widthMm) {
    Impl::Entry& e = m_impl->entry(font);
    const double limit = widthMm / kMmPerPixel;
    qsizetype lo = 0;
    qsizetype hi = text.size();
    while (lo < hi) {
        const qsizetype mid = (lo + hi + 1) / 2;
        if (e.metrics->horizontalAdvance(text.left(mid)) <= limit)
            lo = mid;
        else
            hi = mid - 1;
    }
    if (lo > 0 && text[lo - 1].isHighSurrogate())
        --lo;
    return lo;
}

QString TextFit::fit(const QString& input, const FontSpec& font, double widthMm) {
    const QString text = singleLine(input);
    if (text.isEmpty() || fits(text, font, widthMm))
        return text;
    return text.left(fittingPrefix(text, font, widthMm));
}

QStringList TextFit::wrap(const QString& input, const FontSpec& font, double widthMm) {
    const QString text = singleLine(input);
    if (text.isEmpty() || fits(text, font, widthMm))
        return {text};
    QStringList lines;
    QString line;
    for (QString word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (!line.isEmpty()) {
            const QString longer = line + QLatin1Char(' ') + word;
            if (fits(longer, font, widthMm)) {
                line = longer;
                continue;
            }
            lines << line;
            line.clear();
        }
        // a word wider than the column is broken where it reaches the edge
        while (!fits(word, font, widthMm)) {
            const qsizetype n = std::max<qsizetype>(1, fittingPrefix(word, font, widthMm));
            lines << word.left(n);
            word.remove(0, n);
        }
        line = word;
    }
    if (!line.isEmpty() || lines.isEmpty())
        lines << line;
    return lines;
}

} // namespace reportengine
