// bank ...: statement preview and import, CSV profiles, proposal rules.
#include "bank/bankimport.h"
#include "bank/bankprofile.h"
#include "bank/bankregeln.h"
#include "bank/kontoauszugdatei.h"
#include "bookings/buchungspruefung.h"
#include "cli.h"
#include "data/dates.h"
#include "data/db.h"
#include "data/dm_einaus.h"
#include "data/steuersatz.h"

namespace cli {

namespace {

// The statement lines of FILE, read with --profil for a CSV file.
std::vector<Vorschauzeile> vorschau(Kontext& k, const Args& args) {
    args.expectPositional(1);
    TDM_EinAus& dm = k.dm();
    const auto profilName = args.value(QStringLiteral("--profil"));
    std::optional<CsvProfil> profil;
    if (profilName) {
        profil = bankprofile::lesen(dm.db(), *profilName);
        if (!profil)
            throw Refused(QStringLiteral("Ein Profil „%1“ gibt es nicht.").arg(*profilName));
    }
    try {
        const Auszug a = kontoauszugdatei::lesen(args.at(0, "DATEI"), profil);
        return importvorschau::erstellen(dm.db(), dm.gibMandant(), dm.gibZeitraum(), a);
    } catch (const KontoauszugFehler& f) {
        throw Refused(f.text());
    }
}

void bankVorschau(Kontext& k, const QStringList& words) {
    const auto zeilen = vorschau(k, Args(words, {}, {QStringLiteral("--profil")}));
    k.out(QStringLiteral("Zeile\tDatum\tBetrag\tGegenpartei\tText\tStatus\tVorschlag"));
    for (const Vorschauzeile& v : zeilen)
        k.out(QStringList{QString::number(v.zeile.zeile), dates::format(v.zeile.buchungsdatum),
                          v.zeile.betrag.format(), v.zeile.gegenpartei, v.zeile.text,
                          statusText(v.status),
                          v.vorschlag ? vorschlag::beschreibung(*v.vorschlag) : QStringLiteral("-")}
                  .join(QLatin1Char('\t')));
}

void bankImport(Kontext& k, const QStringList& words) {
    const auto zeilen = vorschau(k, Args(words, {}, {QStringLiteral("--profil")}));
    TDM_EinAus& dm = k.dm();
    const Importergebnis e = bankimport::buchen(dm, dm.gibMandant(), dm.gibZeitraum(), zeilen);
    // one line per statement line, in the file's order
    std::map<int, QString> ausgabe;
    for (const auto& [zeile, id] : e.gebucht)
        ausgabe[zeile] = QStringLiteral("gebucht\t%1\t%2").arg(zeile).arg(id);
    for (const auto& [zeile, grund] : e.offen)
        ausgabe[zeile] = QStringLiteral("offen\t%1\t%2").arg(zeile).arg(grund);
    for (const Vorschauzeile& v : zeilen)
        if (!ausgabe.contains(v.zeile.zeile))
            ausgabe[v.zeile.zeile] = QStringLiteral("offen\t%1\t%2")
                                         .arg(v.zeile.zeile)
                                         .arg(statusText(Zeilenstatus::Doppelt));
    for (const auto& [_, zeile] : ausgabe)
        k.out(zeile);
}

int spalte(const Args& args, const char* name) {
    const auto v = args.value(QLatin1String(name));
    return v ? ganzzahl(*v, QStringLiteral("die Spalte %1").arg(QLatin1String(name))) : 0;
}

void profilNeu(Kontext& k, const QStringList& words) {
    const Args args(
        words, {},
        {QStringLiteral("--trenner"), QStringLiteral("--kodierung"), QStringLiteral("--kopfzeilen"),
         QStringLiteral("--datum"), QStringLiteral("--datumsformat"), QStringLiteral("--betrag"),
         QStringLiteral("--text"), QStringLiteral("--dezimal"), QStringLiteral("--gegenpartei"),
         QStringLiteral("--iban"), QStringLiteral("--referenz"), QStringLiteral("--waehrung"),
         QStringLiteral("--soll"), QStringLiteral("--haben")});
    args.expectPositional(1);
    CsvProfil p;
    p.name = args.at(0, "NAME");
    if (const auto t = args.value(QStringLiteral("--trenner"))) {
        const QString trenner = *t == QLatin1String("\\t") ? QStringLiteral("\t") : *t;
        if (trenner.size() != 1)
            throw UsageError(QStringLiteral("Das Trennzeichen ist ein einzelnes Zeichen."));
        p.trenner = trenner.front();
    }
    if (const auto v = args.value(QStringLiteral("--kodierung")))
        p.kodierung = v->toLower();
    if (const auto v = args.value(QStringLiteral("--datumsformat")))
        p.datumsformat = *v;
    if (const auto v = args.value(QStringLiteral("--dezimal"))) {
        if (*v != QLatin1String("komma") && *v != QLatin1String("punkt"))
            throw UsageError(QStringLiteral("--dezimal ist komma oder punkt."));
        p.dezimalkomma = *v == QLatin1String("komma");
    }
    p.kopfzeilen = spalte(args, "--kopfzeilen");
    p.datum = spalte(args, "--datum");
    p.betrag = spalte(args, "--betrag");
    p.soll = spalte(args, "--soll");
    p.haben = spalte(args, "--haben");
    p.text = spalte(args, "--text");
    p.gegenpartei = spalte(args, "--gegenpartei");
    p.iban = spalte(args, "--iban");
    p.referenz = spalte(args, "--referenz");
    p.waehrung = spalte(args, "--waehrung");
    bankprofile::anlegen(k.dm().db(), p);
}

void profilListe(Kontext& k, const QStringList& words) {
    Args(words, {}, {}).expectPositional(0);
    for (const CsvProfil& p : bankprofile::alle(k.dm().db())) {
        QString spalten = p.betrag ? QStringLiteral("Betrag %1").arg(p.betrag)
                                   : QStringLiteral("Soll %1, Haben %2").arg(p.soll).arg(p.haben);
        k.out(QStringList{
            p.name, p.trenner == QLatin1Char('\t') ? QStringLiteral("\\t") : QString(p.trenner),
            p.kodierung, QString::number(p.kopfzeilen),
            QStringLiteral("Datum %1 (%2)").arg(p.datum).arg(p.datumsformat), spalten,
            p.dezimalkomma ? QStringLiteral("komma") : QStringLiteral("punkt")}
                  .join(QLatin1Char('\t')));
    }
}

void regelNeu(Kontext& k, const QStringList& words) {
    const Args args(words,
                    {QStringLiteral("--ausgabe"), QStringLiteral("--einnahme"),
                     QStringLiteral("--eu"), QStringLiteral("--drittland"),
                     QStringLiteral("--reverse-charge"), QStringLiteral("--bauleistung"),
                     QStringLiteral("--kfz"), QStringLiteral("--gebaeude")},
                    {QStringLiteral("--enthaelt"), QStringLiteral("--iban"), QStringLiteral("--bk"),
                     QStringLiteral("--satz"), QStringLiteral("--text")});
    args.expectPositional(0);
    if (!args.value(QStringLiteral("--bk")))
        throw UsageError(QStringLiteral("Die Option --bk fehlt."));
    if (args.flag(QStringLiteral("--ausgabe")) && args.flag(QStringLiteral("--einnahme")))
        throw UsageError(QStringLiteral("--ausgabe und --einnahme schließen einander aus."));
    Bankregel r;
    r.enthaelt = args.value(QStringLiteral("--enthaelt")).value_or(QString());
    r.iban = args.value(QStringLiteral("--iban")).value_or(QString());
    r.bk = ganzzahl(*args.value(QStringLiteral("--bk")), QStringLiteral("den Buchungskreis"));
    if (const auto v = args.value(QStringLiteral("--satz"))) {
        const auto satz = buchungspruefung::steuersatz(*v);
        if (!satz.ok())
            throw Refused(satz.fehler);
        r.steuersatz = *satz.wert;
    }
    r.richtung = args.flag(QStringLiteral("--einnahme"))  ? Bankregel::Richtung::Einnahme
                 : args.flag(QStringLiteral("--ausgabe")) ? Bankregel::Richtung::Ausgabe
                                                          : Bankregel::Richtung::Beide;
    r.merkmale.eu = args.flag(QStringLiteral("--eu"));
    r.merkmale.drittland = args.flag(QStringLiteral("--drittland"));
    r.merkmale.reverseCharge = args.flag(QStringLiteral("--reverse-charge"));
    r.merkmale.bauleistung = args.flag(QStringLiteral("--bauleistung"));
    r.merkmale.kfz = args.flag(QStringLiteral("--kfz"));
    r.merkmale.gebaeude = args.flag(QStringLiteral("--gebaeude"));
    r.textvorlage = args.value(QStringLiteral("--text")).value_or(QString());
    TDM_EinAus& dm = k.dm();
    if (const QString f = bankregeln::pruefen(dm.db(), r, dm.gibMandant()); !f.isEmpty())
        throw Refused(f);
    k.out(QString::number(bankregeln::anlegen(dm.db(), dm.gibMandant(), r)));
}

void regelListe(Kontext& k, const QStringList& words) {
    Args(words, {}, {}).expectPositional(0);
    TDM_EinAus& dm = k.dm();
    for (const Bankregel& r : bankregeln::lesen(dm.db(), dm.gibMandant())) {
        QStringList was{QStringLiteral("BK %1").arg(r.bk),
                        QStringLiteral("%1 %").arg(steuersatz::text(r.steuersatz))};
        if (r.richtung != Bankregel::Richtung::Beide)
            was << (r.richtung == Bankregel::Richtung::Einnahme ? QStringLiteral("Einnahme")
                                                                : QStringLiteral("Ausgabe"));
        was << vorschlag::merkmalNamen(r.merkmale);
        k.out(QStringList{QString::number(r.id),
                          r.iban.isEmpty() ? QStringLiteral("enthält „%1“").arg(r.enthaelt)
                                           : QStringLiteral("IBAN %1").arg(r.iban),
                          was.join(QStringLiteral(", ")), r.textvorlage}
                  .join(QLatin1Char('\t')));
    }
}

void regelLoeschen(Kontext& k, const QStringList& words) {
    const Args args(words, {}, {});
    args.expectPositional(1);
    const int id = ganzzahl(args.at(0, "ID"), QStringLiteral("die Regel-ID"));
    if (!bankregeln::loeschen(k.dm().db(), id, k.dm().gibMandant()))
        throw Refused(
            QStringLiteral("Die Regel %1 gibt es beim aktuellen Mandanten nicht.").arg(id));
}

} // namespace

void bankBefehle(std::vector<Befehl>& out) {
    out.push_back({QStringLiteral("bank vorschau"),
                   QStringLiteral("bank vorschau DATEI [--profil NAME]"), bankVorschau});
    out.push_back({QStringLiteral("bank import"),
                   QStringLiteral("bank import DATEI [--profil NAME]"), bankImport});
    out.push_back(
        {QStringLiteral("bank profil neu"),
         QStringLiteral("bank profil neu NAME --trenner Z --kodierung windows-1252|utf-8 "
                        "--kopfzeilen N --datum N --datumsformat dd.MM.yyyy --betrag N --text N "
                        "[--dezimal komma|punkt] [--gegenpartei N] [--iban N] [--referenz N] "
                        "[--waehrung N] [--soll N --haben N]"),
         profilNeu});
    out.push_back(
        {QStringLiteral("bank profil liste"), QStringLiteral("bank profil liste"), profilListe});
    out.push_back(
        {QStringLiteral("bank regel neu"),
         QStringLiteral("bank regel neu --enthaelt TEXT | --iban IBAN --bk ID [--satz R] "
                        "[--ausgabe|--einnahme] [--eu|--drittland|--reverse-charge|--bauleistung] "
                        "[--kfz] [--gebaeude] [--text VORLAGE]"),
         regelNeu});
    out.push_back(
        {QStringLiteral("bank regel liste"), QStringLiteral("bank regel liste"), regelListe});
    out.push_back({QStringLiteral("bank regel loeschen"), QStringLiteral("bank regel loeschen ID"),
                   regelLoeschen});
}

} // namespace cli
