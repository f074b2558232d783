#pragma once

#include <QString>

class QSqlDatabase;

namespace sortierung {

// The collation that orders names as a German reader expects: without
// regard to case, "Ä" beside "A", "ß" beside "ss", digits before letters.
// Every statement that orders by a name says "ORDER BY ... COLLATE DEUTSCH".
inline constexpr char kKollation[] = "DEUTSCH";

// Registers the collation on the SQLite handle of an open connection of
// Qt's QSQLITE driver; throws DatenbankFehler when the connection has no
// SQLite handle or SQLite refuses it.
void registrieren(const QSqlDatabase& db);

// The order of the collation: negative, zero or positive. Zero only for
// equal texts, so that every list has one order.
int vergleichen(QStringView a, QStringView b);

} // namespace sortierung
