#pragma once

#include "masterdata/zeitraumablauf.h"

struct Umgebung;
class Hauptfenster;

// "Verwalten" → "Wirtschaftsjahre": the fiscal-year dialog, then a full refresh.
class ZeitraumBefehle {
public:
    ZeitraumBefehle(Umgebung& umgebung, Hauptfenster& hauptfenster);

    void Wirtschaftsjahrauswhlen1Click();
    // The dialog without the refresh that follows it in the command.
    void FormZeitraumZeigen();

private:
    Umgebung& m_umgebung;
    Hauptfenster& m_hauptfenster;
    ZeitraumAblauf m_ablauf;
};
