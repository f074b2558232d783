#pragma once

#include "data/currency.h"

#include <QDate>
#include <QString>
#include <QVariant>
#include <Qt>

// The data layer's default display of values that no window formats: what
// a grid without display masks shows and what its export writes.
namespace anzeige {

// "dd.mm.yyyy".
QString datum(const QDate& date);
// The shortest form with a decimal comma and no grouping: 120, -240, 16,67, 0.
QString zahl(Currency value);
QString ganzzahl(qint64 value);

} // namespace anzeige

// The typed value beside a model's display text: a number or a date, so a
// writer of typed cells need not parse the display text back.
enum Datenrolle {
    // Currency (as a QVariant of Currency) or qlonglong.
    ZahlRolle = Qt::UserRole + 100,
    // QDate.
    DatumRolle,
};

// The kind of a column, answered by headerData(section, Horizontal, FeldArtRolle).
enum class FeldArt { Text, Ganzzahl, Waehrung, Datum };
constexpr int FeldArtRolle = Qt::UserRole + 110;
// The longest text a text column holds, in characters, answered by
// headerData(section, Horizontal, FeldBreiteRolle); nothing when unknown.
constexpr int FeldBreiteRolle = Qt::UserRole + 111;

Q_DECLARE_METATYPE(Currency)

namespace anzeige {

// A stored value of a column of this kind in a model role: the display text
// (empty for NULL), the typed value in ZahlRolle or DatumRolle, else nothing.
QVariant wert(FeldArt art, const QVariant& roh, int role);

// The typed value of a stored one: a date QDate, an amount Currency, an
// integer qlonglong (a rate with a decimal, 4,9, Currency), a text QString;
// nothing for NULL. What a writer of typed cells takes straight from a statement.
QVariant typisiert(FeldArt art, const QVariant& roh);
// The display text of a typed value of the kind; empty for nothing.
QString text(FeldArt art, const QVariant& typisiert);

} // namespace anzeige
