#pragma once

struct Umgebung;

// The client list's interactions without its window: what is asked, what is
// shown and which change follows. Database failures are shown as errors.
class MandantenAblauf {
public:
    explicit MandantenAblauf(Umgebung& umgebung);

    void neu();
    void umbenennen(int mandant);
    void loeschen(int mandant);
    void wechseln(int mandant);
    // After the list closes: a current client without a fiscal year is asked
    // for its first one until it gives an integer.
    void nachDemSchliessen();

private:
    void listeNeu();

    Umgebung& m_umgebung;
};
