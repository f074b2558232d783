#pragma once

#include "reports/t_repdaten.h"

#include <memory>

class QWidget;
class TExportauswahl;
class TMonatsAuswahl;
class TRep_Verprobung;
struct Umgebung;

// The evaluation commands of the main menu with the windows they share,
// created once and kept for the program run.
class BerichtBefehle {
public:
    BerichtBefehle(Umgebung& umgebung, QWidget* parent);
    ~BerichtBefehle();

    // "Auswerten > UST-Verprobung": the period, then the preview.
    void USTVerprobung1Click();

    TMonatsAuswahl& MonatsAuswahl() { return *m_monatsAuswahl; }
    TExportauswahl& Exportauswahl() { return *m_exportauswahl; }
    const T_RepDaten& verprobungDaten() const { return m_verprobungDaten; }

private:
    Umgebung& m_umgebung;
    QWidget* m_parent;
    std::unique_ptr<TMonatsAuswahl> m_monatsAuswahl;
    std::unique_ptr<TExportauswahl> m_exportauswahl;
    T_RepDaten m_verprobungDaten;
    std::unique_ptr<TRep_Verprobung> m_repVerprobung;
};
