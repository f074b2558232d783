#pragma once

#include <optional>

struct Umgebung;
class Hauptfenster;
class BuchungskreisBefehle;

// The main window's booking commands: new (with "OK und weiterbuchen"),
// change by double-click, delete by Del.
class BuchungsBefehle {
public:
    // buchungskreise opens the circle list from the dialog's "Neu" button.
    BuchungsBefehle(Umgebung& umgebung, Hauptfenster& hauptfenster,
                    BuchungskreisBefehle& buchungskreise);

    void Buchen1Click();
    // buchungsid: the list's current row, nullopt for an empty list.
    void GridDblClick(bool einnahmeListe, std::optional<int> buchungsid);
    void GridEntfernen(bool einnahmeListe, std::optional<int> buchungsid);

private:
    Umgebung& m_umgebung;
    Hauptfenster& m_hauptfenster;
    BuchungskreisBefehle& m_buchungskreise;
};
