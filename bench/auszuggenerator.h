#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

// Bank statements for measurements: one endless, reproducible sequence of
// booked CAMT.053 entries of 2026, one line each, with 150 counterparties
// that repeat as a business's suppliers and customers do. A tenth of the
// lines carry no bank reference (card payments), so duplicates are also
// found by counting identical lines.
namespace auszuggenerator {

struct Partei {
    QString name;
    QString iban; // empty for every fifth: learned by name
    bool kunde;   // pays us: credits; else we pay: debits
};

const std::vector<Partei>& parteien();
// The counterparty of line i of the sequence; the first lines name each once.
int parteiVon(int zeile);

// A camt.053.001.08 statement of the lines erste ... erste + anzahl - 1 of
// the sequence, dated ascending from 2 January to 9 December 2026 over
// gesamt lines.
QByteArray camt053(int erste, int anzahl, int gesamt);

} // namespace auszuggenerator
