// The reports, laid out by the same definitions as the preview.
#include "cli.h"
#include "data/dm_einaus.h"
#include "reportengine/pagepainter.h"
#include "reports/auswertung.h"
#include "reports/einaus.h"
#include "reports/journal.h"
#include "reports/plusminus.h"
#include "reports/trep_einaus.h"
#include "reports/trep_einausdetail.h"
#include "reports/trep_journal.h"
#include "reports/trep_monate.h"
#include "reports/trep_plusminus.h"
#include "reports/trep_verprobung.h"
#include "reports/verprobung.h"

namespace cli {

namespace {

// The report's lines on stdout, or with --pdf the PDF file.
void ausgeben(Kontext& k, const Args& args, const reportengine::PageModel& seiten,
              const QString& titel) {
    if (const auto pdf = args.value(QStringLiteral("--pdf"))) {
        if (const auto fehler = reportengine::writePdf(seiten, k.datei(*pdf), titel))
            throw Refused(*fehler);
        return;
    }
    for (const QString& zeile : reportengine::textLines(seiten))
        k.out(zeile);
}

// --bk ID: a circle of the current client; none for all circles.
int kreisAus(Kontext& k, const Args& args) {
    const auto text = args.value(QStringLiteral("--bk"));
    if (!text)
        return 0;
    bool ok = false;
    const int kreis = text->toInt(&ok);
    if (!ok)
        throw UsageError(QStringLiteral("'%1' ist keine Buchungskreis-Nummer.").arg(*text));
    if (kreis <= 0 || !auswertung::kreisVorhanden(k.dm(), kreis))
        throw Refused(auswertung::meldungKreisFehlt());
    return kreis;
}

// --zeitraum N where the whole year is the default.
int zeitraumOderJahr(const Args& args) {
    return args.value(QStringLiteral("--zeitraum")) ? zeitraumCode(args) : letzterZeitraumCode;
}

void journalBericht(Kontext& k, const QStringList& words) {
    const Args args(words, {}, {QStringLiteral("--zeitraum"), QStringLiteral("--pdf")});
    args.expectPositional(0);
    const int code = zeitraumCode(args);
    k.oeffnen();
    T_RepDaten daten;
    journal::datenSetzen(k.dm(), daten, code);
    TRep_Journal bericht(daten);
    ausgeben(k, args, journal::erzeugen(k.dm(), bericht, daten),
             QStringLiteral("Buchungsjournal ") + daten.ZeitraumText);
}

void bkreisBericht(Kontext& k, const QStringList& words) {
    const Args args(
        words, {}, {QStringLiteral("--bk"), QStringLiteral("--zeitraum"), QStringLiteral("--pdf")});
    args.expectPositional(0);
    const int code = zeitraumOderJahr(args);
    k.oeffnen();
    const int kreis = kreisAus(k, args);
    T_RepDaten daten;
    TRep_EinAus bericht(daten);
    const auto seiten = einaus::auswertungErzeugen(k.dm(), bericht, daten, kreis, code);
    ausgeben(k, args, seiten,
             QStringLiteral("Einnahmen - Ausgaben Rechnung ") + daten.ZeitraumText);
}

void detailsBericht(Kontext& k, const QStringList& words) {
    const Args args(
        words, {}, {QStringLiteral("--bk"), QStringLiteral("--zeitraum"), QStringLiteral("--pdf")});
    args.expectPositional(0);
    const int code = zeitraumOderJahr(args);
    k.oeffnen();
    const int kreis = kreisAus(k, args);
    T_RepDaten daten;
    einaus::detailDatenSetzen(k.dm(), daten, code);
    TRep_EinAusDetail bericht(k.dm().db(), daten);
    bericht.setKreis(kreis);
    ausgeben(k, args, einaus::detailsErzeugen(k.dm(), bericht, daten),
             QStringLiteral("Buchungskreis Details ") + daten.ZeitraumText);
}

void plusminusBericht(Kontext& k, const QStringList& words) {
    const Args args(words, {}, {QStringLiteral("--zeitraum"), QStringLiteral("--pdf")});
    args.expectPositional(0);
    const int code = zeitraumOderJahr(args);
    k.oeffnen();
    T_RepDaten daten;
    TRep_PlusMinus bericht(daten);
    const auto seiten = plusminus::erzeugen(k.dm(), bericht, daten, code);
    ausgeben(k, args, seiten, QStringLiteral("Plus - Minus Rechnung ") + daten.ZeitraumText);
}

void monateBericht(Kontext& k, const QStringList& words) {
    const Args args(words, {}, {QStringLiteral("--pdf")});
    args.expectPositional(0);
    k.oeffnen();
    T_RepDaten daten;
    TRep_Monate bericht(daten);
    const auto seiten = monate::erzeugen(k.dm(), bericht, daten);
    ausgeben(k, args, seiten, QStringLiteral("Monatsübersicht ") + daten.ZeitraumText);
}

void verprobung(Kontext& k, const QStringList& words) {
    const Args args(words, {}, {QStringLiteral("--zeitraum"), QStringLiteral("--pdf")});
    args.expectPositional(0);
    const int code = zeitraumCode(args);
    k.oeffnen();
    T_RepDaten daten;
    TRep_Verprobung bericht(k.dm().db(), daten);
    const auto seiten = verprobung::erzeugen(k.dm(), bericht, daten, code);
    if (!seiten)
        throw Refused(verprobung::meldungKeineEinnahmen());
    if (const auto pdf = args.value(QStringLiteral("--pdf"))) {
        if (const auto fehler = reportengine::writePdf(*seiten, k.datei(*pdf),
                                                       QStringLiteral("Umsatzsteuerverprobung ") +
                                                           daten.ZeitraumText))
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
    out.push_back({QStringLiteral("bericht journal"),
                   QStringLiteral("bericht journal --zeitraum N [--pdf DATEI]"), journalBericht});
    out.push_back({QStringLiteral("bericht bkreis"),
                   QStringLiteral("bericht bkreis [--bk ID] [--zeitraum N] [--pdf DATEI]"),
                   bkreisBericht});
    out.push_back({QStringLiteral("bericht details"),
                   QStringLiteral("bericht details [--bk ID] [--zeitraum N] [--pdf DATEI]"),
                   detailsBericht});
    out.push_back({QStringLiteral("bericht plusminus"),
                   QStringLiteral("bericht plusminus [--zeitraum N] [--pdf DATEI]"),
                   plusminusBericht});
    out.push_back({QStringLiteral("bericht monate"), QStringLiteral("bericht monate [--pdf DATEI]"),
                   monateBericht});
}

} // namespace cli
