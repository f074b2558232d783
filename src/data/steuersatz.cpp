#include "data/steuersatz.h"

#include <QRegularExpression>
#include <cmath>
#include <cstdlib>

namespace steuersatz {

int zehntel(double satz) {
    return static_cast<int>(std::lround(satz * 10.0));
}

double ausZehntel(int z) {
    // whole rates stay exact integers; 49 / 10.0 is the double nearest 4.9
    return z % 10 == 0 ? static_cast<double>(z / 10) : z / 10.0;
}

bool gleich(double a, double b) {
    return zehntel(a) == zehntel(b);
}

QString text(double satz) {
    const int z = zehntel(satz);
    if (z % 10 == 0)
        return QString::number(z / 10);
    const int a = std::abs(z);
    return QStringLiteral("%1%2,%3")
        .arg(z < 0 ? QStringLiteral("-") : QString())
        .arg(a / 10)
        .arg(a % 10);
}

std::optional<double> lesen(const QString& text) {
    static const QRegularExpression muster(QStringLiteral("^(-?\\d{1,5})(?:[.,](\\d))?$"));
    const auto m = muster.match(text.trimmed());
    if (!m.hasMatch())
        return std::nullopt;
    const int ganz = m.captured(1).toInt();
    // the whole part fits the rate column's small integer, as it always had to
    if (ganz < -32768 || ganz > 32767)
        return std::nullopt;
    const int dezimal = m.captured(2).isEmpty() ? 0 : m.captured(2).toInt();
    const bool negativ = m.captured(1).startsWith(QLatin1Char('-'));
    return ausZehntel(ganz * 10 + (negativ ? -dezimal : dezimal));
}

int konto(int basis, double satz) {
    const int z = zehntel(satz);
    return basis + (z % 10 == 0 ? z / 10 : z);
}

QDate gueltigAb(double satz) {
    if (zehntel(satz) == 49)
        return QDate(2026, 7, 1);
    return QDate();
}

QString datumPruefen(double satz, const QDate& datum) {
    const QDate ab = gueltigAb(satz);
    if (ab.isValid() && datum.isValid() && datum < ab)
        return QStringLiteral("Der Steuersatz %1 % gilt erst ab %2.")
            .arg(text(satz), ab.toString(QStringLiteral("dd.MM.yyyy")));
    return QString();
}

} // namespace steuersatz
