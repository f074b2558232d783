// anlage ... and bericht anlagen: the asset register.
#include "cli.h"
#include "data/db.h"
#include "data/dm_einaus.h"
#include "jahresabschluss.h"
#include "reports/anlagenverzeichnis.h"
#include "reports/trep_jahresabschluss.h"

namespace cli {

namespace {

using anlagenverzeichnis::Eintrag;

const QStringList kWerte = {QStringLiteral("--bezeichnung"), QStringLiteral("--datum"),
                            QStringLiteral("--kosten"),      QStringLiteral("--nutzungsdauer"),
                            QStringLiteral("--degressiv"),   QStringLiteral("--art"),
                            QStringLiteral("--lieferant"),   QStringLiteral("--buchung"),
                            QStringLiteral("--linear-ab")};

Currency betrag(const QString& text) {
    QString fehler;
    const auto b = Currency::parse(text, &fehler);
    if (!b)
        throw Refused(fehler);
    return *b;
}

anlagen::Art art(const QString& text) {
    static const std::map<QString, anlagen::Art> arten = {
        {QStringLiteral("sonstig"), anlagen::Art::Sonstig},
        {QStringLiteral("gebaeude"), anlagen::Art::Gebaeude},
        {QStringLiteral("firmenwert"), anlagen::Art::Firmenwert},
        {QStringLiteral("pkw"), anlagen::Art::Pkw},
        {QStringLiteral("pkw-emissionsfrei"), anlagen::Art::PkwEmissionsfrei}};
    const auto it = arten.find(text);
    if (it == arten.end())
        throw UsageError(QStringLiteral("'%1' ist keine Art (sonstig, gebaeude, firmenwert, pkw, "
                                        "pkw-emissionsfrei).")
                             .arg(text));
    return it->second;
}

// The options given, over what the asset had.
void uebernehmen(Kontext& k, const Args& args, Eintrag& e) {
    TDM_EinAus& dm = k.dm();
    if (const auto v = args.value(QStringLiteral("--bezeichnung")))
        e.bezeichnung = *v;
    if (const auto v = args.value(QStringLiteral("--datum")))
        e.anlage.anschaffung = datum(*v);
    if (const auto v = args.value(QStringLiteral("--buchung"))) {
        e.buchungsid = ganzzahl(*v, QStringLiteral("die Buchung"));
        // the booking's net is the proposed cost
        e.anlage.kosten =
            anlagenverzeichnis::buchungsNetto(dm.db(), dm.gibMandant(), *e.buchungsid);
    }
    if (const auto v = args.value(QStringLiteral("--kosten")))
        e.anlage.kosten = betrag(*v);
    if (const auto v = args.value(QStringLiteral("--nutzungsdauer")))
        e.anlage.nutzungsdauer = ganzzahl(*v, QStringLiteral("die Nutzungsdauer"));
    if (const auto v = args.value(QStringLiteral("--degressiv")))
        e.anlage.degressivSatz = ganzzahl(*v, QStringLiteral("den Satz"));
    if (const auto v = args.value(QStringLiteral("--art")))
        e.anlage.art = art(*v);
    if (args.flag(QStringLiteral("--gebraucht")))
        e.anlage.gebraucht = true;
    if (const auto v = args.value(QStringLiteral("--lieferant")))
        e.lieferant = *v;
    if (const auto v = args.value(QStringLiteral("--linear-ab")))
        e.anlage.linearAb = ganzzahl(*v, QStringLiteral("das Jahr"));
}

void neu(Kontext& k, const QStringList& words) {
    const Args args(words, {QStringLiteral("--gebraucht")}, kWerte);
    args.expectPositional(0);
    if (!args.value(QStringLiteral("--bezeichnung")) || !args.value(QStringLiteral("--datum")) ||
        !args.value(QStringLiteral("--nutzungsdauer")))
        throw UsageError(QStringLiteral("--bezeichnung, --datum und --nutzungsdauer fehlen."));
    if (!args.value(QStringLiteral("--kosten")) && !args.value(QStringLiteral("--buchung")))
        throw UsageError(QStringLiteral("Die Kosten fehlen (--kosten oder --buchung)."));
    k.oeffnen();
    Eintrag e;
    uebernehmen(k, args, e);
    k.out(QString::number(anlagenverzeichnis::anlegen(k.dm().db(), k.dm().gibMandant(), e)));
}

int anlageId(const Args& args) {
    return ganzzahl(args.at(0, "ID"), QStringLiteral("die Anlagen-ID"));
}

void aendern(Kontext& k, const QStringList& words) {
    const Args args(words, {QStringLiteral("--gebraucht")}, kWerte);
    args.expectPositional(1);
    k.oeffnen();
    TDM_EinAus& dm = k.dm();
    Eintrag e = anlagenverzeichnis::lesen(dm.db(), dm.gibMandant(), anlageId(args));
    uebernehmen(k, args, e);
    anlagenverzeichnis::aendern(dm.db(), dm.gibMandant(), e);
}

void abgang(Kontext& k, const QStringList& words) {
    const Args args(words, {}, {QStringLiteral("--datum"), QStringLiteral("--erloes")});
    args.expectPositional(1);
    const auto tag = args.value(QStringLiteral("--datum"));
    if (!tag)
        throw UsageError(QStringLiteral("Das Datum des Abgangs fehlt (--datum)."));
    k.oeffnen();
    TDM_EinAus& dm = k.dm();
    Eintrag e = anlagenverzeichnis::lesen(dm.db(), dm.gibMandant(), anlageId(args));
    e.anlage.abgang = datum(*tag);
    e.erloes.reset();
    if (const auto v = args.value(QStringLiteral("--erloes")))
        e.erloes = betrag(*v);
    anlagenverzeichnis::aendern(dm.db(), dm.gibMandant(), e);
}

void loeschen(Kontext& k, const QStringList& words) {
    const Args args(words, {}, {});
    args.expectPositional(1);
    k.oeffnen();
    anlagenverzeichnis::loeschen(k.dm().db(), k.dm().gibMandant(), anlageId(args));
}

QString methode(const anlagen::Anlage& a) {
    if (a.degressivSatz <= 0)
        return QStringLiteral("linear");
    QString m = QStringLiteral("degressiv %1 %").arg(a.degressivSatz);
    if (a.linearAb)
        m += QStringLiteral(", linear ab %1").arg(*a.linearAb);
    return m;
}

void liste(Kontext& k, const QStringList& words) {
    Args(words, {}, {}).expectPositional(0);
    k.oeffnen();
    for (const Eintrag& e : anlagenverzeichnis::alle(k.dm().db(), k.dm().gibMandant()))
        k.out(QStringLiteral("%1\t%2\t%3\t%4\t%5\t%6")
                  .arg(e.id)
                  .arg(e.bezeichnung, e.anlage.anschaffung.toString(QStringLiteral("dd.MM.yyyy")),
                       e.anlage.kosten.format())
                  .arg(e.anlage.nutzungsdauer)
                  .arg(methode(e.anlage)));
}

void bericht(Kontext& k, const QStringList& words) {
    const Args args(words, {}, {QStringLiteral("--pdf")});
    args.expectPositional(0);
    k.oeffnen();
    TDM_EinAus& dm = k.dm();
    const auto v = anlagenverzeichnis::jahr(dm.db(), dm.gibMandant(), dm.gibJahr());
    tabelleAusgeben(k, args, QStringLiteral("Anlagenverzeichnis"),
                    jahresabschluss::anlagenSpalten(), jahresabschluss::anlagenZeilen(v));
}

} // namespace

void anlagenBefehle(std::vector<Befehl>& out) {
    const QString optionen =
        QStringLiteral("[--kosten BETRAG] [--degressiv SATZ] "
                       "[--art sonstig|gebaeude|firmenwert|pkw|pkw-emissionsfrei] [--gebraucht] "
                       "[--lieferant TEXT] [--buchung ID]");
    out.push_back({QStringLiteral("anlage neu"),
                   QStringLiteral("anlage neu --bezeichnung TEXT --datum TT.MM.JJJJ "
                                  "--nutzungsdauer N ") +
                       optionen,
                   neu});
    out.push_back({QStringLiteral("anlage liste"), QStringLiteral("anlage liste"), liste});
    out.push_back({QStringLiteral("anlage aendern"),
                   QStringLiteral("anlage aendern ID [--bezeichnung TEXT] [--datum TT.MM.JJJJ] "
                                  "[--nutzungsdauer N] ") +
                       optionen + QStringLiteral(" [--linear-ab JAHR]"),
                   aendern});
    out.push_back({QStringLiteral("anlage abgang"),
                   QStringLiteral("anlage abgang ID --datum TT.MM.JJJJ [--erloes BETRAG]"),
                   abgang});
    out.push_back(
        {QStringLiteral("anlage loeschen"), QStringLiteral("anlage loeschen ID"), loeschen});
    out.push_back({QStringLiteral("bericht anlagen"),
                   QStringLiteral("bericht anlagen [--pdf DATEI]"), bericht});
}

} // namespace cli
