#include "data/currency.h"

#include <QStringList>
#include <QVarLengthArray>
#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace {

QString conversionError(const QString& text) {
    return QStringLiteral("'%1' ist kein gültiger Betrag.").arg(text);
}

bool allDigits(const QString& s) {
    if (s.isEmpty())
        return false;
    for (QChar c : s) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

// "1.234.567" style thousands grouping: the first group 1-3 digits, then
// groups of exactly three.
bool validGrouping(const QString& s) {
    const QStringList groups = s.split(QLatin1Char('.'));
    if (groups.size() < 2)
        return false;
    if (!allDigits(groups.front()) || groups.front().size() > 3)
        return false;
    for (qsizetype i = 1; i < groups.size(); ++i) {
        if (groups[i].size() != 3 || !allDigits(groups[i]))
            return false;
    }
    return true;
}

QString groupThousands(const QString& digits) {
    QString out;
    const qsizetype n = digits.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out += QLatin1Char('.');
        out += digits[i];
    }
    return out;
}

QString formatCents(std::int64_t cents) {
    const bool negative = cents < 0;
    const std::uint64_t magnitude =
        negative ? static_cast<std::uint64_t>(-(cents + 1)) + 1 : static_cast<std::uint64_t>(cents);
    const QString whole = groupThousands(QString::number(magnitude / 100));
    const QString frac = QStringLiteral("%1").arg(magnitude % 100, 2, 10, QLatin1Char('0'));
    return (negative ? QStringLiteral("-") : QString()) + whole + QLatin1Char(',') + frac;
}

// One section of a display mask.
struct Maskenteil {
    QString vorne;  // text before the digits
    QString hinten; // text after them
    int minGanz = 0;
    int minDezimal = 0;
    int maxDezimal = 0;
    bool gruppieren = false;
    bool hatZiffern = false;
};

QStringList maskenAbschnitte(const QString& mask) {
    QStringList out;
    QString current;
    QChar quote;
    for (QChar c : mask) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            quote = c;
        } else if (c == QLatin1Char(';')) {
            out << current;
            current.clear();
            continue;
        }
        current += c;
    }
    out << current;
    return out;
}

Maskenteil maskenteil(const QString& section) {
    Maskenteil m;
    bool dezimal = false;
    QChar quote;
    // text between digit placeholders is dropped; before them it leads, after them it trails
    const auto text = [&m](QChar c) { (m.hatZiffern ? m.hinten : m.vorne) += c; };
    for (QChar c : section) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            else
                text(c);
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            quote = c;
        } else if (c == QLatin1Char('0') || c == QLatin1Char('#')) {
            m.hatZiffern = true;
            m.hinten.clear();
            if (dezimal) {
                ++m.maxDezimal;
                if (c == QLatin1Char('0'))
                    m.minDezimal = m.maxDezimal;
            } else if (c == QLatin1Char('0')) {
                ++m.minGanz;
            }
        } else if (c == QLatin1Char('.') && !dezimal) {
            dezimal = true;
            m.hinten.clear();
        } else if (c == QLatin1Char(',') && m.hatZiffern && !dezimal) {
            m.gruppieren = true;
        } else {
            text(c);
        }
    }
    m.maxDezimal = std::min(m.maxDezimal, 4);
    m.minDezimal = std::min(m.minDezimal, m.maxDezimal);
    return m;
}

// units rounded to the section's decimals, halves away from zero
std::int64_t rundeAuf(std::int64_t units, int dezimal) {
    std::int64_t teiler = 1;
    for (int i = dezimal; i < 4; ++i)
        teiler *= 10;
    std::int64_t q = units / teiler;
    const std::int64_t rest = units % teiler;
    if (rest * 2 >= teiler)
        ++q;
    else if (rest * 2 <= -teiler)
        --q;
    return q;
}

// Written into a buffer: reports and exports format a value per cell.
QString zahlText(std::uint64_t betrag, const Maskenteil& m) {
    std::uint64_t teiler = 1;
    for (int i = 0; i < m.maxDezimal; ++i)
        teiler *= 10;
    char16_t ziffern[20];
    int n = 0;
    for (std::uint64_t g = betrag / teiler; g > 0; g /= 10)
        ziffern[n++] = static_cast<char16_t>(u'0' + g % 10);
    // a zero whole part shows only where the mask asks for a digit
    const int ganz = std::max(n, m.minGanz);
    QVarLengthArray<char16_t, 48> text;
    for (int i = ganz - 1; i >= 0; --i) {
        text.append(i < n ? ziffern[i] : u'0');
        if (m.gruppieren && i > 0 && i % 3 == 0)
            text.append(u'.');
    }
    if (m.maxDezimal > 0) {
        std::uint64_t rest = betrag % teiler;
        char16_t bruch[4];
        for (int i = m.maxDezimal - 1; i >= 0; --i) {
            bruch[i] = static_cast<char16_t>(u'0' + rest % 10);
            rest /= 10;
        }
        int stellen = m.maxDezimal;
        while (stellen > m.minDezimal && bruch[stellen - 1] == u'0')
            --stellen;
        if (stellen > 0) {
            text.append(u',');
            text.append(bruch, stellen);
        }
    }
    return QString(reinterpret_cast<const QChar*>(text.constData()), text.size());
}

// The sections of a mask, parsed once: a report formats every value of a
// column with the same mask, and its columns take turns with a few masks.
struct Maske {
    QString text;
    std::vector<QString> abschnitte;
    std::vector<Maskenteil> teile;
};

const Maske& maske(const QString& text) {
    constexpr std::size_t kBehalten = 8;
    thread_local std::vector<Maske> gelesen;
    for (const Maske& m : gelesen) {
        if (m.text == text)
            return m;
    }
    if (gelesen.size() >= kBehalten)
        gelesen.erase(gelesen.begin());
    Maske m;
    const QStringList abschnitte = maskenAbschnitte(text);
    m.text = text;
    m.abschnitte.assign(abschnitte.cbegin(), abschnitte.cend());
    for (const QString& a : abschnitte)
        m.teile.push_back(maskenteil(a));
    gelesen.push_back(std::move(m));
    return gelesen.back();
}

} // namespace

QString Currency::formatMaske(const QString& mask) const {
    const Maske& m = maske(mask);
    const auto& abschnitte = m.abschnitte;
    const Maskenteil& positiv = m.teile[0];
    const std::int64_t gerundet = rundeAuf(m_units, positiv.maxDezimal);
    const Maskenteil* teil = &positiv;
    bool minus = false;
    // an empty section falls back on the first one
    if (gerundet == 0 && abschnitte.size() > 2 && !abschnitte[2].isEmpty()) {
        teil = &m.teile[2];
    } else if (gerundet < 0) {
        if (abschnitte.size() > 1 && !abschnitte[1].isEmpty()) {
            teil = &m.teile[1];
        } else {
            minus = true;
        }
    }
    if (!teil->hatZiffern)
        return teil->vorne + teil->hinten;
    const std::int64_t wert = rundeAuf(m_units, teil->maxDezimal);
    const std::uint64_t betrag =
        wert < 0 ? static_cast<std::uint64_t>(-(wert + 1)) + 1 : static_cast<std::uint64_t>(wert);
    QString zahl = zahlText(betrag, *teil);
    // an amount's mask mostly has no text around its digits
    if (!minus && teil->vorne.isEmpty() && teil->hinten.isEmpty())
        return zahl;
    return (minus ? QStringLiteral("-") : QString()) + teil->vorne + zahl + teil->hinten;
}

std::optional<Currency> Currency::fromDouble(double value) {
    const double scaled = std::round(value * Scale); // std::round: halves away from zero
    if (!std::isfinite(scaled) || scaled >= 9.2e18 || scaled <= -9.2e18)
        return std::nullopt;
    return Currency(static_cast<std::int64_t>(scaled));
}

std::optional<Currency> Currency::parse(const QString& input, QString* error) {
    const auto fail = [&]() -> std::optional<Currency> {
        if (error)
            *error = conversionError(input);
        return std::nullopt;
    };
    QString s = input.trimmed();
    bool negative = false;
    if (s.startsWith(QLatin1Char('-')) || s.startsWith(QLatin1Char('+'))) {
        negative = s.startsWith(QLatin1Char('-'));
        s = s.mid(1);
    }
    if (s.isEmpty())
        return fail();

    QString whole;
    QString frac;
    const qsizetype commas = s.count(QLatin1Char(','));
    if (commas > 1)
        return fail();
    if (commas == 1) {
        const qsizetype at = s.indexOf(QLatin1Char(','));
        whole = s.left(at);
        frac = s.mid(at + 1);
        if (whole.contains(QLatin1Char('.'))) {
            if (!validGrouping(whole))
                return fail();
            whole.remove(QLatin1Char('.'));
        }
        if (whole.isEmpty() && !frac.isEmpty())
            whole = QStringLiteral("0");
    } else {
        const qsizetype periods = s.count(QLatin1Char('.'));
        if (periods == 0) {
            whole = s;
        } else if (validGrouping(s)) {
            // "1.234" is a German thousand, not one and a bit
            whole = s;
            whole.remove(QLatin1Char('.'));
        } else if (periods == 1) {
            const qsizetype at = s.indexOf(QLatin1Char('.'));
            whole = s.left(at).isEmpty() ? QStringLiteral("0") : s.left(at);
            frac = s.mid(at + 1);
        } else {
            return fail();
        }
    }
    if (!allDigits(whole) || (!frac.isEmpty() && !allDigits(frac)))
        return fail();
    if (frac.size() > 4)
        return fail();

    // Overflow-checked accumulation into ten-thousandths.
    constexpr std::uint64_t limit =
        static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
    std::uint64_t units = 0;
    for (QChar c : whole) {
        const std::uint64_t digit = static_cast<std::uint64_t>(c.unicode() - '0');
        if (units > (limit - digit) / 10)
            return fail();
        units = units * 10 + digit;
    }
    if (units > limit / Scale)
        return fail();
    units *= Scale;
    std::uint64_t fracUnits = 0;
    const QString padded = frac.leftJustified(4, QLatin1Char('0'));
    for (QChar c : padded)
        fracUnits = fracUnits * 10 + static_cast<std::uint64_t>(c.unicode() - '0');
    if (units > limit - fracUnits)
        return fail();
    units += fracUnits;
    const auto value = static_cast<std::int64_t>(units);
    return Currency(negative ? -value : value);
}

QString Currency::format() const {
    // halves away from zero, like the display masks always did
    const std::int64_t rem = m_units % 100;
    std::int64_t cents = m_units / 100;
    if (rem >= 50)
        ++cents;
    else if (rem <= -50)
        --cents;
    return formatCents(cents);
}

QString formatAmount(double value) {
    const double cents = std::round(value * 100.0);
    if (!std::isfinite(cents) || std::fabs(cents) >= 9.2e18)
        return QString::number(value);
    return formatCents(static_cast<std::int64_t>(cents));
}
