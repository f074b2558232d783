#pragma once

#include "bank/auszugszeile.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

// How one bank's CSV download is laid out. Columns count from 1; 0 means
// the file has no such column.
struct CsvProfil {
    QString name;
    QChar trenner = QLatin1Char(';');
    QString kodierung = QStringLiteral("windows-1252"); // or "utf-8"
    int kopfzeilen = 0;
    int datum = 0;
    QString datumsformat = QStringLiteral("dd.MM.yyyy");
    // either one signed amount column, or a debit and a credit column
    int betrag = 0;
    int soll = 0;
    int haben = 0;
    int text = 0;
    int gegenpartei = 0;
    int iban = 0;
    int referenz = 0;
    int waehrung = 0; // without one every line is in euro
    bool dezimalkomma = true;

    bool operator==(const CsvProfil&) const = default;
};

namespace csv {

inline const QStringList kKodierungen{QStringLiteral("windows-1252"), QStringLiteral("utf-8")};

// Why the profile cannot read a file; empty when it is complete.
QString profilPruefen(const CsvProfil& p);

// One record of the file: its line number and its fields.
struct Datensatz {
    int zeile = 0;
    QStringList felder;
};

// The records after the header lines, decoded and split ("quoted; fields"
// with doubled quotes and line breaks inside); empty lines are left out.
// Throws KontoauszugFehler for a file that is not in the profile's encoding
// or that ends inside quotes.
std::vector<Datensatz> datensaetze(const QByteArray& daten, const CsvProfil& p);

// The statement lines. Throws KontoauszugFehler naming the line and column
// of the first field that cannot be read.
Auszug lesen(const QByteArray& daten, const CsvProfil& p);

} // namespace csv
