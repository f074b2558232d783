#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>

// The backup of the working database "Velmora_tab.mdb" of a directory into
// its folder "Datensicherung". A copy is made through SQLite, checked
// completely and only then given its backup name; old copies go only after
// a new one has been verified, so a damaged file never displaces a good one.
class Datensicherung {
public:
    explicit Datensicherung(QString dir);

    static QString ordnerName() { return QStringLiteral("Datensicherung"); }
    static QString logName() { return QStringLiteral("datensicherung.log"); }
    static constexpr int Behalten = 30;

    QString ordner() const;
    QString logDatei() const;

    // Makes a verified copy and answers its path; then removes all but the
    // newest Behalten copies. Throws DatenbankFehler with the reason, leaving
    // every existing copy and the working database as they were.
    QString sichern(const QDateTime& jetzt);

    // The backups in the folder, oldest first.
    QStringList kopien() const;

    // Appends one line, with date and time, to the log in the folder.
    // False when it could not be written.
    bool protokollieren(const QDateTime& jetzt, const QString& text) const;

    // Called between two steps of the copy, while no lock is held on the
    // working database; lets a test act as a program that opens it meanwhile.
    void setZwischenschritt(std::function<void()> f) { m_zwischenschritt = std::move(f); }

private:
    // A consistent copy of quelle into the empty file ziel, through SQLite.
    void kopieren(const QString& quelle, const QString& ziel);

    QString m_dir;
    std::function<void()> m_zwischenschritt;
};
