#pragma once

#include <QString>
#include <QStringList>

// The files that make up the books: the working database with its journal,
// the template, the settings file, the sibling programs and the backups.
// No export, report or launcher may be written over one of them.
namespace buchdateien {

struct Orte {
    QString arbeitsverzeichnis;  // where the working database lives
    QString programmverzeichnis; // where the program and its siblings live
};

// The working directory and the program's directory of this process.
Orte desProzesses();

// True when target (relative names count from the current directory) is one
// of the books' files: by canonical path, links resolved, and by name
// without regard to case in either directory, whether it exists or not.
bool gehoertZuDenBuechern(const QString& target, const Orte& orte);
bool gehoertZuDenBuechern(const QString& target);

QString meldung();

} // namespace buchdateien
