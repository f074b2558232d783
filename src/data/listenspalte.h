#pragma once

#include <QString>
#include <Qt>

// One column of a list as its grid shows it: the model's field, the title,
// the width in pixels and the alignment (empty: the field's own).
struct ListenSpalte {
    QString feld;
    QString titel;
    int breite = 0;
    Qt::Alignment ausrichtung = {};
    // The widest text the column must show uncut; the column is at least
    // that wide, whatever its designed width.
    QString breitesterText = {};
};
