#include "reports/uva.h"

#include "data/buchung.h"
#include "data/dates.h"
#include "data/db.h"
#include "data/dm_einaus.h"
#include "data/steuerfreikz.h"
#include "data/steuernummer.h"
#include "data/steuersatz.h"
#include "platform/atomicfile.h"
#include "reports/auswertung.h"
#include "reports/zeitraum.h"

#include <QDateTime>
#include <QDir>
#include <QXmlStreamWriter>
#include <cstdlib>
#include <functional>
#include <stdexcept>

namespace uva {

namespace {

struct KzSatz {
    Kz kz;
    int zehntel; // the rate in tenths of a percent
};
// Taxed revenues and taxed acquisitions by rate; 124 and 125 (4,9 %) exist
// from the return for 07/2026.
constexpr KzSatz kErloese[] = {{22, 200}, {124, 49}, {29, 100}, {6, 130}, {37, 190}};
constexpr KzSatz kErwerbe[] = {{72, 200}, {125, 49}, {73, 100}, {8, 130}, {88, 190}};
const QDate kAb4_9(2026, 7, 1);

template <size_t N>
std::optional<Kz> kzFuer(const KzSatz (&tabelle)[N], int zehntel, const QDate& von) {
    for (const KzSatz& t : tabelle)
        if (t.zehntel == zehntel && (zehntel != 49 || von >= kAb4_9))
            return t.kz;
    return std::nullopt;
}

// Schema order of the sections.
constexpr Kz kSteuerfreiReihe[] = {11, 17, 19, 16, 20};
constexpr Kz kVersteuertReihe[] = {22, 124, 29, 6, 37, 57, 48};
constexpr Kz kIgeReihe[] = {72, 125, 73, 8, 88};
constexpr Kz kVorsteuerReihe[] = {60, 61, 65, 66, 82};

// The tax FinanzOnline computes on a base: base × rate, to the cent with
// halves away from zero. units × tenths is the tax in thousandths of a unit,
// exact for every base in whole cents.
Currency steuer(Currency basis, int zehntel) {
    const std::int64_t n = basis.units() * zehntel; // 1 cent = 100'000
    const std::int64_t cent = (std::llabs(n) + 50'000) / 100'000;
    return Currency::fromUnits((n < 0 ? -cent : cent) * 100);
}

bool ja(const QString& text) {
    return !text.isEmpty();
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
    static constexpr Kz kFormular[] = {0,  21, 11, 17,  19, 16, 20, 22, 124, 29, 6,  37, 57,
                                       48, 70, 72, 125, 73, 8,  88, 60, 61,  65, 66, 82};
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
    case 124:
        return QStringLiteral("Bemessungsgrundlage 4,9 %");
    case 57:
        return QStringLiteral("Steuerschuld gemäß § 19 Abs. 1 zweiter Satz, 1c, 1e "
                              "(Reverse Charge)");
    case 48:
        return QStringLiteral("Steuerschuld gemäß § 19 Abs. 1a (Bauleistungen)");
    case 125:
        return QStringLiteral("Innergemeinschaftliche Erwerbe 4,9 %");
    case 66:
        return QStringLiteral("Vorsteuern betreffend die Steuerschuld gemäß § 19 Abs. 1 "
                              "zweiter Satz, 1c, 1e (Reverse Charge)");
    case 82:
        return QStringLiteral("Vorsteuern betreffend die Steuerschuld gemäß § 19 Abs. 1a "
                              "(Bauleistungen)");
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
        z += steuer(betrag(t.kz), t.zehntel);
    for (const KzSatz& t : kErwerbe)
        z += steuer(betrag(t.kz), t.zehntel);
    // 057 and 048 are tax amounts themselves
    z += betrag(57) + betrag(48);
    return z - betrag(60) - betrag(61) - betrag(65) - betrag(66) - betrag(82);
}

QString belegText(const Beleg& b) {
    return QStringLiteral("%1 Beleg %2 %3")
        .arg(b.Datum.toString(QStringLiteral("dd.MM.yyyy")),
             b.Belegnummer ? QString::number(*b.Belegnummer) : QStringLiteral("ohne Nummer"),
             b.Betrag.format());
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
        e.SteuerDE = s->SteuerDE;
    }
    e.Posten = verprobung::periodenPosten(dm.db(), r);
    Sql q = dm.db().sql(QStringLiteral(
        "select Buchungsdatum, Belegnummer, Betrag, Steuersatz, IstEinnahme from T_Buchungen "
        "where mandant = :mandant and Wirtschaftsjahr = :zeitraum and Buchungsdatum between "
        ":von and :bis order by Buchungsdatum, Belegnummer, ID"));
    verprobung::parameterSetzen(q, r);
    q.exec();
    while (q.next()) {
        Beleg b;
        b.Datum = dates::fromSql(q.value(0).toString());
        if (!q.value(1).isNull())
            b.Belegnummer = q.value(1).toInt();
        b.Betrag = Currency::fromUnits(q.value(2).toLongLong());
        b.Steuersatz = steuersatz::ausZehntel(steuersatz::zehntel(q.value(3).toDouble()));
        b.Ausgabe = q.value(4).toInt() != 1;
        e.Belege.push_back(b);
    }
    return e;
}

namespace {

QStringList belegeMit(const Eingabe& ein, const std::function<bool(const Beleg&)>& trifft) {
    QStringList out;
    for (const Beleg& b : ein.Belege)
        if (trifft(b))
            out << belegText(b);
    return out;
}

} // namespace

// German input tax is no Austrian input tax, and 4,9 % did not exist before
// 07/2026: such a return would be wrong, so there is none.
QString saetzeUrteilen(const Eingabe& ein) {
    QStringList teile;
    if (!ein.SteuerDE) {
        const QStringList de = belegeMit(ein, [](const Beleg& b) {
            const int z = steuersatz::zehntel(b.Steuersatz);
            return b.Ausgabe && (z == 70 || z == 190);
        });
        if (!de.isEmpty())
            teile << QStringLiteral("Vorsteuer zu 7 % oder 19 % gibt es nur mit den deutschen "
                                    "Steuersätzen (Stammdaten):\r") +
                         de.join(QLatin1Char('\r'));
    }
    const QStringList frueh = belegeMit(ein, [](const Beleg& b) {
        return steuersatz::zehntel(b.Steuersatz) == 49 && b.Datum < kAb4_9;
    });
    if (!frueh.isEmpty())
        teile << QStringLiteral("Der Steuersatz 4,9 % gilt erst ab 01.07.2026:\r") +
                     frueh.join(QLatin1Char('\r'));
    if (teile.isEmpty())
        return QString();
    return teile.join(QLatin1Char('\r')) +
           QStringLiteral("\rBitte die Buchungen berichtigen; es wurde keine Datei erstellt.");
}

// 5 % (07/2020 to 12/2021) and 12 % (until 2015) may be an old invoice a
// cash-basis business pays late: a warning, not a refusal.
QStringList altesaetze(const Eingabe& ein) {
    const QStringList alt = belegeMit(ein, [](const Beleg& b) {
        const int z = steuersatz::zehntel(b.Steuersatz);
        if (!b.Ausgabe)
            return false;
        if (z == 50)
            return b.Datum < QDate(2020, 7, 1) || b.Datum > QDate(2021, 12, 31);
        return z == 120 && b.Datum >= QDate(2016, 1, 1);
    });
    if (alt.isEmpty())
        return {};
    return QStringList{QStringLiteral("Vorsteuer zu 5 % (nur 07/2020 bis 12/2021) oder 12 % "
                                      "(nur bis 2015), bitte prüfen, ob die Rechnung aus dieser "
                                      "Zeit stammt:")} +
           alt;
}

std::variant<Erklaerung, QString> erstellen(const Eingabe& ein) {
    if (!ein.Von.isValid() || ein.Von < QDate(2022, 1, 1))
        return meldungVor2022();

    // a letter is a typing error, never something to drop without a word
    if (!steuernummer::pruefen(ein.Steuernummer).isEmpty())
        return meldungSteuernummer(ein.Steuernummer);
    QString ziffern;
    for (const QChar c : ein.Steuernummer)
        if (c.isDigit() && c.unicode() < 128)
            ziffern += c;
    // the schema's bounds for a tax-office and tax number
    const int zahl = ziffern.toInt();
    if (ziffern.size() != 9 || zahl < 10000010 || zahl > 989999999)
        return meldungSteuernummer(ein.Steuernummer);

    if (const QString urteil = saetzeUrteilen(ein); !urteil.isEmpty())
        return urteil;

    // bases by rate (in tenths) from the shared selection, exact until they are rounded
    std::map<int, Currency> erloese, erwerbe;
    std::map<QString, Currency> steuerfrei; // income at 0 % by its Kennzahl
    Currency euVorsteuer, rcSteuer, rcVorsteuer, bauSteuer, bauVorsteuer;
    for (const verprobung::Posten& p : ein.Posten) {
        const bool rc = p.Steuerschuld == steuerschuld::ReverseCharge;
        const bool bau = p.Steuerschuld == steuerschuld::Bauleistung;
        if (verprobung::istErloeskonto(p)) {
            const int satz = steuersatz::zehntel(*p.Kontosatz);
            if (satz == 0)
                steuerfrei[ja(p.SteuerfreiKZ) ? p.SteuerfreiKZ : ein.SteuerfreiKZ] +=
                    p.Betrag - p.St_Betrag;
            else
                erloese[satz] += p.Betrag - p.St_Betrag;
        } else if (verprobung::istEUKonto(p)) {
            // the services' tax is owed without a base in the return
            (rc    ? rcSteuer
             : bau ? bauSteuer
                   : erwerbe[steuersatz::zehntel(p.Buchungssatz)]) +=
                rc || bau ? p.St_Betrag : p.Betrag;
        } else if (verprobung::istEUVorsteuerkonto(p)) {
            (rc ? rcVorsteuer : bau ? bauVorsteuer : euVorsteuer) += p.St_Betrag;
        }
    }

    QStringList ohneKz;
    for (const auto& [satz, basis] : erloese)
        if (!kzFuer(kErloese, satz, ein.Von) && aufCent(basis) != Currency())
            ohneKz << QStringLiteral("Erlöse zu %1 %: Bemessungsgrundlage %2")
                          .arg(steuersatz::text(steuersatz::ausZehntel(satz)))
                          .arg(basis.format());
    for (const auto& [satz, basis] : erwerbe)
        if (!kzFuer(kErwerbe, satz, ein.Von) && aufCent(basis) != Currency())
            ohneKz << QStringLiteral("Innergemeinschaftlicher Erwerb zu %1 %: "
                                     "Bemessungsgrundlage %2")
                          .arg(steuersatz::text(steuersatz::ausZehntel(satz)))
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
        kz[*kzFuer(kErloese, satz, ein.Von)] += b;
        kz000 += b;
    }
    for (const auto& [kennzahl, basis] : steuerfrei) {
        const Currency b = aufCent(basis);
        if (b == Currency())
            continue;
        if (!steuerfreikz::gueltig(kennzahl))
            return meldungKeineSteuerfreiKZ(b);
        if (kennzahl == steuerfreikz::nichtSteuerbar())
            continue;
        kz[kennzahl.toInt()] += b;
        kz000 += b;
    }
    Currency kz070;
    bool erwerb = false;
    for (const auto& [satz, basis] : erwerbe) {
        const Currency b = aufCent(basis);
        kz[*kzFuer(kErwerbe, satz, ein.Von)] += b;
        kz070 += b;
        erwerb = erwerb || b != Currency();
    }
    // 060 is the input tax without the amounts 061, 065, 066 and 082 report:
    // the 2021 deductions never enter s.Vorsteuer
    kz[60] = aufCent(s.Vorsteuer);
    kz[61] = aufCent(s.Einfuhr);
    kz[65] = aufCent(euVorsteuer);
    kz[57] = aufCent(rcSteuer);
    kz[66] = aufCent(rcVorsteuer);
    kz[48] = aufCent(bauSteuer);
    kz[82] = aufCent(bauVorsteuer);

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
    e.Warnungen = altesaetze(ein);
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
