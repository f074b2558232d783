#pragma once

#include "data/currency.h"

#include <QDate>
#include <QString>
#include <stdexcept>
#include <vector>

// A statement file that cannot be read; the text says why and where.
// Nothing of such a file is shown or booked.
class KontoauszugFehler : public std::runtime_error {
public:
    explicit KontoauszugFehler(const QString& text)
        : std::runtime_error(text.toStdString()), m_text(text) {}
    const QString& text() const { return m_text; }

private:
    QString m_text;
};

// One line of a bank statement as read from the file, before any proposal.
struct Auszugszeile {
    int zeile = 0; // 1, 2, ... in the order of the file
    QDate buchungsdatum;
    QDate valuta;
    Currency betrag; // signed: credits positive, debits negative
    QString waehrung = QStringLiteral("EUR");
    bool vorgemerkt = false;
    // the bank's reference of the entry plus the position of the line within
    // it ("REF/2"); empty when the bank gives none
    QString referenz;
    QString endToEnd;
    QString gegenpartei;
    QString iban;
    QString text;

    bool operator==(const Auszugszeile&) const = default;
};

using Auszug = std::vector<Auszugszeile>;
