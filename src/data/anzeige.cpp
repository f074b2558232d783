#include "data/anzeige.h"

#include "data/dates.h"
#include "data/steuersatz.h"

namespace anzeige {

QString datum(const QDate& date) {
    return dates::format(date);
}

namespace {

// The digits of n at the end of the buffer; answers where they begin. An
// export asks this per cell: no QString until the text is whole.
char16_t* ziffern(std::uint64_t n, char16_t* ende) {
    do {
        *--ende = static_cast<char16_t>(u'0' + n % 10);
        n /= 10;
    } while (n > 0);
    return ende;
}

std::uint64_t betragVon(std::int64_t v) {
    return v < 0 ? static_cast<std::uint64_t>(-(v + 1)) + 1 : static_cast<std::uint64_t>(v);
}

} // namespace

QString zahl(Currency value) {
    const std::int64_t units = value.units();
    const std::uint64_t magnitude = betragVon(units);
    // sign, 20 digits, comma, four places
    char16_t puffer[32];
    char16_t* ende = puffer + 32;
    char16_t* schluss = ende;
    const std::uint64_t frac = magnitude % Currency::Scale;
    if (frac != 0) {
        // four places, trailing zeros dropped
        std::uint64_t rest = frac;
        for (int i = 0; i < 4; ++i) {
            *--schluss = static_cast<char16_t>(u'0' + rest % 10);
            rest /= 10;
        }
        *--schluss = u',';
        while (ende[-1] == u'0')
            --ende;
    }
    char16_t* anfang = ziffern(magnitude / Currency::Scale, schluss);
    // the comma and places were written to the right of the whole part
    if (units < 0)
        *--anfang = u'-';
    return QString(reinterpret_cast<const QChar*>(anfang), ende - anfang);
}

QString ganzzahl(qint64 value) {
    char16_t puffer[24];
    char16_t* ende = puffer + 24;
    char16_t* anfang = ziffern(betragVon(value), ende);
    if (value < 0)
        *--anfang = u'-';
    return QString(reinterpret_cast<const QChar*>(anfang), ende - anfang);
}

} // namespace anzeige

QVariant anzeige::typisiert(FeldArt art, const QVariant& roh) {
    if (roh.isNull())
        return QVariant();
    switch (art) {
    case FeldArt::Datum:
        return dates::fromSql(roh.toString());
    case FeldArt::Waehrung:
        return QVariant::fromValue(Currency::fromUnits(roh.toLongLong()));
    case FeldArt::Ganzzahl:
        // a rate with a decimal (4,9) is the one real such a column holds
        if (roh.typeId() == QMetaType::Double && steuersatz::zehntel(roh.toDouble()) % 10 != 0)
            return QVariant::fromValue(
                Currency::fromUnits(steuersatz::zehntel(roh.toDouble()) * Currency::Scale / 10));
        return roh.toLongLong();
    case FeldArt::Text:
        return roh.toString();
    }
    return QVariant();
}

QString anzeige::text(FeldArt art, const QVariant& typisiert) {
    if (!typisiert.isValid())
        return QString();
    switch (art) {
    case FeldArt::Datum:
        return datum(typisiert.toDate());
    case FeldArt::Waehrung:
        return zahl(typisiert.value<Currency>());
    case FeldArt::Ganzzahl:
        if (typisiert.userType() == qMetaTypeId<Currency>())
            return steuersatz::text(steuersatz::ausZehntel(
                static_cast<int>(typisiert.value<Currency>().units() * 10 / Currency::Scale)));
        return ganzzahl(typisiert.toLongLong());
    case FeldArt::Text:
        return typisiert.toString();
    }
    return QString();
}

QVariant anzeige::wert(FeldArt art, const QVariant& roh, int role) {
    const bool zahl = role == ZahlRolle && (art == FeldArt::Waehrung || art == FeldArt::Ganzzahl);
    const bool datum = role == DatumRolle && art == FeldArt::Datum;
    if (role != Qt::DisplayRole && !zahl && !datum)
        return QVariant();
    const QVariant t = typisiert(art, roh);
    if (role == Qt::DisplayRole)
        return text(art, t);
    return t;
}
