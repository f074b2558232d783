#pragma once

#include "data/currency.h"
#include "reportengine/rowsource.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <initializer_list>

class TDM_EinAus;
struct T_RepDaten;

// What the evaluations share: statements written line by line, amounts
// read from the database's ten-thousandths, the row filter "BK = n".
namespace auswertung {

// The lines of a statement; "{netto}" in a line stands for nettoAusdruck().
QStringList zeilen(std::initializer_list<const char*> texte);

// A booking's amount net of VAT, the one rule of every evaluation: an
// intra-community acquisition counts with its whole amount, any other booking
// with its amount less its posting's tax, so an import, whose single posting
// is all tax, counts 0. Read over a booking joined with one of its postings.
QString nettoAusdruck();

// An amount of a result column; null is 0.
Currency betrag(const QVariant& v);

// Client, fiscal year, its calendar year and the period of code (1 to 17)
// into daten; std::invalid_argument for any other code. The client's name
// follows each report's own rule.
void zeitraumSetzen(TDM_EinAus& dm, T_RepDaten& daten, int code);

// "Jahr " and the year, the period text of the whole fiscal year.
QString jahrText(int jahr);

// Whether the circle belongs to the current client; throws DatenbankFehler.
bool kreisVorhanden(TDM_EinAus& dm, int kreis);
QString meldungKreisFehlt();

// The rows of another source whose column BK equals the circle: the row
// filter "BK = n" of a query. With circle 0 every row passes.
class KreisFilter final : public reportengine::RowSource {
public:
    KreisFilter(reportengine::RowSource& quelle, int kreis);
    QStringList fields() const override { return m_quelle.fields(); }
    bool next() override;
    QVariant value(int field) const override { return m_quelle.value(field); }

private:
    reportengine::RowSource& m_quelle;
    int m_kreis;
    int m_bk = -1;
};

} // namespace auswertung
