#include "data/steuernummer.h"

namespace steuernummer {

QString pruefen(const QString& text) {
    for (const QChar c : text) {
        const bool ziffer = c >= QLatin1Char('0') && c <= QLatin1Char('9');
        if (!ziffer && c != QLatin1Char(' ') && c != QLatin1Char('-') && c != QLatin1Char('/'))
            return QStringLiteral(
                "Die Steuernummer darf nur Ziffern, Leerzeichen, - und / enthalten.");
    }
    return QString();
}

} // namespace steuernummer
