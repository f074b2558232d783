#include "data/steuerfreikz.h"

namespace steuerfreikz {

const std::vector<Wahl>& wahlen() {
    static const std::vector<Wahl> w = {
        {QStringLiteral("011"), QStringLiteral("011 Ausfuhrlieferungen")},
        {QStringLiteral("017"), QStringLiteral("017 Innergemeinschaftliche Lieferungen")},
        {QStringLiteral("019"), QStringLiteral("019 Grundstücksumsätze")},
        {QStringLiteral("016"), QStringLiteral("016 Kleinunternehmer")},
        {QStringLiteral("020"), QStringLiteral("020 Übrige steuerfreie Umsätze")},
        {QStringLiteral("021"), QStringLiteral("021 Reverse Charge (Steuerschuld geht über)")},
        {nichtSteuerbar(), QStringLiteral("Nicht steuerbar (nicht in der UVA)")},
    };
    return w;
}

QString nichtSteuerbar() {
    return QStringLiteral("nicht steuerbar");
}

bool gueltig(const QString& wert) {
    for (const Wahl& w : wahlen())
        if (w.wert == wert)
            return true;
    return false;
}

} // namespace steuerfreikz
