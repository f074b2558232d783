#include "bookings/buchungspruefung.h"

#include "bookings/steuerbuchungen.h"
#include "data/buchung.h"
#include "data/dates.h"
#include "data/db.h"
#include "data/steuerfreikz.h"
#include "data/steuersatz.h"
#include "data/texte.h"

namespace buchungspruefung {

QString betragFehlt() {
    return QStringLiteral("Sie müssen im Feld Betrag einen Wert angeben!");
}

QString buchungskreisFehlt() {
    return QStringLiteral(
        "Sie müssen einen Buchungskreis angeben!\n\rBei Bedarf können sie einen neuen anlegen!");
}

QString belegnummerVergeben(int nummer) {
    return QStringLiteral("Die Belegnummer %1 ist in diesem Wirtschaftsjahr bereits vergeben.")
        .arg(nummer);
}

QString frageBelegnummerVergeben(int nummer) {
    return belegnummerVergeben(nummer) + QStringLiteral(" Trotzdem speichern?");
}

QString betragsgrenzen(Currency betrag) {
    if (betrag > HoechstBetrag || betrag < -HoechstBetrag)
        return QStringLiteral("Der Betrag darf höchstens 99.999.999,99 betragen.");
    if (betrag.units() % 100 != 0)
        return QStringLiteral("Der Betrag darf höchstens zwei Nachkommastellen haben.");
    return QString();
}

Eingelesen<Currency> betrag(const QString& text) {
    if (text.trimmed().isEmpty())
        return {std::nullopt, betragFehlt()};
    QString fehler;
    const auto wert = Currency::parse(text, &fehler);
    if (!wert)
        return {std::nullopt, fehler};
    if (const QString grenze = betragsgrenzen(*wert); !grenze.isEmpty())
        return {std::nullopt, grenze};
    return {wert, QString()};
}

Eingelesen<int> belegnummer(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty())
        return {};
    bool ok = false;
    const int wert = t.toInt(&ok); // refuses letters and anything beyond 32 bits
    if (!ok)
        return {std::nullopt, QStringLiteral("'%1' ist keine gültige Belegnummer.").arg(text)};
    return {wert, QString()};
}

Eingelesen<double> steuersatz(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty())
        return {std::nullopt, QStringLiteral("Sie müssen im Feld Steuersatz einen Wert angeben!")};
    const auto wert = steuersatz::lesen(t);
    if (!wert)
        return {std::nullopt, QStringLiteral("'%1' ist kein gültiger Steuersatz.").arg(text)};
    return {wert, QString()};
}

bool steuersatzErlaubt(double satz, bool steuerDE) {
    const int z = steuersatz::zehntel(satz);
    for (const int erlaubt : {0, 49, 50, 100, 120, 130, 200})
        if (z == erlaubt)
            return true;
    return steuerDE && (z == 70 || z == 190);
}

QString steuerschuld(const Buchung& b) {
    if (b.Steuerschuld) {
        if (*b.Steuerschuld != steuerschuld::ReverseCharge &&
            *b.Steuerschuld != steuerschuld::Bauleistung)
            return QStringLiteral("Unbekannte Art der Steuerschuld: %1.").arg(*b.Steuerschuld);
        if (klassifiziere(b) != Buchungsart::IgErwerb)
            return QStringLiteral("Reverse Charge und Bauleistungen gibt es nur bei Ausgaben "
                                  "ohne Einfuhr aus Drittland.");
    }
    if (!b.SteuerfreiKZ.isEmpty()) {
        if (!steuerfreikz::gueltig(b.SteuerfreiKZ))
            return QStringLiteral("'%1' ist keine Kennzahl für steuerfreie Umsätze.")
                .arg(b.SteuerfreiKZ);
        if (klassifiziere(b) != Buchungsart::Einnahme || steuersatz::zehntel(b.Steuersatz) != 0)
            return QStringLiteral("Eine Kennzahl für steuerfreie Umsätze gibt es nur bei "
                                  "Einnahmen zu 0 %.");
    }
    return QString();
}

bool Nachschlag::buchungskreisVorhanden(int bk, int mandant) {
    const auto schluessel = std::make_pair(bk, mandant);
    if (const auto it = m_kreise.constFind(schluessel); it != m_kreise.constEnd())
        return *it;
    Sql q = m_db.wiederverwendet(
        QStringLiteral("select count(*) from T_BKreis where id = :bk and mandant = :mandant"));
    q.bind("bk", bk).bind("mandant", mandant).exec();
    const bool da = q.next() && q.value(0).toInt() > 0;
    m_kreise.insert(schluessel, da);
    return da;
}

bool Nachschlag::steuerDE(int mandant) {
    if (const auto it = m_steuerDE.constFind(mandant); it != m_steuerDE.constEnd())
        return *it;
    Sql de = m_db.wiederverwendet(
        QStringLiteral("select SteuerDE from t_stammdaten where mandant = :mandant"));
    de.bind("mandant", mandant).exec();
    const bool ja = de.next() && !de.value(0).isNull() && de.value(0).toInt() != 0;
    m_steuerDE.insert(mandant, ja);
    return ja;
}

bool Nachschlag::steuerkontoVorhanden(int konto, int zehntel) {
    const auto schluessel = std::make_pair(konto, zehntel);
    if (const auto it = m_konten.constFind(schluessel); it != m_konten.constEnd())
        return *it;
    Sql q = m_db.wiederverwendet(
        QStringLiteral("select count(*) from T_Kontenplan "
                       "where Kontonummer = :konto and round(Steuersatz * 10) = :zehntel"));
    q.bind("konto", konto).bind("zehntel", zehntel).exec();
    const bool da = q.next() && q.value(0).toInt() > 0;
    m_konten.insert(schluessel, da);
    return da;
}

QString steuersatzPruefen(Datenbank& db, Buchungsart art, double satz, int mandant) {
    Nachschlag n(db);
    return steuersatzPruefen(n, art, satz, mandant);
}

QString steuersatzPruefen(Nachschlag& n, Buchungsart art, double satz, int mandant) {
    const QString meldung = QStringLiteral("Für den Steuersatz %1 % gibt es kein Steuerkonto.")
                                .arg(steuersatz::text(satz));
    if (!steuersatzErlaubt(satz, n.steuerDE(mandant)))
        return meldung;
    const auto konto = steuerkontoFuer(art, satz);
    if (!konto || n.steuerkontoVorhanden(*konto, steuersatz::zehntel(satz)))
        return QString();
    return meldung;
}

bool belegnummerVorhanden(Datenbank& db, int mandant, int zeitraum, int nummer, int ausserID) {
    Sql q = db.sql(QStringLiteral("select 1 from T_Buchungen where mandant = :mandant and "
                                  "Wirtschaftsjahr = :zeitraum and Belegnummer = :nummer and "
                                  "ID <> :id limit 1"));
    q.bind("mandant", mandant)
        .bind("zeitraum", zeitraum)
        .bind("nummer", nummer)
        .bind("id", ausserID)
        .exec();
    return q.next();
}

bool buchungskreisVorhanden(Datenbank& db, int bk, int mandant) {
    return Nachschlag(db).buchungskreisVorhanden(bk, mandant);
}

namespace {

QString buchungskreis(Nachschlag& n, std::optional<int> bk, int mandant) {
    if (!bk)
        return buchungskreisFehlt();
    if (!n.buchungskreisVorhanden(*bk, mandant))
        return QStringLiteral("Den Buchungskreis %1 gibt es beim aktuellen Mandanten nicht.")
            .arg(*bk);
    return QString();
}

} // namespace

QString buchungskreis(Datenbank& db, std::optional<int> bk, int mandant) {
    Nachschlag n(db);
    return buchungskreis(n, bk, mandant);
}

QString belegdatum(const QDate& datum, int jahr) {
    if (!datum.isValid())
        return QStringLiteral("Sie müssen ein Belegdatum angeben!");
    if (datum.year() != jahr)
        return QStringLiteral("Das Belegdatum %1 liegt nicht im Wirtschaftsjahr %2.")
            .arg(dates::format(datum))
            .arg(jahr);
    return QString();
}

QString text(const QString& text) {
    if (texte::zeichenAnzahl(text) > TextLaenge)
        return QStringLiteral("Der Buchungstext darf höchstens %1 Zeichen lang sein.")
            .arg(TextLaenge);
    return QString();
}

QString buchung(Datenbank& db, const Buchung& b, int jahr) {
    Nachschlag n(db);
    return buchung(n, b, jahr);
}

QString buchung(Nachschlag& n, const Buchung& b, int jahr) {
    for (const QString& fehler :
         {buchungskreis(n, b.BK, b.mandant), betragsgrenzen(b.Betrag),
          steuersatzPruefen(n, klassifiziere(b), b.Steuersatz, b.mandant),
          belegdatum(b.Buchungsdatum, jahr),
          steuersatz::datumPruefen(b.Steuersatz, b.Buchungsdatum), steuerschuld(b), text(b.Text)}) {
        if (!fehler.isEmpty())
            return fehler;
    }
    return QString();
}

} // namespace buchungspruefung
