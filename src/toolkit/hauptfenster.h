#pragma once

class QWidget;

// What the commands of other windows need of the main window: its refreshes.
class Hauptfenster {
public:
    virtual ~Hauptfenster() = default;
    // The full refresh: totals, lists, master-data check.
    virtual void AnzeigeAktualisieren() = 0;
    // Header labels and the four totals.
    virtual void Berechne() = 0;
    // Requery one list, keeping its parameters.
    virtual void QueryEinRequery() = 0;
    virtual void QueryAusRequery() = 0;
    // The parent for dialogs.
    virtual QWidget* widget() = 0;
};
