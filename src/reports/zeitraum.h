#pragma once

#include <QDate>
#include <QString>
#include <optional>

// A period of a report: first and last day and the text of its header.
struct Periode {
    QDate Von;
    QDate Bis;
    QString ZeitraumText;
    bool operator==(const Periode&) const = default;
};

// Period codes of the period dialog: 1-12 months, 13-16 quarters, 17 the year.
constexpr int ersterZeitraumCode = 1;
constexpr int letzterZeitraumCode = 17;

// The period of a code in the calendar year jahr; nullopt for a code outside 1..17.
std::optional<Periode> ZeitraumBestimmen(int code, int jahr);
