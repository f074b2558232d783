#include "masterdata/mandanten.h"

#include "data/dm_einaus.h"
#include "data/texte.h"
#include "platform/settingsfile.h"

#include <QDir>

namespace mandanten {

QString meldungDoppelt() {
    return QStringLiteral("Es gibt bereits einen Mandanten mit dieser Bezeichnung!");
}

QString meldungLeererName() {
    return QStringLiteral("Geben sie bitte eine Mandantenbezeichnung an.");
}

QString meldungAktiverMandant() {
    return QStringLiteral("Der aktive Mandant kann nicht gelöscht werden. \r"
                          "Bitte zuerst mit Doppelklick den Mandanten wechseln. \r"
                          "Danach den zu löschenden Mandanten markieren.");
}

QString meldungUnbekannt() {
    return QStringLiteral("Diesen Mandanten gibt es nicht.");
}

QString frageLoeschen(const QString& name) {
    return QStringLiteral("Soll der Mandant: \r\r") + name + QStringLiteral("\r\r") +
           QStringLiteral("wirklich gelöscht werden?");
}

QString frageEndgueltigLoeschen(const QString& name) {
    return QStringLiteral("Soll der Mandant: \r\r") + name + QStringLiteral("\r\r") +
           QStringLiteral("wirklich endgültig gelöscht werden?") + QStringLiteral("\r") +
           QStringLiteral("Es gibt kein Rückgängig!!!");
}

QString meldungGeloescht(const QString& name) {
    return QStringLiteral("Der Mandant: \r") + name + QStringLiteral("\r") +
           QStringLiteral("wurde vollständig gelöscht!?");
}

QString meldungEinstellungenNichtGeschrieben(const QString& datei, const QString& grund) {
    QString text = QStringLiteral("Die gemerkten Buchungsvorgaben des Mandanten konnten nicht aus "
                                  "der Einstellungsdatei %1 entfernt werden.")
                       .arg(QDir::toNativeSeparators(datei));
    if (!grund.isEmpty())
        text += QLatin1Char('\r') + grund;
    return text;
}

bool bezeichnungVergeben(TDM_EinAus& dm, const QString& bezeichnung) {
    Sql q = dm.db().sql(QStringLiteral("select Bezeichnung from T_Mandant "
                                       "where Bezeichnung = :bezeichnung"));
    q.bind("bezeichnung", bezeichnung).exec();
    return q.next();
}

bool vorhanden(TDM_EinAus& dm, int mandant) {
    Sql q = dm.db().sql(QStringLiteral("select id from T_Mandant where id = :mandant"));
    q.bind("mandant", mandant).exec();
    return q.next();
}

Angelegt anlegen(TDM_EinAus& dm, const QString& eingabe) {
    const QString bezeichnung = texte::einzeilig(eingabe);
    if (bezeichnung.isEmpty())
        return {std::nullopt, meldungLeererName()};
    Transaktion t(dm.db());
    if (bezeichnungVergeben(dm, bezeichnung))
        return {std::nullopt, meldungDoppelt()};
    const int id = dm.mandantAnlegen(bezeichnung, false);
    dm.stammdatenAnlegen(id);
    t.commit();
    return {id, QString()};
}

std::optional<QString> umbenennen(TDM_EinAus& dm, int mandant, const QString& eingabe) {
    const QString bezeichnung = texte::einzeilig(eingabe);
    if (bezeichnung.isEmpty())
        return meldungLeererName();
    Transaktion t(dm.db());
    if (!vorhanden(dm, mandant))
        return meldungUnbekannt();
    if (bezeichnungVergeben(dm, bezeichnung))
        return meldungDoppelt();
    dm.db()
        .sql(QStringLiteral("update T_Mandant set Bezeichnung = :bezeichnung where id = :mandant"))
        .bind("bezeichnung", bezeichnung)
        .bind("mandant", mandant)
        .exec();
    t.commit();
    return std::nullopt;
}

std::optional<QString> loeschenVerweigert(TDM_EinAus& dm, int mandant) {
    if (mandant == dm.gibMandant())
        return meldungAktiverMandant();
    if (!vorhanden(dm, mandant))
        return meldungUnbekannt();
    return std::nullopt;
}

Geloescht loeschen(TDM_EinAus& dm, SettingsFile& ini, int mandant) {
    dm.MandantLoeschen(mandant);
    // the database part stands even if the file cannot be written
    Geloescht ergebnis;
    ergebnis.einstellungenEntfernt = ini.eraseSection(TDM_EinAus::buchenAbschnitt(mandant));
    return ergebnis;
}

std::optional<QString> wechseln(TDM_EinAus& dm, int mandant) {
    // activating an unknown identifier would leave no current client at all
    if (!vorhanden(dm, mandant))
        return meldungUnbekannt();
    dm.MandantAktivieren(mandant);
    dm.StammdatenFiltern(mandant);
    return std::nullopt;
}

bool brauchtErstesJahr(TDM_EinAus& dm) {
    if (!dm.mandantLesen() || dm.zeitraumLesen())
        return false;
    // the question leads to a write: an empty answer must not come from damage
    dm.aufSchaedenPruefen();
    return true;
}

Stammdaten stammdatenLesen(TDM_EinAus& dm) {
    if (std::optional<Stammdaten> row = dm.Table_Stammdaten())
        return *row;
    Stammdaten leer;
    leer.mandant = dm.stammdatenFilter();
    return leer;
}

void stammdatenSpeichern(TDM_EinAus& dm, const Stammdaten& daten) {
    if (daten.mandant == -1)
        throw DatenbankFehler(QStringLiteral("Es ist kein Mandant ausgewählt."));
    Transaktion t(dm.db());
    Sql q =
        dm.db().sql(QStringLiteral("select mandant from T_Stammdaten where mandant = :mandant"));
    q.bind("mandant", daten.mandant).exec();
    const bool gibtEs = q.next();
    q.query().finish();
    // an update of a missing row would drop the user's input without a word
    if (!gibtEs)
        dm.stammdatenAnlegen(daten.mandant);
    dm.stammdatenSpeichern(daten);
    t.commit();
}

} // namespace mandanten
