#include "reports/berichtsformat.h"

#include "data/currency.h"
#include "data/dates.h"
#include "data/steuersatz.h"

#include <cmath>

QString berichtsFormat(const QVariant& value, const QString& mask) {
    if (mask.isEmpty() || value.isNull())
        return value.toString();
    if (mask == kSatzMaske) {
        // a whole rate is its number; only a real one (4,9) needs the rate's rule
        if (value.typeId() == QMetaType::LongLong || value.typeId() == QMetaType::Int)
            return QString::number(value.toLongLong());
        return steuersatz::text(value.toDouble());
    }
    if (mask == kDatumMaske) {
        // a report runs in date order within its groups: the date of the row
        // before is mostly this row's, printed once
        thread_local QString letzterWert, letzterText;
        const bool text = value.typeId() == QMetaType::QString;
        if (text && !letzterWert.isNull() && value.toString() == letzterWert)
            return letzterText;
        const QDate d =
            value.typeId() == QMetaType::QDate ? value.toDate() : dates::fromSql(value.toString());
        const QString gedruckt = d.isValid() ? dates::format(d) : value.toString();
        if (text) {
            letzterWert = value.toString();
            letzterText = gedruckt;
        }
        return gedruckt;
    }
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        return Currency::fromUnits(value.toLongLong()).formatMaske(mask);
    case QMetaType::Double:
        // not written by the program, but an amount all the same
        return Currency::fromUnits(static_cast<std::int64_t>(std::llround(value.toDouble())))
            .formatMaske(mask);
    default: {
        bool ok = false;
        const qlonglong units = value.toString().toLongLong(&ok);
        return ok ? Currency::fromUnits(units).formatMaske(mask) : value.toString();
    }
    }
}
