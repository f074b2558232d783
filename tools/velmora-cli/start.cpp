// init and status: the start-up sequence without windows.
#include "app/startup.h"
#include "cli.h"
#include "data/datenbankpruefung.h"
#include "data/dates.h"
#include "data/dm_einaus.h"
#include "data/festschreibung.h"
#include "platform/files.h"
#include "sicherung/aktualisierung.h"
#include "sicherung/datensicherung.h"
#include "sicherung/serversicherung.h"
#include "sicherung/sicherungsstatus.h"
#include "sicherung/umzug.h"
#include "sicherung/verbindung.h"
#include "sicherung/vorlageschema.h"
#include "sicherung/wiederherstellung.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace cli {

namespace {

void status(Kontext& k) {
    TDM_EinAus& dm = k.dm();
    if (k.server())
        k.out(QStringLiteral("Datenbank\t%1").arg(k.server()->anzeige()));
    const int mandant = dm.gibMandant();
    k.out(QStringLiteral("Mandant\t%1\t%2").arg(mandant).arg(dm.gibMandantName(mandant)));
    k.out(QStringLiteral("Wirtschaftsjahr\t%1\t%2").arg(dm.gibZeitraum()).arg(dm.gibJahr()));
    if (const auto bis = festschreibung::bis(dm.db(), mandant, dm.gibZeitraum()))
        k.out(QStringLiteral("Festgeschrieben\t%1").arg(dates::format(*bis)));
}

// An empty database on the server gets the tables, a Velmora database what
// it lacks; a database of another program is left alone.
void tabellenAufDemServer(Kontext& k) {
    Datenbank db(sicherung::verbindungsname());
    db.openServer(*k.server());
    const QStringList vorhanden = db.tabellen();
    if (!vorhanden.isEmpty() &&
        !vorhanden.contains(QStringLiteral("T_Buchungen"), Qt::CaseInsensitive))
        throw Refused(QStringLiteral("Die Datenbank %1 gehört zu einem anderen Programm; Velmora "
                                     "legt darin keine Tabellen an.")
                          .arg(db.path()));
    aktualisierung::serverAktualisieren(db, k.clock().now());
}

void init(Kontext& k, const QStringList& words) {
    const Args args(words, {}, {QStringLiteral("--mandant"), QStringLiteral("--jahr")});
    args.expectPositional(0);
    if (k.server()) {
        tabellenAufDemServer(k);
    } else {
        const startup::Vorbereitung vorbereitet =
            startup::DatenbankDateienVorbereiten(QDir(k.dir()).absolutePath() + QLatin1Char('/'));
        if (!vorbereitet.fehler.isEmpty())
            throw Refused(vorbereitet.fehler);
    }
    k.oeffnenOhnePruefung();
    TDM_EinAus& dm = k.dm();

    // Check every answer the start-up will need before anything is written.
    const bool brauchtMandant = !dm.mandantLesen();
    const bool brauchtJahr = brauchtMandant || !dm.zeitraumLesen();
    if (brauchtJahr)
        dm.aufSchaedenPruefen();
    const auto name = args.value(QStringLiteral("--mandant"));
    const auto jahr = args.value(QStringLiteral("--jahr"));
    if (brauchtMandant) {
        if (!name)
            throw Refused(
                QStringLiteral("Die Datenbank hat noch keinen Mandanten: --mandant NAME angeben."));
        if (name->isEmpty())
            throw Refused(QStringLiteral("Geben sie bitte eine Mandantenbezeichnung an."));
        k.ui().answerInput(*name);
    }
    if (brauchtJahr) {
        if (!jahr)
            throw Refused(
                QStringLiteral("Der Mandant hat noch kein Wirtschaftsjahr: --jahr JAHR angeben."));
        if (!TDM_EinAus::jahrAusText(*jahr))
            throw Refused(TDM_EinAus::meldungJahrVierstellig());
        k.ui().answerInput(*jahr);
    }
    dm.DataModuleCreate();
    k.oeffnen();
    status(k);
}

} // namespace

// The whole integrity check: status 0 for a sound file, else the problems on
// stderr and status 1.
void pruefen(Kontext& k, const QStringList& words) {
    Args(words, {}, {}).expectPositional(0);
    k.oeffnenOhnePruefung();
    const QStringList probleme = k.dm().DatenbankPruefen();
    if (probleme.isEmpty()) {
        k.out(datenbankpruefung::inOrdnung());
        return;
    }
    throw Refused(datenbankpruefung::befund(k.dm().db().path(), probleme, k.dir()));
}

// The backup of the closing program, now: prints the copy's path.
void sichern(Kontext& k, const QStringList& words) {
    Args(words, {}, {}).expectPositional(0);
    if (k.server()) {
        // the window's next start tells a failure (pg_dump missing) in its status bar
        const QDateTime jetzt = k.clock().now();
        try {
            const QString datei = serversicherung::sichern(*k.server(), k.dir(), jetzt);
            sicherungsstatus::merken(k.dir(), jetzt, QString());
            k.out(QDir::toNativeSeparators(datei));
        } catch (const DatenbankFehler& e) {
            sicherungsstatus::merken(k.dir(), jetzt, e.text());
            throw;
        }
        return;
    }
    Datensicherung s(k.dir());
    const QDateTime jetzt = k.clock().now();
    try {
        k.out(QDir::toNativeSeparators(s.sichern(jetzt)));
    } catch (const DatenbankFehler& e) {
        s.protokollieren(jetzt, e.text());
        throw;
    }
}

// The copies, newest first: path, date and time, bytes, bookings ("?" for
// a copy that cannot be read).
void sicherungListe(Kontext& k, const QStringList& words) {
    Args(words, {}, {}).expectPositional(0);
    for (const wiederherstellung::Kopie& kopie : wiederherstellung::liste(k.dir()))
        k.out(QStringLiteral("%1\t%2\t%3\t%4")
                  .arg(QDir::toNativeSeparators(kopie.pfad),
                       kopie.zeit.toString(QStringLiteral("dd.MM.yyyy HH:mm")))
                  .arg(kopie.bytes)
                  .arg(kopie.buchungen ? QString::number(*kopie.buchungen) : QStringLiteral("?")));
}

// Restores a copy; prints the copy of the state before.
void sicherungZurueck(Kontext& k, const QStringList& words) {
    const Args args(words, {}, {});
    args.expectPositional(1);
    if (k.server())
        throw Refused(serversicherung::zurueckspielenAbgelehnt(*k.server()));
    const QString datei = QDir::current().absoluteFilePath(args.at(0, "DATEI"));
    k.out(QDir::toNativeSeparators(
        wiederherstellung::zurueckspielen(k.dir(), datei, k.clock().now())));
}

// Copies the books into an empty server database, or from a server into a
// new file; the source is only read.
void umziehen(Kontext& k, const QStringList& words) {
    const Args args(words, {}, {QStringLiteral("--von"), QStringLiteral("--nach")});
    args.expectPositional(0);
    const auto von = args.value(QStringLiteral("--von"));
    const auto nach = args.value(QStringLiteral("--nach"));
    if (!nach)
        throw UsageError(QStringLiteral("--nach fehlt."));
    const auto server = [](const QString& url) {
        QString fehler;
        const auto ziel = serverziel::lesen(url, &fehler);
        if (!ziel)
            throw UsageError(fehler);
        return *ziel;
    };
    umzug::Bericht bericht;
    if (!von) {
        Datenbank quelle(sicherung::verbindungsname());
        const QString datei = files::findCaseInsensitive(k.dir(), TDM_EinAus::connectionFileName());
        if (datei.isEmpty())
            throw Refused(
                QStringLiteral("Die Datenbank %1 wurde im Verzeichnis %2 nicht gefunden.")
                    .arg(TDM_EinAus::connectionFileName(), QDir::toNativeSeparators(k.dir())));
        quelle.open(datei, true);
        Datenbank ziel(sicherung::verbindungsname());
        ziel.openServer(server(*nach));
        bericht = umzug::kopieren(quelle, ziel);
    } else {
        const QString datei = k.datei(*nach);
        if (QFileInfo::exists(datei))
            throw Refused(QStringLiteral("Die Datei %1 gibt es schon; Velmora zieht nur in eine "
                                         "neue Datei um.")
                              .arg(QDir::toNativeSeparators(datei)));
        Datenbank quelle(sicherung::verbindungsname());
        quelle.openServer(server(*von));
        // made beside the target and renamed only when complete and verified
        const QString teil = datei + QStringLiteral(".teil");
        QFile::remove(teil);
        try {
            vorlageschema::vorlageSchreiben(teil);
            Datenbank ziel(sicherung::verbindungsname());
            ziel.open(teil);
            bericht = umzug::kopieren(quelle, ziel);
            ziel.close();
        } catch (...) {
            QFile::remove(teil);
            throw;
        }
        if (!QFile::rename(teil, datei)) {
            QFile::remove(teil);
            throw Refused(QStringLiteral("Die Datei %1 kann nicht angelegt werden.")
                              .arg(QDir::toNativeSeparators(datei)));
        }
    }
    for (const QString& z : std::as_const(bericht.zeilen))
        k.out(z);
}

void startBefehle(std::vector<Befehl>& out) {
    out.push_back(
        {QStringLiteral("init"), QStringLiteral("init [--mandant NAME] [--jahr JAHR]"), init});
    out.push_back({QStringLiteral("status"), QStringLiteral("status"),
                   [](Kontext& k, const QStringList& words) {
                       Args(words, {}, {}).expectPositional(0);
                       status(k);
                   }});
    out.push_back({QStringLiteral("pruefen"), QStringLiteral("pruefen"), pruefen});
    out.push_back(
        {QStringLiteral("umziehen"),
         QStringLiteral("umziehen --nach postgresql://… | --von postgresql://… --nach DATEI"),
         umziehen});
    out.push_back({QStringLiteral("sicherung"), QStringLiteral("sicherung"), sichern});
    out.push_back(
        {QStringLiteral("sicherung liste"), QStringLiteral("sicherung liste"), sicherungListe});
    out.push_back({QStringLiteral("sicherung zurueck"), QStringLiteral("sicherung zurueck DATEI"),
                   sicherungZurueck});
}

} // namespace cli
