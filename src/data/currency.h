#pragma once

#include <QString>
#include <compare>
#include <cstdint>
#include <optional>

// Money as an exact fixed-point number of ten-thousandths of a euro, the
// database's currency representation. Sums of it are exact.
class Currency {
public:
    static constexpr std::int64_t Scale = 10000;

    constexpr Currency() = default;
    static constexpr Currency fromUnits(std::int64_t units) { return Currency(units); }
    // Nearest ten-thousandth, halves away from zero; nullopt outside the range.
    static std::optional<Currency> fromDouble(double value);

    // What a German user types: "1.234,56", "1234,56", "-12,5", "80", also
    // "1234.56". nullopt with a German message in *error for anything else.
    static std::optional<Currency> parse(const QString& text, QString* error = nullptr);

    constexpr std::int64_t units() const { return m_units; }
    double toDouble() const { return static_cast<double>(m_units) / Scale; }

    // "#,##0.00": 1.234,50 and -0,50; rounded to cents, halves away from zero.
    QString format() const;
    // A display mask of the toolkit's format-string syntax: up to three
    // sections "positive;negative;zero" ("#,##0.00;;''" prints nothing for
    // zero), "0" and "#" digits, "," grouping, "." decimals (at most four),
    // quoted or other text copied. Output uses "." grouping and "," decimals.
    QString formatMaske(const QString& mask) const;
    // The main window's totals: "1.234,50 €".
    QString formatEuro() const { return format() + QStringLiteral(" €"); }

    constexpr Currency operator+(Currency o) const { return Currency(m_units + o.m_units); }
    constexpr Currency operator-(Currency o) const { return Currency(m_units - o.m_units); }
    constexpr Currency operator-() const { return Currency(-m_units); }
    Currency& operator+=(Currency o) {
        m_units += o.m_units;
        return *this;
    }
    constexpr auto operator<=>(const Currency&) const = default;

private:
    constexpr explicit Currency(std::int64_t units) : m_units(units) {}
    std::int64_t m_units = 0;
};

// "#,##0.00" for a binary floating-point value (totals read as doubles).
QString formatAmount(double value);
