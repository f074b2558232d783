#pragma once

#include <optional>

class Hauptfenster;
struct Umgebung;

// "Stornieren" in the context menu of the main window's lists: asks for the
// date of the counter-booking (today, or the year's last day when today lies
// outside it), books it and refreshes the lists and totals.
class StornoBefehl {
public:
    StornoBefehl(Umgebung& umgebung, Hauptfenster& hauptfenster)
        : m_umgebung(umgebung), m_hauptfenster(hauptfenster) {}

    // Answers the new booking's identifier, nullopt when nothing was booked.
    std::optional<int> Stornieren1Click(std::optional<int> buchungsid);

private:
    Umgebung& m_umgebung;
    Hauptfenster& m_hauptfenster;
};
