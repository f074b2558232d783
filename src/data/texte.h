#pragma once

#include <QString>

// Texts that the user types or passes, as the database keeps them.
namespace texte {

// Characters as the user counts them: a character outside the basic plane
// (an emoji) is one, not two UTF-16 units.
int zeichenAnzahl(const QString& text);
// The first n characters; never splits a surrogate pair.
QString ersteZeichen(const QString& text, int n);
// One line: a tab, carriage return or line feed becomes one blank, and a
// lone surrogate (which SQLite would store as invalid UTF-8) becomes U+FFFD.
QString einzeilig(const QString& text);

} // namespace texte
