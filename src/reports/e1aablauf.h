#pragma once

class TFormE1a;
struct Umgebung;

// The choice of a circle's E 1a Kennzahl through the dialog and the same
// command as velmora-cli's "bk e1a". A refusal is told and the dialog shown
// again with what was chosen; nothing is stored then.
class E1aAblauf {
public:
    E1aAblauf(Umgebung& umgebung, TFormE1a& dialog);

    // Answers whether the circle's assignment was stored.
    bool waehlen(int bk);

private:
    Umgebung& m_umgebung;
    TFormE1a& m_dialog;
};
