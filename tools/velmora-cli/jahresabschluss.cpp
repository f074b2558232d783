#include "jahresabschluss.h"

#include "data/dm_einaus.h"
#include "reportengine/pagepainter.h"
#include "reports/auswertung.h"
#include "reports/mandantenname.h"

namespace cli {

void tabelleAusgeben(Kontext& k, const Args& args, const QString& titel,
                     const std::vector<TRep_Jahresabschluss::Spalte>& spalten,
                     const std::vector<QStringList>& zeilen) {
    const auto pdf = args.value(QStringLiteral("--pdf"));
    if (!pdf) {
        for (const QStringList& z : zeilen)
            k.out(z.join(QLatin1Char('\t')));
        return;
    }
    T_RepDaten daten;
    daten.GanzerName = mandantenname::zeilenTest(k.dm());
    daten.Jahr = k.dm().gibJahr();
    daten.ZeitraumText = auswertung::jahrText(daten.Jahr);
    TRep_Jahresabschluss bericht(daten, titel, spalten);
    if (const auto fehler = reportengine::writePdf(bericht.erzeugen(zeilen), *pdf,
                                                   titel + QLatin1Char(' ') + daten.ZeitraumText))
        throw Refused(*fehler);
}

} // namespace cli
