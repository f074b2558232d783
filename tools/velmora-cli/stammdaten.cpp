// mandant ..., stammdaten and jahr ...: clients, master data and fiscal years.
#include "cli.h"
#include "data/dates.h"
#include "data/db.h"
#include "data/dm_einaus.h"
#include "data/festschreibung.h"
#include "data/steuerfreikz.h"
#include "data/steuernummer.h"
#include "masterdata/mandanten.h"
#include "masterdata/zeitraeume.h"

#include <QSqlRecord>

namespace cli {

namespace {

int mandantId(const QString& text) {
    return ganzzahl(text, QStringLiteral("die Mandanten-ID"));
}

void mandantListe(Kontext& k, const QStringList& words) {
    Args(words, {}, {}).expectPositional(0);
    TDM_EinAus& dm = k.dm();
    dm.Table_MandantRequery();
    zeilen(dm.Table_Mandant(), [&](const QSqlRecord& r) {
        k.out(QStringLiteral("%1	%2	%3")
                  .arg(r.value("id").toInt())
                  .arg(r.value("Bezeichnung").toString())
                  .arg(r.value("Aktiv").toInt() == 1 ? 1 : 0));
    });
}

void mandantNeu(Kontext& k, const QStringList& words) {
    const Args args(words, {}, {});
    args.expectPositional(1);
    const auto r = mandanten::anlegen(k.dm(), args.at(0, "NAME"));
    if (!r.id)
        throw Refused(r.meldung);
    k.out(QString::number(*r.id));
}

void mandantUmbenennen(Kontext& k, const QStringList& words) {
    const Args args(words, {}, {});
    args.expectPositional(2);
    const int id = mandantId(args.at(0, "ID"));
    if (!mandanten::vorhanden(k.dm(), id))
        throw Refused(mandanten::meldungUnbekannt());
    if (const auto m = mandanten::umbenennen(k.dm(), id, args.at(1, "NAME")))
        throw Refused(*m);
}

void mandantLoeschen(Kontext& k, const QStringList& words) {
    const Args args(words, {}, {});
    args.expectPositional(1);
    const int id = mandantId(args.at(0, "ID"));
    if (const auto m = mandanten::loeschenVerweigert(k.dm(), id))
        throw Refused(*m);
    const QString name = k.dm().gibMandantName(id);
    const auto r = mandanten::loeschen(k.dm(), k.ini(), id);
    k.out(mandanten::meldungGeloescht(name)
              .replace(QLatin1Char('\r'), QLatin1Char(' '))
              .simplified());
    // the client is gone, but the file still holds its entries: status 1
    if (!r.einstellungenEntfernt)
        throw Refused(
            mandanten::meldungEinstellungenNichtGeschrieben(k.ini().path(), k.ini().lastError()));
}

void mandantWechseln(Kontext& k, const QStringList& words) {
    const Args args(words, {}, {QStringLiteral("--jahr")});
    args.expectPositional(1);
    TDM_EinAus& dm = k.dm();
    const int id = mandantId(args.at(0, "ID"));
    if (!mandanten::vorhanden(dm, id))
        throw Refused(mandanten::meldungUnbekannt());
    // a client without a fiscal year needs one given before anything changes
    std::optional<int> jahr;
    if (!zeitraeume::hatEinstellung(dm, id)) {
        const auto text = args.value(QStringLiteral("--jahr"));
        if (!text)
            throw Refused(
                QStringLiteral("Der Mandant hat noch kein Wirtschaftsjahr: --jahr JAHR angeben."));
        jahr = TDM_EinAus::jahrAusText(*text);
        if (!jahr)
            throw Refused(TDM_EinAus::meldungJahrVierstellig());
    }
    Transaktion t(dm.db());
    if (const auto m = mandanten::wechseln(dm, id))
        throw Refused(*m);
    if (jahr)
        dm.ersterZeitraumAnlegen(id, *jahr);
    t.commit();
}

struct Feld {
    const char* option;
    const char* name;
    QString Stammdaten::*text;
};

const Feld kFelder[] = {
    {"--name", "GanzerName", &Stammdaten::GanzerName},
    {"--adresse", "Adresse", &Stammdaten::Adresse},
    {"--plzort", "PlzOrt", &Stammdaten::PlzOrt},
    {"--telefon", "Telefon", &Stammdaten::Telefon},
    {"--referat", "Referat", &Stammdaten::Referat},
    {"--steuernummer", "Steuernummer", &Stammdaten::Steuernummer},
};

void stammdaten(Kontext& k, const QStringList& words) {
    QStringList optionen{QStringLiteral("--steuer-de"), QStringLiteral("--steuerfrei-kz")};
    for (const Feld& f : kFelder)
        optionen << QLatin1String(f.option);
    const Args args(words, {}, optionen);
    args.expectPositional(0);
    TDM_EinAus& dm = k.dm();
    Stammdaten daten = mandanten::stammdatenLesen(dm);
    bool geaendert = false;
    for (const Feld& f : kFelder) {
        if (const auto v = args.value(QLatin1String(f.option))) {
            daten.*f.text = *v;
            geaendert = true;
        }
    }
    if (const QString fehler = steuernummer::pruefen(daten.Steuernummer);
        !fehler.isEmpty() && args.value(QStringLiteral("--steuernummer")))
        throw Refused(fehler);
    if (const auto v = args.value(QStringLiteral("--steuer-de"))) {
        if (*v != QLatin1String("ja") && *v != QLatin1String("nein"))
            throw UsageError(QStringLiteral("--steuer-de nimmt ja oder nein."));
        daten.SteuerDE = *v == QLatin1String("ja");
        geaendert = true;
    }
    if (const auto v = args.value(QStringLiteral("--steuerfrei-kz"))) {
        // an empty value clears the choice
        if (!v->isEmpty() && !steuerfreikz::gueltig(*v))
            throw UsageError(QStringLiteral("--steuerfrei-kz nimmt 011, 017, 019, 016, 020, 021, "
                                            "\"nicht steuerbar\" oder \"\" (nicht gewählt)."));
        daten.SteuerfreiKZ = *v;
        geaendert = true;
    }
    if (geaendert) {
        mandanten::stammdatenSpeichern(dm, daten);
        return;
    }
    for (const Feld& f : kFelder)
        k.out(QLatin1String(f.name) + QLatin1Char('\t') + daten.*f.text);
    k.out(QStringLiteral("SteuerDE\t") +
          (daten.SteuerDE ? QStringLiteral("ja") : QStringLiteral("nein")));
    k.out(QStringLiteral("SteuerfreiKZ\t") + daten.SteuerfreiKZ);
}

int zeitraumDesJahres(Kontext& k, const QString& text) {
    const auto jahr = TDM_EinAus::jahrAusText(text);
    if (!jahr)
        throw Refused(zeitraeume::meldungNurZahlen());
    const auto z = zeitraeume::zeitraumVonJahr(k.dm(), k.dm().gibMandant(), *jahr);
    if (!z)
        throw Refused(zeitraeume::meldungUnbekannt());
    return *z;
}

void jahrListe(Kontext& k, const QStringList& words) {
    Args(words, {}, {}).expectPositional(0);
    TDM_EinAus& dm = k.dm();
    dm.setQueryZeitraumMandant(dm.gibMandant());
    zeilen(dm.QueryZeitraum(), [&](const QSqlRecord& r) {
        k.out(
            QStringLiteral("%1	%2").arg(r.value("id").toInt()).arg(r.value("Jahr").toInt()));
    });
}

void jahrNeu(Kontext& k, const QStringList& words) {
    const Args args(words, {}, {});
    args.expectPositional(1);
    const auto r = zeitraeume::anlegen(k.dm(), k.dm().gibMandant(), args.at(0, "JAHR"));
    if (!r.id)
        throw Refused(r.meldung);
    k.out(QString::number(*r.id));
}

void jahrWechseln(Kontext& k, const QStringList& words) {
    const Args args(words, {}, {});
    args.expectPositional(1);
    const int z = zeitraumDesJahres(k, args.at(0, "JAHR"));
    if (const auto m = zeitraeume::setzen(k.dm(), z, k.dm().gibMandant()))
        throw Refused(*m);
}

void jahrLoeschen(Kontext& k, const QStringList& words) {
    const Args args(words, {QStringLiteral("--festgeschrieben")}, {});
    args.expectPositional(1);
    const int z = zeitraumDesJahres(k, args.at(0, "JAHR"));
    if (const auto m = zeitraeume::loeschenVerweigert(k.dm(), z))
        throw Refused(*m);
    // the window's third question: a locked year goes only when asked for
    if (const auto bis = festschreibung::bis(k.dm().db(), k.dm().gibMandant(), z);
        bis && !args.flag(QStringLiteral("--festgeschrieben")))
        throw Refused(QStringLiteral("Das Wirtschaftsjahr ist bis %1 festgeschrieben. Mit "
                                     "--festgeschrieben wird es trotzdem gelöscht.")
                          .arg(dates::format(*bis)));
    zeitraeume::loeschen(k.dm(), z);
    k.out(zeitraeume::meldungGeloescht());
}

} // namespace

void stammdatenBefehle(std::vector<Befehl>& out) {
    out.push_back({QStringLiteral("mandant liste"), QStringLiteral("mandant liste"), mandantListe});
    out.push_back({QStringLiteral("mandant neu"), QStringLiteral("mandant neu NAME"), mandantNeu});
    out.push_back({QStringLiteral("mandant umbenennen"),
                   QStringLiteral("mandant umbenennen ID NAME"), mandantUmbenennen});
    out.push_back({QStringLiteral("mandant loeschen"), QStringLiteral("mandant loeschen ID"),
                   mandantLoeschen});
    out.push_back({QStringLiteral("mandant wechseln"),
                   QStringLiteral("mandant wechseln ID [--jahr JAHR]"), mandantWechseln});
    out.push_back(
        {QStringLiteral("stammdaten"),
         QStringLiteral(
             "stammdaten [--name T] [--adresse T] [--plzort T] [--telefon T] [--referat T] "
             "[--steuernummer T] [--steuer-de ja|nein] [--steuerfrei-kz KZ]"),
         stammdaten});
    out.push_back({QStringLiteral("jahr liste"), QStringLiteral("jahr liste"), jahrListe});
    out.push_back({QStringLiteral("jahr neu"), QStringLiteral("jahr neu JAHR"), jahrNeu});
    out.push_back(
        {QStringLiteral("jahr wechseln"), QStringLiteral("jahr wechseln JAHR"), jahrWechseln});
    out.push_back({QStringLiteral("jahr loeschen"),
                   QStringLiteral("jahr loeschen JAHR [--festgeschrieben]"), jahrLoeschen});
}

} // namespace cli
