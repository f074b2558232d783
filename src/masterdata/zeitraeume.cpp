#include "masterdata/zeitraeume.h"

#include "data/dates.h"
#include "data/dm_einaus.h"

namespace zeitraeume {

QString meldungNurZahlen() {
    return QStringLiteral("Es dürfen nur Zahlen angegeben werden");
}

QString meldungJahrVorhanden(const QString& eingabe) {
    // the typed text goes in as it stands, "%" and all
    return QStringLiteral("Das Jahr %s existiert bereits").replace(QLatin1String("%s"), eingabe);
}

QString meldungAktivesJahr() {
    return QStringLiteral("Das aktive Wirtschaftsjahr kann nicht gelöscht werden. \r"
                          "Bitte zuerst mit Doppelklick das Wirtschaftsjahr wechseln. \r"
                          "Danach das zu löschende Wirtschaftsjahr markieren.");
}

QString frageLoeschen() {
    return QStringLiteral("Soll das markierte Wirtschaftsjahr \rwirklich gelöscht werden?");
}

QString frageFestgeschriebenLoeschen(const QDate& bis) {
    return QStringLiteral("Das markierte Wirtschaftsjahr ist bis %1 festgeschrieben.\rSeine "
                          "Buchungen bleiben im Änderungsprotokoll erhalten.\rSoll es trotzdem "
                          "gelöscht werden?")
        .arg(dates::format(bis));
}

QString frageEndgueltigLoeschen() {
    return QStringLiteral("Soll das markierte Wirtschaftsjahr \rwirklich endgültig gelöscht "
                          "werden?\rEs gibt kein Rückgängig!!!");
}

QString meldungGeloescht() {
    return QStringLiteral("Das Wirtschaftsjahrwurde vollständig gelöscht!?");
}

QString meldungUnbekannt() {
    return QStringLiteral("Dieses Wirtschaftsjahr gibt es beim Mandanten nicht.");
}

Angelegt anlegen(TDM_EinAus& dm, int mandant, const QString& eingabe) {
    const std::optional<int> jahr = TDM_EinAus::jahrAusText(eingabe);
    if (!jahr)
        return {std::nullopt, meldungNurZahlen()};
    try {
        // the check and the insert in one transaction: no second row can slip in between
        Transaktion t(dm.db());
        if (zeitraumVonJahr(dm, mandant, *jahr))
            return {std::nullopt, meldungJahrVorhanden(eingabe)};
        const int id = dm.zeitraumAnlegen(mandant, *jahr);
        t.commit();
        return {id, QString()};
    } catch (const DatenbankFehler& e) {
        // a failed write is said as such, never taken for a mistyped year
        return {std::nullopt, e.text()};
    }
}

std::optional<int> jahrVon(TDM_EinAus& dm, int zeitraum, int mandant) {
    Sql q = dm.db().sql(QStringLiteral("select * from t_zeitraum where id = :zeitraum "
                                       "and Mandant = :Mandant;"));
    q.bind("zeitraum", zeitraum).bind("Mandant", mandant).exec();
    if (!q.next() || q.value(QStringLiteral("jahr")).isNull())
        return std::nullopt;
    return q.value(QStringLiteral("jahr")).toInt();
}

std::optional<int> zeitraumVonJahr(TDM_EinAus& dm, int mandant, int jahr) {
    Sql q = dm.db().sql(QStringLiteral("select id from t_zeitraum where jahr = :jahr "
                                       "and mandant = :mandant;"));
    q.bind("jahr", jahr).bind("mandant", mandant).exec();
    if (!q.next())
        return std::nullopt;
    return q.value(0).toInt();
}

bool hatEinstellung(TDM_EinAus& dm, int mandant) {
    Sql q = dm.db().sql(QStringLiteral("select * from t_einstellungen where mandant = :mandant;"));
    q.bind("mandant", mandant).exec();
    return q.next();
}

std::optional<QString> setzen(TDM_EinAus& dm, int zeitraum, int mandant) {
    Transaktion t(dm.db());
    if (!jahrVon(dm, zeitraum, mandant))
        return meldungUnbekannt();
    if (hatEinstellung(dm, mandant)) {
        dm.db()
            .sql(QStringLiteral("update T_Einstellungen set Zeitraumnummer = :zeitraum "
                                "where mandant = :mandant"))
            .bind("zeitraum", zeitraum)
            .bind("mandant", mandant)
            .exec();
    } else {
        dm.einstellungAnlegen(mandant, zeitraum);
    }
    t.commit();
    return std::nullopt;
}

std::optional<QString> loeschenVerweigert(TDM_EinAus& dm, int zeitraum) {
    if (zeitraum == dm.gibZeitraum())
        return meldungAktivesJahr();
    if (!jahrVon(dm, zeitraum, dm.gibMandant()))
        return meldungUnbekannt();
    return std::nullopt;
}

void loeschen(TDM_EinAus& dm, int zeitraum) {
    dm.ZeitraumLoeschen(zeitraum);
}

} // namespace zeitraeume
