#include "reports/zeitraum.h"

#include "data/dates.h"

std::optional<Periode> ZeitraumBestimmen(int code, int jahr) {
    Periode p;
    if (code >= 1 && code <= 12) {
        p.Von = dates::firstOfMonth(jahr, code);
        p.Bis = dates::lastOfMonth(jahr, code);
        p.ZeitraumText = dates::monthName(code) + QLatin1Char(' ') + QString::number(jahr);
        return p;
    }
    if (code >= 13 && code <= 16) {
        const int quartal = code - 12;
        p.Von = dates::firstOfMonth(jahr, 3 * quartal - 2);
        p.Bis = dates::lastOfMonth(jahr, 3 * quartal);
        p.ZeitraumText = QStringLiteral("%1. Quartal %2").arg(quartal).arg(jahr);
        return p;
    }
    if (code == 17) {
        p.Von = QDate(jahr, 1, 1);
        p.Bis = QDate(jahr, 12, 31);
        p.ZeitraumText = QStringLiteral("Jahr %1").arg(jahr);
        return p;
    }
    return std::nullopt;
}
