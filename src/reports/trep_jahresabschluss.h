#pragma once

#include "reportengine/report.h"
#include "reports/t_repdaten.h"
#include "reports/tabelle.h"

#include <QStringList>
#include <vector>

// The year-end reports as pages: the asset register and the E 1a summary,
// each a table of ready-made texts whose last line, the total, is bold.
class TRep_Jahresabschluss {
public:
    struct Spalte {
        QString titel;
        double breite; // mm
        bool rechts;
    };
    TRep_Jahresabschluss(const T_RepDaten& daten, const QString& titel,
                         std::vector<Spalte> spalten);

    reportengine::PageModel erzeugen(const std::vector<QStringList>& zeilen);

private:
    const T_RepDaten& m_daten;
    QString m_titel;
    std::vector<Spalte> m_spalten;
    reportengine::Report m_report;
};

namespace anlagenverzeichnis {
struct Verzeichnis;
}
namespace e1a {
struct Zusammenfassung;
}

namespace jahresabschluss {
// The register's columns and the E 1a summary's.
std::vector<TRep_Jahresabschluss::Spalte> anlagenSpalten();
std::vector<TRep_Jahresabschluss::Spalte> e1aSpalten();
// Their lines with typed cells, the total last (key 0); an asset's line
// carries the asset's id as its key.
Tabelle anlagenTabelle(const anlagenverzeichnis::Verzeichnis& v);
Tabelle e1aTabelle(const e1a::Zusammenfassung& s);
// Their lines as texts, amounts as "1.234,56".
std::vector<QStringList> anlagenZeilen(const anlagenverzeichnis::Verzeichnis& v);
std::vector<QStringList> e1aZeilen(const e1a::Zusammenfassung& s);
} // namespace jahresabschluss
