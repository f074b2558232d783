#include "data/anzeige.h"

#include "data/dates.h"
#include "data/steuersatz.h"

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
        // four places, trailing zeros dropped; an export asks this per cell
        char16_t digits[4];
        std::uint64_t rest = frac;
        for (int i = 3; i >= 0; --i) {
            digits[i] = static_cast<char16_t>(u'0' + rest % 10);
            rest /= 10;
        }
        int n = 4;
        while (digits[n - 1] == u'0')
            --n;
        text += QLatin1Char(',');
        text.append(reinterpret_cast<const QChar*>(digits), n);
    }
    return negative ? QLatin1Char('-') + text : text;
}

QString ganzzahl(qint64 value) {
    return QString::number(value);
}

} // namespace anzeige

QVariant anzeige::wert(FeldArt art, const QVariant& roh, int role) {
    if (roh.isNull())
        return role == Qt::DisplayRole ? QVariant(QString()) : QVariant();
    switch (art) {
    case FeldArt::Datum: {
        const QDate d = dates::fromSql(roh.toString());
        if (role == DatumRolle)
            return d;
        return role == Qt::DisplayRole ? QVariant(datum(d)) : QVariant();
    }
    case FeldArt::Waehrung: {
        const Currency c = Currency::fromUnits(roh.toLongLong());
        if (role == ZahlRolle)
            return QVariant::fromValue(c);
        return role == Qt::DisplayRole ? QVariant(zahl(c)) : QVariant();
    }
    case FeldArt::Ganzzahl:
        // a rate with a decimal (4,9) is the one real such a column holds
        if (roh.typeId() == QMetaType::Double && steuersatz::zehntel(roh.toDouble()) % 10 != 0) {
            if (role == ZahlRolle)
                return QVariant::fromValue(Currency::fromUnits(steuersatz::zehntel(roh.toDouble()) *
                                                               Currency::Scale / 10));
            return role == Qt::DisplayRole ? QVariant(steuersatz::text(roh.toDouble()))
                                           : QVariant();
        }
        if (role == ZahlRolle)
            return roh.toLongLong();
        return role == Qt::DisplayRole ? QVariant(ganzzahl(roh.toLongLong())) : QVariant();
    case FeldArt::Text:
        return role == Qt::DisplayRole ? QVariant(roh.toString()) : QVariant();
    }
    return QVariant();
}
