#pragma once

class QLineEdit;

// Limits an edit to n characters as the user counts them: an insertion keeps
// only what fits, and a character outside the basic plane (an emoji) counts
// once and is never cut in half, unlike QLineEdit's own limit in UTF-16 units.
void zeichenBegrenzen(QLineEdit* edit, int n);
