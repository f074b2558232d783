#pragma once

#include <QString>
#include <QStringList>

// The evaluations keep their statements line by line, as written.
namespace sqlzeilen {

// The lines of a statement joined with a line break, never glued together.
inline QString statement(const QStringList& zeilen) {
    return zeilen.join(QLatin1Char('\n'));
}

} // namespace sqlzeilen
