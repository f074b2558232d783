#include "masterdata/mandantenbefehle.h"

MandantenBefehle::MandantenBefehle(Umgebung& umgebung, Hauptfenster& hauptfenster)
    : m_umgebung(umgebung), m_hauptfenster(hauptfenster) {}

void MandantenBefehle::Mandanten1Click() {}

void MandantenBefehle::Stammdaten1Click() {}

void MandantenBefehle::MandantImportieren1Click() {}
