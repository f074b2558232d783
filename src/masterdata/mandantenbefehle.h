#pragma once

struct Umgebung;
class Hauptfenster;

// "Verwalten" → "Mandanten" and "Stammdaten", and the hidden client import.
class MandantenBefehle {
public:
    MandantenBefehle(Umgebung& umgebung, Hauptfenster& hauptfenster);

    void Mandanten1Click();
    // Shows the master-data dialog; OK stores, anything else discards.
    void Stammdaten1Click();
    void MandantImportieren1Click();

private:
    Umgebung& m_umgebung;
    Hauptfenster& m_hauptfenster;
};
