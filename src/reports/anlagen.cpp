#include "reports/anlagen.h"

#include <algorithm>

namespace anlagen {

namespace {

constexpr std::int64_t kCent = Currency::Scale / 100;

// Used for more than six months of the year of acquisition.
bool ersteHaelfte(const QDate& d) {
    return d.month() <= 6;
}

// The half-year rule: 2 for a full year, 1 for half of it.
int halbjahre(const Anlage& a, int jahr) {
    const bool anschaffungsjahr = jahr == a.anschaffung.year();
    const bool abgangsjahr = a.abgang && jahr == a.abgang->year();
    if (anschaffungsjahr && abgangsjahr)
        // bought and sold in one year: more than six months in use or not
        return a.anschaffung.addMonths(6) < *a.abgang ? 2 : 1;
    if (anschaffungsjahr)
        return ersteHaelfte(a.anschaffung) ? 2 : 1;
    if (abgangsjahr)
        return ersteHaelfte(*a.abgang) ? 1 : 2;
    return 2;
}

// The last year of the useful life: a half year at the start adds one.
int letztesJahr(const Anlage& a) {
    return a.anschaffung.year() + a.nutzungsdauer - (ersteHaelfte(a.anschaffung) ? 1 : 0);
}

// Half-years of useful life left at the start of jahr.
std::int64_t resthalbjahre(const Anlage& a, int jahr) {
    std::int64_t genutzt = 0;
    for (int j = a.anschaffung.year(); j < jahr; ++j)
        genutzt += halbjahre(a, j);
    return std::max<std::int64_t>(1, 2 * a.nutzungsdauer - genutzt);
}

Currency jahresAfa(const Anlage& a, int jahr, Currency buchwert) {
    const int h = halbjahre(a, jahr);
    Currency betrag;
    if (a.degressivSatz > 0 && !(a.linearAb && jahr >= *a.linearAb))
        betrag = aufCentRunden(buchwert, a.degressivSatz * h, 100 * 2);
    else if (a.degressivSatz > 0)
        // after the switch: what is left over what is left of the life
        betrag = aufCentRunden(buchwert, h, resthalbjahre(a, jahr));
    else
        betrag = aufCentRunden(a.kosten, h, 2 * a.nutzungsdauer);
    if (jahr >= letztesJahr(a) || betrag > buchwert)
        betrag = buchwert;
    return betrag;
}

} // namespace

Currency aufCentRunden(Currency betrag, std::int64_t zaehler, std::int64_t nenner) {
    const std::int64_t x = betrag.units() * zaehler;
    const std::int64_t d = nenner * kCent;
    const std::int64_t cent = x >= 0 ? (x + d / 2) / d : -((-x + d / 2) / d);
    return Currency::fromUnits(cent * kCent);
}

Currency gwgGrenze(int jahr) {
    return Currency::fromUnits((jahr >= 2023 ? 1000 : 800) * Currency::Scale);
}

bool istGwg(const Anlage& a) {
    return a.kosten <= gwgGrenze(a.anschaffung.year());
}

std::optional<QString> degressivVerboten(const Anlage& a) {
    if (a.degressivSatz <= 0)
        return std::nullopt;
    if (a.degressivSatz > 30)
        return QStringLiteral(
            "Der Satz der degressiven Abschreibung darf höchstens 30 % betragen.");
    if (a.anschaffung < QDate(2020, 7, 1))
        return QStringLiteral("Degressiv abschreiben lassen sich nur Anlagen, die nach dem "
                              "30.06.2020 angeschafft wurden.");
    switch (a.art) {
    case Art::Gebaeude:
        return QStringLiteral("Gebäude werden nicht degressiv abgeschrieben.");
    case Art::Firmenwert:
        return QStringLiteral("Ein Firmenwert wird nicht degressiv abgeschrieben.");
    case Art::Pkw:
        return QStringLiteral("Ein PKW wird nur emissionsfrei degressiv abgeschrieben.");
    case Art::Sonstig:
    case Art::PkwEmissionsfrei:
        break;
    }
    if (a.gebraucht)
        return QStringLiteral("Gebrauchte Anlagen werden nicht degressiv abgeschrieben.");
    return std::nullopt;
}

std::optional<QString> pruefen(const Anlage& a) {
    if (!a.anschaffung.isValid())
        return QStringLiteral("Das Anschaffungsdatum fehlt.");
    if (a.kosten <= Currency())
        return QStringLiteral("Die Anschaffungskosten müssen größer als 0 sein.");
    if (a.nutzungsdauer < 1 || a.nutzungsdauer > 100)
        return QStringLiteral("Die Nutzungsdauer muss zwischen 1 und 100 Jahren liegen.");
    if (a.abgang && *a.abgang < a.anschaffung)
        return QStringLiteral("Der Abgang kann nicht vor der Anschaffung liegen.");
    if (a.linearAb && a.degressivSatz <= 0)
        return QStringLiteral("Nur eine degressive Abschreibung kann auf linear wechseln.");
    if (a.linearAb && *a.linearAb <= a.anschaffung.year())
        return QStringLiteral("Der Wechsel auf linear ist frühestens im Jahr nach der "
                              "Anschaffung möglich.");
    return degressivVerboten(a);
}

Jahr rechnen(const Anlage& a, int jahr) {
    Jahr j;
    if (jahr < a.anschaffung.year() || (a.abgang && jahr > a.abgang->year()))
        return j;
    j.vorhanden = true;
    Currency buchwert = a.kosten;
    for (int y = a.anschaffung.year(); y <= jahr; ++y) {
        Currency afa;
        if (istGwg(a))
            afa = y == a.anschaffung.year() ? buchwert : Currency();
        else if (buchwert > Currency())
            afa = jahresAfa(a, y, buchwert);
        if (y == jahr) {
            j.buchwertBeginn = y == a.anschaffung.year() ? Currency() : buchwert;
            j.afa = afa;
        }
        buchwert = buchwert - afa;
    }
    if (a.abgang && jahr == a.abgang->year()) {
        j.abgang = buchwert;
        buchwert = Currency();
    }
    j.buchwertEnde = buchwert;
    return j;
}

} // namespace anlagen
