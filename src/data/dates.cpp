#include "data/dates.h"

#include <QStringList>
#include <array>

namespace dates {

namespace {

// Lists and exports show a date per row: the common shapes are done by hand,
// QDate's format parser costs more than the rest of a row.
int ziffern(QStringView text, int von, int anzahl) {
    int wert = 0;
    for (int i = von; i < von + anzahl; ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return -1;
        wert = wert * 10 + (c - u'0');
    }
    return wert;
}

void zweistellig(QChar* ziel, int wert) {
    ziel[0] = QChar(u'0' + wert / 10);
    ziel[1] = QChar(u'0' + wert % 10);
}

} // namespace

QString format(const QDate& date) {
    // one calendar conversion for all three parts
    int jahr = 0, monat = 0, tag = 0;
    date.getDate(&jahr, &monat, &tag);
    if (!date.isValid() || jahr < 1000 || jahr > 9999)
        return date.toString(QStringLiteral("dd.MM.yyyy"));
    QString text(10, QLatin1Char('.'));
    QChar* z = text.data();
    zweistellig(z, tag);
    zweistellig(z + 3, monat);
    zweistellig(z + 6, jahr / 100);
    zweistellig(z + 8, jahr % 100);
    return text;
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
    if (text.size() >= 10 && text[4] == QLatin1Char('-') && text[7] == QLatin1Char('-')) {
        const int y = ziffern(text, 0, 4);
        const int m = ziffern(text, 5, 2);
        const int d = ziffern(text, 8, 2);
        if (y >= 0 && m >= 0 && d >= 0)
            return QDate(y, m, d);
    }
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
