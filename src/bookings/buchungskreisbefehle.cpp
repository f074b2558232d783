#include "bookings/buchungskreisbefehle.h"

BuchungskreisBefehle::BuchungskreisBefehle(Umgebung& umgebung, QWidget* parent)
    : m_umgebung(umgebung), m_parent(parent) {}

void BuchungskreisBefehle::Buchungskreise1Click() {}
