// bk ..., buchung ..., liste and summen: circles, bookings and the main
// window's lists and totals.
#include "bookings/belegeingaberegeln.h"
#include "bookings/buchungskreis.h"
#include "bookings/buchungspruefung.h"
#include "bookings/buchungsschreiber.h"
#include "bookings/steuerbuchungen.h"
#include "cli.h"
#include "data/buchung.h"
#include "data/buchungsliste.h"
#include "data/dates.h"
#include "data/db.h"
#include "data/dm_einaus.h"
#include "data/steuersatz.h"
#include "data/summen.h"
#include "data/texte.h"

#include <QSqlRecord>

namespace cli {

namespace {

// ---- booking circles ----

void bkListe(Kontext& k, const QStringList& words) {
    Args(words, {}, {}).expectPositional(0);
    TDM_EinAus& dm = k.dm();
    dm.BuchungskreiseFiltern(dm.gibMandant());
    zeilen(dm.ADO_BK(), [&](const QSqlRecord& r) {
        k.out(QStringLiteral("%1	%2	%3")
                  .arg(r.value("id").toInt())
                  .arg(r.value("BKName").toString(), r.value("BKKurz").toString()));
    });
}

// The edit field takes two characters of the short name, as in the dialog.
QString kurz(const QString& text) {
    return texte::ersteZeichen(text, 2);
}

void bkNeu(Kontext& k, const QStringList& words) {
    const Args args(words, {}, {});
    args.expectPositional(2);
    TDM_EinAus& dm = k.dm();
    k.out(QString::number(buchungskreise::anlegen(dm, dm.gibMandant(), args.at(0, "NAME"),
                                                  kurz(args.at(1, "KURZ")))));
}

int bkId(Kontext& k, const QString& text) {
    const int id = ganzzahl(text, QStringLiteral("die Buchungskreis-ID"));
    if (!buchungskreise::lesen(k.dm(), id, k.dm().gibMandant()))
        throw Refused(
            QStringLiteral("Den Buchungskreis %1 gibt es beim aktuellen Mandanten nicht.").arg(id));
    return id;
}

void bkAendern(Kontext& k, const QStringList& words) {
    const Args args(words, {}, {});
    args.expectPositional(3);
    const int id = bkId(k, args.at(0, "ID"));
    buchungskreise::aendern(k.dm(), id, k.dm().gibMandant(), args.at(1, "NAME"),
                            kurz(args.at(2, "KURZ")));
}

void bkLoeschen(Kontext& k, const QStringList& words) {
    const Args args(words, {}, {});
    args.expectPositional(1);
    const int id = bkId(k, args.at(0, "ID"));
    if (!buchungskreise::loeschen(k.dm(), id, k.dm().gibMandant()))
        throw Refused(buchungskreise::meldungInGebrauch());
}

// ---- bookings ----

const QStringList kSchalter{QStringLiteral("--einnahme"),
                            QStringLiteral("--ausgabe"),
                            QStringLiteral("--eu"),
                            QStringLiteral("--drittland"),
                            QStringLiteral("--kfz"),
                            QStringLiteral("--gebaeude"),
                            QStringLiteral("--reverse-charge"),
                            QStringLiteral("--bauleistung")};
const QStringList kWerte{QStringLiteral("--datum"), QStringLiteral("--betrag"),
                         QStringLiteral("--satz"),  QStringLiteral("--bk"),
                         QStringLiteral("--beleg"), QStringLiteral("--text"),
                         QStringLiteral("--kz")};

void pruefe(const QString& meldung) {
    if (!meldung.isEmpty())
        throw Refused(meldung);
}

template <class T> T wert(const Eingelesen<T>& e) {
    if (!e.ok())
        throw Refused(e.fehler);
    return *e.wert;
}

// Applies the given options to b with the dialog's rules and checks it as
// the dialog does on OK. Refuses with the dialog's message.
void eingabenAnwenden(Kontext& k, const Args& args, Buchung& b, bool neu) {
    TDM_EinAus& dm = k.dm();
    const QStringList& reihenfolge = args.flagOrder();
    if (!reihenfolge.isEmpty() || neu) {
        // the kind first (the last one given wins), then the flags in their order
        Belegeingaberegeln regeln;
        bool einnahme = neu ? true : b.IstEinnahme == buchungscode::Ja;
        for (const QString& s : reihenfolge) {
            if (s == QLatin1String("--einnahme"))
                einnahme = true;
            else if (s == QLatin1String("--ausgabe"))
                einnahme = false;
        }
        regeln.setzen(einnahme ? Belegeingaberegeln::Einnahme : Belegeingaberegeln::Ausgabe, true);
        for (const QString& s : reihenfolge) {
            const auto schalter =
                s == QLatin1String("--eu")               ? Belegeingaberegeln::EU
                : s == QLatin1String("--drittland")      ? Belegeingaberegeln::Drittland
                : s == QLatin1String("--kfz")            ? Belegeingaberegeln::KFZ
                : s == QLatin1String("--gebaeude")       ? Belegeingaberegeln::Gebaeude
                : s == QLatin1String("--reverse-charge") ? Belegeingaberegeln::ReverseCharge
                : s == QLatin1String("--bauleistung")    ? Belegeingaberegeln::Bauleistung
                                                         : Belegeingaberegeln::Einnahme;
            if (schalter == Belegeingaberegeln::Einnahme)
                continue;
            if (!regeln.setzen(schalter, true))
                throw Refused(QStringLiteral("Die Schalter --eu, --drittland, --reverse-charge, "
                                             "--bauleistung, --kfz und --gebaeude gibt es nur "
                                             "bei einer Ausgabe."));
        }
        regeln.uebernehmen(b);
        if (const auto satz = regeln.nimmSteuersatz())
            b.Steuersatz = *satz;
    }
    if (const auto v = args.value(QStringLiteral("--datum")))
        b.Buchungsdatum = datum(*v);
    if (const auto v = args.value(QStringLiteral("--betrag")))
        b.Betrag = wert(buchungspruefung::betrag(*v));
    if (const auto v = args.value(QStringLiteral("--satz")))
        b.Steuersatz = wert(buchungspruefung::steuersatz(*v));
    if (const auto v = args.value(QStringLiteral("--bk")))
        b.BK = ganzzahl(*v, QStringLiteral("den Buchungskreis"));
    if (const auto v = args.value(QStringLiteral("--beleg"))) {
        const auto nummer = buchungspruefung::belegnummer(*v);
        if (!nummer.ok())
            throw Refused(nummer.fehler);
        b.Belegnummer = nummer.wert;
    }
    if (const auto v = args.value(QStringLiteral("--text")))
        b.Text = *v;
    // a Kennzahl belongs to an income at 0 %; a change into anything else drops it
    if (const auto v = args.value(QStringLiteral("--kz")))
        b.SteuerfreiKZ = *v;
    else if (klassifiziere(b) != Buchungsart::Einnahme || steuersatz::zehntel(b.Steuersatz) != 0)
        b.SteuerfreiKZ.clear();

    pruefe(buchungspruefung::buchung(dm.db(), b, dm.gibJahr()));
}

void buchungNeu(Kontext& k, const QStringList& words) {
    const Args args(words, kSchalter, kWerte);
    args.expectPositional(0);
    for (const char* pflicht : {"--datum", "--betrag", "--satz", "--bk"}) {
        if (!args.value(QLatin1String(pflicht)))
            throw UsageError(QStringLiteral("Die Option %1 fehlt.").arg(QLatin1String(pflicht)));
    }
    TDM_EinAus& dm = k.dm();
    Buchung b;
    b.mandant = dm.gibMandant();
    b.Wirtschaftsjahr = dm.gibZeitraum();
    eingabenAnwenden(k, args, b, true);
    // without --beleg the number is taken inside the write, so that two
    // programs booking at once never get the same one
    const auto wahl = args.value(QStringLiteral("--beleg")) ? Belegnummernwahl::WieAngegeben
                                                            : Belegnummernwahl::Naechste;
    k.out(QString::number(Buchungsschreiber(dm).neueBuchungSpeichern(b, wahl)));
}

Buchung vorhandeneBuchung(Kontext& k, const QString& text) {
    const int id = ganzzahl(text, QStringLiteral("die Buchungs-ID"));
    const auto b = buchungstabelle::lesen(k.dm().db(), id, k.dm().gibMandant());
    if (!b)
        throw Refused(QStringLiteral("Die Buchung ist nicht mehr vorhanden."));
    return *b;
}

void buchungAendern(Kontext& k, const QStringList& words) {
    const Args args(words, kSchalter, kWerte);
    args.expectPositional(1);
    Buchung b = vorhandeneBuchung(k, args.at(0, "ID"));
    eingabenAnwenden(k, args, b, false);
    if (!Buchungsschreiber(k.dm()).buchungAendern(b))
        throw Refused(QStringLiteral("Die Buchung ist nicht mehr vorhanden."));
}

void buchungLoeschen(Kontext& k, const QStringList& words) {
    const Args args(words, {}, {});
    args.expectPositional(1);
    const Buchung b = vorhandeneBuchung(k, args.at(0, "ID"));
    Buchungsschreiber(k.dm()).buchungLoeschen(b.ID, b.mandant);
}

QString nummer(const std::optional<int>& n) {
    return n ? QString::number(*n) : QString();
}

void buchungZeigen(Kontext& k, const QStringList& words) {
    const Args args(words, {}, {});
    args.expectPositional(1);
    const Buchung b = vorhandeneBuchung(k, args.at(0, "ID"));
    const std::pair<const char*, QString> felder[] = {
        {"ID", QString::number(b.ID)},
        {"mandant", QString::number(b.mandant)},
        {"Wirtschaftsjahr", QString::number(b.Wirtschaftsjahr)},
        {"Buchungsdatum", dates::format(b.Buchungsdatum)},
        {"Belegnummer", nummer(b.Belegnummer)},
        {"Text", b.Text},
        {"Steuersatz", steuersatz::text(b.Steuersatz)},
        {"Betrag", b.Betrag.format()},
        {"BK", nummer(b.BK)},
        {"IstEinnahme", QString::number(b.IstEinnahme)},
        {"IstEU", QString::number(b.IstEU)},
        {"IstDrittland", QString::number(b.IstDrittland)},
        {"IstKFZ", QString::number(b.IstKFZ)},
        {"IstGebaeude", QString::number(b.IstGebaeude)},
    };
    for (const auto& [feld, text] : felder)
        k.out(QLatin1String(feld) + QLatin1Char('\t') + text);
    // only where set, so that the lines of every other booking stay as they were
    if (b.Steuerschuld)
        k.out(QStringLiteral("Steuerschuld\t") + nummer(b.Steuerschuld));
    if (!b.SteuerfreiKZ.isEmpty())
        k.out(QStringLiteral("SteuerfreiKZ\t") + b.SteuerfreiKZ);
    Sql q = k.dm().db().sql(
        QStringLiteral("select Konten_Nr, St_Betrag from t_kontenbewegungen "
                       "where Buchungen_id = :id and mandant = :mandant order by id"));
    q.bind("id", b.ID).bind("mandant", b.mandant).exec();
    while (q.next())
        k.out(QStringLiteral("%1\t%2")
                  .arg(q.value(0).toInt())
                  .arg(Currency::fromUnits(q.value(1).toLongLong()).format()));
}

// ---- the main window's lists and totals ----

void liste(Kontext& k, bool einnahme) {
    TDM_EinAus& dm = k.dm();
    Buchungsliste l(dm.db(), einnahme);
    l.starten(dm.gibZeitraum(), dm.gibMandant());
    while (l.canFetchMore())
        l.fetchMore();
    QStringList titel;
    for (const ListenSpalte& s : Buchungsliste::spalten(einnahme))
        titel << s.titel;
    k.out(titel.join(QLatin1Char('\t')));
    for (int row = 0; row < l.rowCount(); ++row)
        k.out(l.zeile(row).join(QLatin1Char('\t')));
}

void summen(Kontext& k, const QStringList& words) {
    Args(words, {}, {}).expectPositional(0);
    TDM_EinAus& dm = k.dm();
    const Summen s = SummenBerechnen(dm.db(), dm.gibZeitraum(), dm.gibMandant());
    k.out(QStringLiteral("Einnahmen\t") + s.Einnahmen.formatEuro());
    k.out(QStringLiteral("UST\t") + s.Ust.formatEuro());
    k.out(QStringLiteral("Ausgaben\t") + s.Ausgaben.formatEuro());
    k.out(QStringLiteral("VST\t") + s.Vst.formatEuro());
}

} // namespace

void buchungsBefehle(std::vector<Befehl>& out) {
    out.push_back({QStringLiteral("bk liste"), QStringLiteral("bk liste"), bkListe});
    out.push_back({QStringLiteral("bk neu"), QStringLiteral("bk neu NAME KURZ"), bkNeu});
    out.push_back(
        {QStringLiteral("bk aendern"), QStringLiteral("bk aendern ID NAME KURZ"), bkAendern});
    out.push_back({QStringLiteral("bk loeschen"), QStringLiteral("bk loeschen ID"), bkLoeschen});
    const QString optionen = QStringLiteral("--datum TT.MM.JJJJ --betrag B --satz R --bk ID "
                                            "[--einnahme|--ausgabe] [--eu] [--drittland] "
                                            "[--reverse-charge] [--bauleistung] "
                                            "[--kfz] [--gebaeude] [--beleg N] [--text T] "
                                            "[--kz 011|017|019|016|020|021|\"nicht steuerbar\"]");
    out.push_back(
        {QStringLiteral("buchung neu"), QStringLiteral("buchung neu ") + optionen, buchungNeu});
    out.push_back(
        {QStringLiteral("buchung aendern"),
         QStringLiteral(
             "buchung aendern ID [Optionen wie bei neu; Schalter setzen Art und Merkmale neu]"),
         buchungAendern});
    out.push_back({QStringLiteral("buchung loeschen"), QStringLiteral("buchung loeschen ID"),
                   buchungLoeschen});
    out.push_back(
        {QStringLiteral("buchung zeigen"), QStringLiteral("buchung zeigen ID"), buchungZeigen});
    out.push_back({QStringLiteral("liste ein"), QStringLiteral("liste ein"),
                   [](Kontext& k, const QStringList& w) {
                       Args(w, {}, {}).expectPositional(0);
                       liste(k, true);
                   }});
    out.push_back({QStringLiteral("liste aus"), QStringLiteral("liste aus"),
                   [](Kontext& k, const QStringList& w) {
                       Args(w, {}, {}).expectPositional(0);
                       liste(k, false);
                   }});
    out.push_back({QStringLiteral("summen"), QStringLiteral("summen"), summen});
}

} // namespace cli
