#pragma once

#include <QDate>
#include <QString>
#include <optional>

namespace dates {

// "dd.mm.yyyy", the program's display and settings-file form.
QString format(const QDate& date);
// Accepts "15.03.2024" and "1.3.2024"; nullopt for anything else.
std::optional<QDate> parse(const QString& text);

// The database's form 'YYYY-MM-DD'.
QString toSql(const QDate& date);
QDate fromSql(const QString& text);

QDate firstOfMonth(int year, int month);
QDate lastOfMonth(int year, int month);

// Austrian month names: "Jänner", "Februar", ... ; empty outside 1..12.
QString monthName(int month);

} // namespace dates
