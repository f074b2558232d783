#pragma once

#include <QString>

namespace files {

// The path of the regular, non-hidden file in dir whose name equals name
// without regard to case; an exact match wins. Empty when there is none.
QString findCaseInsensitive(const QString& dir, const QString& name);

// True when dir holds a regular, non-hidden file of exactly this name.
bool exists(const QString& dir, const QString& name);

} // namespace files
