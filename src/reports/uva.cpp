#include "reports/uva.h"

#include "data/dm_einaus.h"
#include "data/steuerfreikz.h"
#include "platform/atomicfile.h"
#include "reports/auswertung.h"
#include "reports/zeitraum.h"

#include <QDateTime>
#include <QDir>
#include <QXmlStreamWriter>
#include <cstdlib>
#include <stdexcept>

namespace uva {

namespace {

struct KzSatz {
    Kz kz;
    int satz;
};
// Taxed revenues and taxed acquisitions by rate.
constexpr KzSatz kErloese[] = {{22, 20}, {29, 10}, {6, 13}, {37, 19}};
constexpr KzSatz kErwerbe[] = {{72, 20}, {73, 10}, {8, 13}, {88, 19}};

std::optional<Kz> kzFuer(const KzSatz (&tabelle)[4], int satz) {
    for (const KzSatz& t : tabelle)
        if (t.satz == satz)
            return t.kz;
    return std::nullopt;
}

// Schema order of the sections.
constexpr Kz kSteuerfreiReihe[] = {11, 17, 19, 16, 20};
constexpr Kz kVersteuertReihe[] = {22, 29, 6, 37};
constexpr Kz kIgeReihe[] = {72, 73, 8, 88};
constexpr Kz kVorsteuerReihe[] = {60, 61, 65};

Currency steuer(Currency basis, int satz) {
    // a base in whole cents times a whole percentage is exact in ten-thousandths
    return aufCent(Currency::fromUnits(basis.units() * satz / 100));
}

} // namespace

Currency aufCent(Currency c) {
    const std::int64_t u = c.units();
    const std::int64_t rest = u % 100;
    std::int64_t cent = u - rest;
    if (rest >= 50)
        cent += 100;
    else if (rest <= -50)
        cent -= 100;
    return Currency::fromUnits(cent);
}

QString xmlBetrag(Currency c) {
    const std::int64_t cent = aufCent(c).units() / 100;
    const std::int64_t a = std::llabs(cent);
    return QStringLiteral("%1%2.%3")
        .arg(cent < 0 ? QStringLiteral("-") : QString())
        .arg(a / 100)
        .arg(a % 100, 2, 10, QLatin1Char('0'));
}

std::vector<Kz> reihenfolge(const Erklaerung& e) {
    static constexpr Kz kFormular[] = {0,  21, 11, 17, 19, 16, 20, 22, 29, 6,
                                       37, 70, 72, 73, 8,  88, 60, 61, 65};
    std::vector<Kz> out;
    for (Kz kz : kFormular)
        if (e.hat(kz))
            out.push_back(kz);
    return out;
}

QString kzName(Kz kz) {
    return QStringLiteral("%1").arg(kz, 3, 10, QLatin1Char('0'));
}

QString kzText(Kz kz) {
    switch (kz) {
    case 0:
        return QStringLiteral("Gesamtbetrag der Bemessungsgrundlagen");
    case 11:
        return QStringLiteral("Steuerfrei: Ausfuhrlieferungen");
    case 16:
        return QStringLiteral("Steuerfrei: Kleinunternehmer");
    case 17:
        return QStringLiteral("Steuerfrei: Innergemeinschaftliche Lieferungen");
    case 19:
        return QStringLiteral("Steuerfrei: Grundstücksumsätze");
    case 20:
        return QStringLiteral("Steuerfrei: Übrige steuerfreie Umsätze");
    case 21:
        return QStringLiteral("Reverse Charge: Steuerschuld geht über");
    case 22:
        return QStringLiteral("Bemessungsgrundlage 20 %");
    case 29:
        return QStringLiteral("Bemessungsgrundlage 10 %");
    case 6:
        return QStringLiteral("Bemessungsgrundlage 13 %");
    case 37:
        return QStringLiteral("Bemessungsgrundlage 19 % (Jungholz, Mittelberg)");
    case 70:
        return QStringLiteral("Innergemeinschaftliche Erwerbe gesamt");
    case 72:
        return QStringLiteral("Innergemeinschaftliche Erwerbe 20 %");
    case 73:
        return QStringLiteral("Innergemeinschaftliche Erwerbe 10 %");
    case 8:
        return QStringLiteral("Innergemeinschaftliche Erwerbe 13 %");
    case 88:
        return QStringLiteral("Innergemeinschaftliche Erwerbe 19 %");
    case 60:
        return QStringLiteral("Vorsteuern");
    case 61:
        return QStringLiteral("Einfuhrumsatzsteuer");
    case 65:
        return QStringLiteral("Vorsteuern aus innergemeinschaftlichen Erwerben");
    case 95:
        return QStringLiteral("Vorauszahlung / Überschuss");
    default:
        return QString();
    }
}

Currency Erklaerung::betrag(Kz kz) const {
    const auto it = Betraege.find(kz);
    return it == Betraege.end() ? Currency() : it->second;
}

Currency Erklaerung::kz095() const {
    Currency z;
    for (const KzSatz& t : kErloese)
        z += steuer(betrag(t.kz), t.satz);
    for (const KzSatz& t : kErwerbe)
        z += steuer(betrag(t.kz), t.satz);
    return z - betrag(60) - betrag(61) - betrag(65);
}

QString kz095Text(Currency kz095) {
    return kz095 > Currency() ? QStringLiteral("Vorauszahlung") : QStringLiteral("Überschuss");
}

QString schemaDatei(const QDate& von) {
    return von >= QDate(2026, 7, 1)
               ? QStringLiteral("BMF_ERKLAERUNGS_UEBERMITTLUNG_U30_07_2026.xsd")
               : QStringLiteral("BMF_ERKLAERUNGS_UEBERMITTLUNG_U30_01_2022.xsd");
}

QString dateiname(const Erklaerung& e) {
    return QStringLiteral("U30_%1_%2.xml")
        .arg(e.Von.toString(QStringLiteral("yyyy-MM")), e.Bis.toString(QStringLiteral("yyyy-MM")));
}

QString meldungVor2022() {
    return QStringLiteral("Für Zeiträume vor Jänner 2022 kann keine UVA-Datei erstellt werden.");
}

QString meldungSteuernummer(const QString& steuernummer) {
    return QStringLiteral("Die Steuernummer \"%1\" in den Stammdaten ergibt keine gültige "
                          "9-stellige Finanzamts- und Steuernummer.\rBitte in den Stammdaten "
                          "korrigieren; es wurde keine Datei erstellt.")
        .arg(steuernummer);
}

QString meldungKeineSteuerfreiKZ(Currency basis) {
    return QStringLiteral("Der Zeitraum hat Erlöse zu 0 % (Bemessungsgrundlage %1).\rBitte in "
                          "den Stammdaten wählen, unter welcher Kennzahl sie gemeldet werden; "
                          "es wurde keine Datei erstellt.")
        .arg(basis.format());
}

QString meldungKeinZeitraum() {
    return QStringLiteral("Die UVA gibt es nur für einen Monat oder ein Quartal.");
}

int vorgabeCode(const QDate& heute, int jahr) {
    if (heute.year() > jahr)
        return 12;
    if (heute.year() < jahr || heute.month() == 1)
        return 1;
    return heute.month() - 1;
}

Eingabe eingabeLesen(TDM_EinAus& dm, int code) {
    if (code > letzterUvaCode)
        throw std::invalid_argument("period code out of range");
    T_RepDaten r;
    auswertung::zeitraumSetzen(dm, r, code);
    Eingabe e;
    e.Von = r.Von;
    e.Bis = r.Bis;
    e.ZeitraumText = r.ZeitraumText;
    if (const auto s = dm.Table_Stammdaten()) {
        e.Steuernummer = s->Steuernummer;
        e.SteuerfreiKZ = s->SteuerfreiKZ;
    }
    e.Posten = verprobung::periodenPosten(dm.db(), r);
    return e;
}

std::variant<Erklaerung, QString> erstellen(const Eingabe& ein) {
    if (!ein.Von.isValid() || ein.Von < QDate(2022, 1, 1))
        return meldungVor2022();

    QString ziffern;
    for (const QChar c : ein.Steuernummer)
        if (c.isDigit() && c.unicode() < 128)
            ziffern += c;
    // the schema's bounds for a tax-office and tax number
    const int zahl = ziffern.toInt();
    if (ziffern.size() != 9 || zahl < 10000010 || zahl > 989999999)
        return meldungSteuernummer(ein.Steuernummer);

    // bases by rate from the shared selection, exact until they are rounded
    std::map<int, Currency> erloese, erwerbe;
    Currency euSteuer;
    for (const verprobung::Posten& p : ein.Posten) {
        if (verprobung::istErloeskonto(p)) {
            erloese[*p.Kontosatz] += p.Betrag - p.St_Betrag;
        } else if (verprobung::istEUKonto(p)) {
            erwerbe[p.Buchungssatz] += p.Betrag;
            euSteuer += p.St_Betrag;
        }
    }

    QStringList ohneKz;
    for (const auto& [satz, basis] : erloese)
        if (satz != 0 && !kzFuer(kErloese, satz) && aufCent(basis) != Currency())
            ohneKz << QStringLiteral("Erlöse zu %1 %: Bemessungsgrundlage %2")
                          .arg(satz)
                          .arg(basis.format());
    for (const auto& [satz, basis] : erwerbe)
        if (!kzFuer(kErwerbe, satz) && aufCent(basis) != Currency())
            ohneKz << QStringLiteral("Innergemeinschaftlicher Erwerb zu %1 %: "
                                     "Bemessungsgrundlage %2")
                          .arg(satz)
                          .arg(basis.format());
    if (!ohneKz.isEmpty())
        return QStringLiteral("Für diese Beträge hat die Umsatzsteuervoranmeldung keine "
                              "Kennzahl:\r%1\rBitte in FinanzOnline von Hand erfassen; es wurde "
                              "keine Datei erstellt.")
            .arg(ohneKz.join(QLatin1Char('\r')));

    Erklaerung e;
    e.Von = ein.Von;
    e.Bis = ein.Bis;
    e.Fastnr = ziffern;
    const verprobung::Summen s = verprobung::summen(ein.Posten);
    e.KFZ = s.KFZ;
    e.Gebaeude = s.Gebaeude;
    e.VerprobungSaldo = s.Saldo();

    std::map<Kz, Currency> kz;
    Currency kz000;
    for (const auto& [satz, basis] : erloese) {
        const Currency b = aufCent(basis);
        if (satz != 0) {
            kz[*kzFuer(kErloese, satz)] += b;
            kz000 += b;
            continue;
        }
        if (b == Currency())
            continue;
        if (!steuerfreikz::gueltig(ein.SteuerfreiKZ))
            return meldungKeineSteuerfreiKZ(b);
        if (ein.SteuerfreiKZ == steuerfreikz::nichtSteuerbar())
            continue;
        kz[ein.SteuerfreiKZ.toInt()] += b;
        kz000 += b;
    }
    Currency kz070;
    bool erwerb = false;
    for (const auto& [satz, basis] : erwerbe) {
        const Currency b = aufCent(basis);
        kz[*kzFuer(kErwerbe, satz)] += b;
        kz070 += b;
        erwerb = erwerb || b != Currency();
    }
    kz[60] = aufCent(s.Vorsteuer);
    kz[61] = aufCent(s.Einfuhr);
    kz[65] = aufCent(euSteuer);

    QStringList negativ;
    const auto pruefe = [&negativ](Kz k, Currency b) {
        if (b < Currency())
            negativ << QStringLiteral("KZ %1 %2: %3").arg(kzName(k), kzText(k), b.format());
    };
    pruefe(0, kz000);
    pruefe(70, kz070);
    for (const auto& [k, b] : kz)
        pruefe(k, b);
    if (!negativ.isEmpty())
        return QStringLiteral("Diese Kennzahlen wären negativ (Gutschriften übersteigen die "
                              "Umsätze des Zeitraums):\r%1\rEine negative Bemessungsgrundlage "
                              "nimmt FinanzOnline nicht an; es wurde keine Datei erstellt.")
            .arg(negativ.join(QLatin1Char('\r')));

    // the schema's minimum is 0.01: what is zero stays out, except KZ 000
    // and the acquisitions' total where their section stands
    e.Betraege[0] = kz000;
    if (erwerb)
        e.Betraege[70] = kz070;
    for (const auto& [k, b] : kz)
        if (b != Currency())
            e.Betraege[k] = b;
    return e;
}

QByteArray xml(const Erklaerung& e, const QDateTime& erstellt) {
    QByteArray out;
    QXmlStreamWriter w(&out);
    w.setAutoFormatting(true);
    w.setAutoFormattingIndent(2);
    w.writeStartDocument();
    const auto kzElement = [&](Kz kz) {
        if (!e.hat(kz))
            return;
        w.writeStartElement(QStringLiteral("KZ") + kzName(kz));
        w.writeAttribute(QStringLiteral("type"), QStringLiteral("kz"));
        w.writeCharacters(xmlBetrag(e.betrag(kz)));
        w.writeEndElement();
    };
    const auto abschnitt = [&](const QString& name, auto&& reihe) {
        bool da = false;
        for (Kz kz : reihe)
            da = da || e.hat(kz);
        if (!da)
            return;
        w.writeStartElement(name);
        for (Kz kz : reihe)
            kzElement(kz);
        w.writeEndElement();
    };
    const auto mitTyp = [&](const QString& name, const QString& typ, const QString& wert) {
        w.writeStartElement(name);
        w.writeAttribute(QStringLiteral("type"), typ);
        w.writeCharacters(wert);
        w.writeEndElement();
    };

    w.writeStartElement(QStringLiteral("ERKLAERUNGS_UEBERMITTLUNG"));
    w.writeStartElement(QStringLiteral("INFO_DATEN"));
    w.writeTextElement(QStringLiteral("ART_IDENTIFIKATIONSBEGRIFF"), QStringLiteral("FASTNR"));
    w.writeTextElement(QStringLiteral("IDENTIFIKATIONSBEGRIFF"), e.Fastnr);
    w.writeTextElement(QStringLiteral("PAKET_NR"), QStringLiteral("1"));
    mitTyp(QStringLiteral("DATUM_ERSTELLUNG"), QStringLiteral("datum"),
           erstellt.date().toString(QStringLiteral("yyyy-MM-dd")));
    mitTyp(QStringLiteral("UHRZEIT_ERSTELLUNG"), QStringLiteral("uhrzeit"),
           erstellt.time().toString(QStringLiteral("HH:mm:ss")));
    w.writeTextElement(QStringLiteral("ANZAHL_ERKLAERUNGEN"), QStringLiteral("1"));
    w.writeEndElement();

    w.writeStartElement(QStringLiteral("ERKLAERUNG"));
    w.writeAttribute(QStringLiteral("art"), QStringLiteral("U30"));
    w.writeTextElement(QStringLiteral("SATZNR"), QStringLiteral("1"));
    w.writeStartElement(QStringLiteral("ALLGEMEINE_DATEN"));
    w.writeTextElement(QStringLiteral("ANBRINGEN"), QStringLiteral("U30"));
    mitTyp(QStringLiteral("ZRVON"), QStringLiteral("jahrmonat"),
           e.Von.toString(QStringLiteral("yyyy-MM")));
    mitTyp(QStringLiteral("ZRBIS"), QStringLiteral("jahrmonat"),
           e.Bis.toString(QStringLiteral("yyyy-MM")));
    w.writeTextElement(QStringLiteral("FASTNR"), e.Fastnr);
    w.writeEndElement();

    w.writeStartElement(QStringLiteral("LIEFERUNGEN_LEISTUNGEN_EIGENVERBRAUCH"));
    kzElement(0);
    kzElement(21);
    abschnitt(QStringLiteral("STEUERFREI"), kSteuerfreiReihe);
    abschnitt(QStringLiteral("VERSTEUERT"), kVersteuertReihe);
    w.writeEndElement();

    if (e.hat(70)) {
        w.writeStartElement(QStringLiteral("INNERGEMEINSCHAFTLICHE_ERWERBE"));
        kzElement(70);
        abschnitt(QStringLiteral("VERSTEUERT_IGE"), kIgeReihe);
        w.writeEndElement();
    }
    abschnitt(QStringLiteral("VORSTEUER"), kVorsteuerReihe);

    w.writeEndElement(); // ERKLAERUNG
    w.writeEndElement(); // ERKLAERUNGS_UEBERMITTLUNG
    w.writeEndDocument();
    return out;
}

std::optional<QString> schreiben(const QByteArray& daten, const QString& datei) {
    QString fehler;
    if (!writeFileAtomically(datei, daten, &fehler))
        return fehler;
    return std::nullopt;
}

} // namespace uva
