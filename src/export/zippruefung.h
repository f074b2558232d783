#pragma once

#include <QByteArray>

// Whether bytes are a complete zip archive whose every entry unpacks to its
// recorded size and checksum, and whose XML parts begin with their
// declaration and are well-formed. A library that writes the parts of a
// workbook without checking each write can hand over an archive with a part
// cut short; this finds it before it is kept.
bool zipVollstaendig(const QByteArray& bytes);
