#include "data/dates.h"

#include <QStringList>
#include <array>

namespace dates {

QString format(const QDate& date) {
    return date.toString(QStringLiteral("dd.MM.yyyy"));
}

std::optional<QDate> parse(const QString& text) {
    const QStringList parts = text.trimmed().split(QLatin1Char('.'));
    if (parts.size() != 3 || parts[2].size() != 4)
        return std::nullopt;
    bool okD = false, okM = false, okY = false;
    const int d = parts[0].toInt(&okD);
    const int m = parts[1].toInt(&okM);
    const int y = parts[2].toInt(&okY);
    if (!okD || !okM || !okY || parts[0].size() > 2 || parts[1].size() > 2)
        return std::nullopt;
    const QDate date(y, m, d);
    if (!date.isValid())
        return std::nullopt;
    return date;
}

QString toSql(const QDate& date) {
    return date.toString(QStringLiteral("yyyy-MM-dd"));
}

QDate fromSql(const QString& text) {
    return QDate::fromString(text.left(10), QStringLiteral("yyyy-MM-dd"));
}

QDate firstOfMonth(int year, int month) {
    return QDate(year, month, 1);
}

QDate lastOfMonth(int year, int month) {
    const QDate first(year, month, 1);
    return first.addDays(first.daysInMonth() - 1);
}

QString monthName(int month) {
    static const std::array<const char*, 12> names = {
        "Jänner", "Februar", "März",      "April",   "Mai",      "Juni",
        "Juli",   "August",  "September", "Oktober", "November", "Dezember"};
    if (month < 1 || month > 12)
        return QString();
    return QString::fromUtf8(names[static_cast<size_t>(month - 1)]);
}

} // namespace dates
