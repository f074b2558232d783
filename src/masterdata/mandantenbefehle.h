#pragma once

#include "masterdata/mandantenablauf.h"

struct Umgebung;
class Hauptfenster;

// "Verwalten" → "Mandanten" and "Stammdaten", and the hidden client import.
class MandantenBefehle {
public:
    MandantenBefehle(Umgebung& umgebung, Hauptfenster& hauptfenster);

    // The client list; once it closes, a first fiscal year if the current
    // client has none, then the full refresh of the main window.
    void Mandanten1Click();
    // Shows the master-data dialog; OK stores, anything else discards.
    void Stammdaten1Click();
    void MandantImportieren1Click();

private:
    Umgebung& m_umgebung;
    Hauptfenster& m_hauptfenster;
    MandantenAblauf m_ablauf;
};
