#include "bookings/buchungsbefehle.h"

BuchungsBefehle::BuchungsBefehle(Umgebung& umgebung, Hauptfenster& hauptfenster,
                                 BuchungskreisBefehle& buchungskreise)
    : m_umgebung(umgebung), m_hauptfenster(hauptfenster), m_buchungskreise(buchungskreise) {}

void BuchungsBefehle::Buchen1Click() {}

void BuchungsBefehle::GridDblClick(bool, std::optional<int>) {}

void BuchungsBefehle::GridEntfernen(bool, std::optional<int>) {}
