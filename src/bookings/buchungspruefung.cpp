#include "bookings/buchungspruefung.h"

#include "bookings/steuerbuchungen.h"
#include "data/buchung.h"
#include "data/dates.h"
#include "data/db.h"

namespace buchungspruefung {

QString betragFehlt() {
    return QStringLiteral("Sie müssen im Feld Betrag einen Wert angeben!");
}

QString buchungskreisFehlt() {
    return QStringLiteral(
        "Sie müssen einen Buchungskreis angeben!\n\rBei Bedarf können sie einen neuen anlegen!");
}

Eingelesen<Currency> betrag(const QString& text) {
    if (text.trimmed().isEmpty())
        return {std::nullopt, betragFehlt()};
    QString fehler;
    const auto wert = Currency::parse(text, &fehler);
    if (!wert)
        return {std::nullopt, fehler};
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

Eingelesen<int> steuersatz(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty())
        return {std::nullopt, QStringLiteral("Sie müssen im Feld Steuersatz einen Wert angeben!")};
    bool ok = false;
    const short wert = t.toShort(&ok); // the column is a small integer
    if (!ok)
        return {std::nullopt, QStringLiteral("'%1' ist kein gültiger Steuersatz.").arg(text)};
    return {static_cast<int>(wert), QString()};
}

QString steuerkonto(Datenbank& db, Buchungsart art, int satz) {
    const auto konto = steuerkontoFuer(art, satz);
    if (!konto)
        return QString();
    // 1021 and 2021 belong to intra-community acquisitions, not to a rate of 21
    bool vorhanden = false;
    if (*konto != 1021 && *konto != 2021) {
        Sql q = db.sql(QStringLiteral("select count(*) from T_Kontenplan "
                                      "where Kontonummer = :konto and Steuersatz = :satz"));
        q.bind("konto", *konto).bind("satz", satz).exec();
        vorhanden = q.next() && q.value(0).toInt() > 0;
    }
    if (vorhanden)
        return QString();
    return QStringLiteral("Für den Steuersatz %1 % gibt es kein Steuerkonto.").arg(satz);
}

bool buchungskreisVorhanden(Datenbank& db, int bk, int mandant) {
    Sql q = db.sql(
        QStringLiteral("select count(*) from T_BKreis where id = :bk and mandant = :mandant"));
    q.bind("bk", bk).bind("mandant", mandant).exec();
    return q.next() && q.value(0).toInt() > 0;
}

QString buchungskreis(Datenbank& db, std::optional<int> bk, int mandant) {
    if (!bk)
        return buchungskreisFehlt();
    if (!buchungskreisVorhanden(db, *bk, mandant))
        return QStringLiteral("Den Buchungskreis %1 gibt es beim aktuellen Mandanten nicht.")
            .arg(*bk);
    return QString();
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
    if (text.size() > TextLaenge)
        return QStringLiteral("Der Buchungstext darf höchstens %1 Zeichen lang sein.")
            .arg(TextLaenge);
    return QString();
}

QString buchung(Datenbank& db, const Buchung& b, int jahr) {
    for (const QString& fehler :
         {buchungskreis(db, b.BK, b.mandant), steuerkonto(db, klassifiziere(b), b.Steuersatz),
          belegdatum(b.Buchungsdatum, jahr), text(b.Text)}) {
        if (!fehler.isEmpty())
            return fehler;
    }
    return QString();
}

} // namespace buchungspruefung
