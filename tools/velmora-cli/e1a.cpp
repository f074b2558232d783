// bk e1a and bericht e1a: the Kennzahlen of the income-tax form.
#include "reports/e1a.h"
#include "cli.h"
#include "data/db.h"
#include "data/dm_einaus.h"
#include "jahresabschluss.h"
#include "reports/trep_jahresabschluss.h"

namespace cli {

namespace {

void zuordnen(Kontext& k, const QStringList& words) {
    const Args args(words, {QStringLiteral("--einnahme"), QStringLiteral("--ausgabe")},
                    {QStringLiteral("--text")});
    args.expectPositional(2);
    if (args.flag(QStringLiteral("--einnahme")) && args.flag(QStringLiteral("--ausgabe")))
        throw UsageError(QStringLiteral("Entweder --einnahme oder --ausgabe."));
    k.oeffnen();
    TDM_EinAus& dm = k.dm();
    const int bk = ganzzahl(args.at(0, "ID"), QStringLiteral("die Buchungskreis-ID"));
    const QString was = args.at(1, "KZ");
    e1a::Zuordnung z;
    if (was == QLatin1String("anlage"))
        z.art = e1a::Zuordnung::Art::Anlage;
    else if (was != QLatin1String("-")) {
        z.art = e1a::Zuordnung::Art::Kennzahl;
        z.kennzahl = ganzzahl(was, QStringLiteral("die Kennzahl"));
    }
    std::optional<bool> seite;
    if (args.flag(QStringLiteral("--einnahme")))
        seite = true;
    if (args.flag(QStringLiteral("--ausgabe")))
        seite = false;
    e1a::zuordnen(dm.db(), dm.gibMandant(), bk, z, seite, args.value(QStringLiteral("--text")));
}

void bericht(Kontext& k, const QStringList& words) {
    const Args args(words, {}, {QStringLiteral("--pdf")});
    args.expectPositional(0);
    k.oeffnen();
    TDM_EinAus& dm = k.dm();
    const auto s = e1a::rechnen(dm.db(), dm.gibMandant(), dm.gibZeitraum(), dm.gibJahr());
    tabelleAusgeben(k, args, QStringLiteral("Jahresabschluss (E 1a)"),
                    jahresabschluss::e1aSpalten(), jahresabschluss::e1aZeilen(s));
}

} // namespace

void e1aBefehle(std::vector<Befehl>& out) {
    out.push_back({QStringLiteral("bk e1a"),
                   QStringLiteral("bk e1a ID KZ|anlage|- [--einnahme|--ausgabe] [--text TEXT]"),
                   zuordnen});
    out.push_back(
        {QStringLiteral("bericht e1a"), QStringLiteral("bericht e1a [--pdf DATEI]"), bericht});
}

} // namespace cli
