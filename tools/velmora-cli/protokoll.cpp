// protokoll, festschreiben and buchung storno: the change log, the lock of
// a filed period and the visible correction of a booking.
#include "bookings/storno.h"
#include "cli.h"
#include "data/aenderungsprotokoll.h"
#include "data/dates.h"
#include "data/dm_einaus.h"
#include "data/festschreibung.h"
#include "data/protokollliste.h"

namespace cli {

namespace {

void protokoll(Kontext& k, const QStringList& words) {
    const Args args(
        words, {QStringLiteral("--pruefen")},
        {QStringLiteral("--buchung"), QStringLiteral("--von"), QStringLiteral("--bis")});
    args.expectPositional(0);
    TDM_EinAus& dm = k.dm();
    if (args.flag(QStringLiteral("--pruefen"))) {
        const aenderungsprotokoll::Pruefung p = aenderungsprotokoll::pruefen(dm.db());
        if (!p.fehler.isEmpty())
            throw Refused(p.fehler);
        k.out(aenderungsprotokoll::meldungInOrdnung(p.eintraege));
        return;
    }
    Protokollliste::Filter filter;
    if (const auto v = args.value(QStringLiteral("--buchung")))
        filter.buchung = ganzzahl(*v, QStringLiteral("die Buchungs-ID"));
    if (const auto v = args.value(QStringLiteral("--von")))
        filter.von = datum(*v);
    if (const auto v = args.value(QStringLiteral("--bis")))
        filter.bis = datum(*v);
    Protokollliste liste(dm.db());
    liste.starten(dm.gibMandant(), dm.gibZeitraum(), filter);
    while (liste.canFetchMore())
        liste.fetchMore();
    k.out(Protokollliste::titel().join(QLatin1Char('\t')));
    for (int row = 0; row < liste.rowCount(); ++row)
        k.out(liste.zeile(row).join(QLatin1Char('\t')));
}

void festschreiben(Kontext& k, const QStringList& words) {
    const Args args(words, {}, {QStringLiteral("--monat")});
    args.expectPositional(0);
    const auto monat = args.value(QStringLiteral("--monat"));
    if (!monat)
        throw UsageError(QStringLiteral("Die Option --monat fehlt."));
    const int m = ganzzahl(*monat, QStringLiteral("den Monat"));
    if (m < 1 || m > 12)
        throw Refused(QStringLiteral("Der Monat muss zwischen 1 und 12 liegen."));
    TDM_EinAus& dm = k.dm();
    const QDate bis = dates::lastOfMonth(dm.gibJahr(), m);
    festschreibung::festschreiben(dm, dm.gibMandant(), dm.gibZeitraum(), bis);
    k.out(QStringLiteral("Festgeschrieben bis %1").arg(dates::format(bis)));
}

void buchungStorno(Kontext& k, const QStringList& words) {
    const Args args(words, {}, {QStringLiteral("--datum")});
    args.expectPositional(1);
    const int id = ganzzahl(args.at(0, "ID"), QStringLiteral("die Buchungs-ID"));
    const auto d = args.value(QStringLiteral("--datum"));
    TDM_EinAus& dm = k.dm();
    const auto neu = storno::stornieren(dm, id, dm.gibMandant(), d ? datum(*d) : k.clock().today());
    if (!neu)
        throw Refused(QStringLiteral("Die Buchung ist nicht mehr vorhanden."));
    k.out(QString::number(*neu));
}

} // namespace

void protokollBefehle(std::vector<Befehl>& out) {
    out.push_back({QStringLiteral("buchung storno"),
                   QStringLiteral("buchung storno ID [--datum TT.MM.JJJJ]"), buchungStorno});
    out.push_back({QStringLiteral("protokoll"),
                   QStringLiteral("protokoll [--pruefen] [--buchung ID] [--von TT.MM.JJJJ] "
                                  "[--bis TT.MM.JJJJ]"),
                   protokoll});
    out.push_back({QStringLiteral("festschreiben"), QStringLiteral("festschreiben --monat M"),
                   festschreiben});
}

} // namespace cli
