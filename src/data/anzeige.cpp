#include "data/anzeige.h"

#include "data/dates.h"

namespace anzeige {

QString datum(const QDate& date) {
    return dates::format(date);
}

QString zahl(Currency value) {
    const std::int64_t units = value.units();
    const bool negative = units < 0;
    const std::uint64_t magnitude =
        negative ? static_cast<std::uint64_t>(-(units + 1)) + 1 : static_cast<std::uint64_t>(units);
    QString text = QString::number(magnitude / Currency::Scale);
    const std::uint64_t frac = magnitude % Currency::Scale;
    if (frac != 0) {
        QString digits = QStringLiteral("%1").arg(frac, 4, 10, QLatin1Char('0'));
        while (digits.endsWith(QLatin1Char('0')))
            digits.chop(1);
        text += QLatin1Char(',') + digits;
    }
    return negative ? QLatin1Char('-') + text : text;
}

QString ganzzahl(qint64 value) {
    return QString::number(value);
}

} // namespace anzeige
