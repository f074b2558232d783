#pragma once

struct Umgebung;

// The fiscal-year dialog's interactions without its window: what is asked,
// what is shown and which change follows. Database failures are shown as
// errors, except while creating, where the dialog has its own message.
class ZeitraumAblauf {
public:
    explicit ZeitraumAblauf(Umgebung& umgebung);

    void neuesJahr();
    void loeschen(int zeitraum);
    // True when the year is now the client's current one.
    bool setzen(int zeitraum, int mandant);

private:
    void listeNeu();

    Umgebung& m_umgebung;
};
