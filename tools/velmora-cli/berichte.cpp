// The reports, laid out by the same definitions as the preview.
#include "cli.h"
#include "data/dm_einaus.h"
#include "reportengine/pagepainter.h"
#include "reports/trep_verprobung.h"
#include "reports/verprobung.h"
#include "reports/zeitraum.h"

namespace cli {

namespace {

void verprobung(Kontext& k, const QStringList& words) {
    const Args args(words, {}, {QStringLiteral("--zeitraum"), QStringLiteral("--pdf")});
    args.expectPositional(0);
    const auto text = args.value(QStringLiteral("--zeitraum"));
    if (!text)
        throw UsageError(QStringLiteral("Der Zeitraum fehlt (--zeitraum 1 bis 17)."));
    bool ok = false;
    const int code = text->toInt(&ok);
    if (!ok || code < ersterZeitraumCode || code > letzterZeitraumCode)
        throw UsageError(QStringLiteral("'%1' ist kein Zeitraum von 1 bis 17.").arg(*text));
    k.oeffnen();
    T_RepDaten daten;
    TRep_Verprobung bericht(k.dm().db(), daten);
    const auto seiten = verprobung::erzeugen(k.dm(), bericht, daten, code);
    if (!seiten)
        throw Refused(verprobung::meldungKeineEinnahmen());
    if (const auto pdf = args.value(QStringLiteral("--pdf"))) {
        if (const auto fehler = reportengine::writePdf(
                *seiten, *pdf, QStringLiteral("Umsatzsteuerverprobung ") + daten.ZeitraumText))
            throw Refused(*fehler);
        return;
    }
    for (const QString& zeile : reportengine::textLines(*seiten))
        k.out(zeile);
}

} // namespace

void berichtBefehle(std::vector<Befehl>& out) {
    out.push_back({QStringLiteral("bericht verprobung"),
                   QStringLiteral("bericht verprobung --zeitraum N [--pdf DATEI]"), verprobung});
}

} // namespace cli
