#include "masterdata/zeitraumbefehle.h"

ZeitraumBefehle::ZeitraumBefehle(Umgebung& umgebung, Hauptfenster& hauptfenster)
    : m_umgebung(umgebung), m_hauptfenster(hauptfenster) {}

void ZeitraumBefehle::Wirtschaftsjahrauswhlen1Click() {}
