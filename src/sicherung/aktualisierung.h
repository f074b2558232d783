#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

class Datenbank;

// check_update: brings the working database "Velmora_tab.mdb" of a directory
// up to the template "Velmora_neu.mdb" beside it. Only adds: tables,
// columns and indexes the working database lacks, and accounts of the chart
// missing by Kontonummer; rows of a table that is new come along. A change
// log that is new gets one row "übernommen" per booking. Nothing is deleted
// or changed. A backup comes first, all changes are one transaction,
// and the template goes only after they were committed.
namespace aktualisierung {

QString vorlageName(); // "Velmora_neu.mdb"

struct Ergebnis {
    bool vorlageGefunden = false;
    QString sicherung;    // the backup made before the changes
    QStringList ergaenzt; // what was added, e.g. "Index ix_buchungen_bk"
};

// Throws DatenbankFehler with the reason; then the working database and the
// template are as they were, so the next start tries again.
Ergebnis aktualisieren(const QString& dir, const QDateTime& jetzt);

// The books on a server, brought up to the program's template in the same
// way; an empty database gets every table, index and account and the German
// collation (this is how `init` creates them there). Answers what was added.
QStringList serverAktualisieren(Datenbank& db, const QDateTime& jetzt);

// The log line of a finished run.
QString bericht(const Ergebnis& ergebnis);

} // namespace aktualisierung
