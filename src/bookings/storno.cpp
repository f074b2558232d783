#include "bookings/storno.h"

#include "bookings/buchungspruefung.h"
#include "bookings/buchungsschreiber.h"
#include "data/buchung.h"
#include "data/dm_einaus.h"
#include "data/texte.h"

namespace storno {

QString text(const QString& original) {
    // "Storno: " plus 100 characters would exceed what the checks allow
    return texte::ersteZeichen(QStringLiteral("Storno: ") + texte::einzeilig(original),
                               buchungspruefung::TextLaenge);
}

Buchung gegenbuchung(const Buchung& b, const QDate& datum) {
    Buchung s = b;
    s.ID = 0;
    s.Belegnummer.reset();
    s.Buchungsdatum = datum;
    s.Betrag = -b.Betrag;
    s.Text = text(b.Text);
    return s;
}

std::optional<QDate> ersterOffenerTag(const QDate& heute, int jahr, std::optional<QDate> bis) {
    QDate tag = heute;
    if (tag.year() > jahr)
        tag = QDate(jahr, 12, 31);
    else if (tag.year() < jahr)
        tag = QDate(jahr, 1, 1);
    if (bis && tag <= *bis)
        tag = bis->addDays(1);
    if (tag.year() != jahr)
        return std::nullopt;
    return tag;
}

std::optional<int> stornieren(TDM_EinAus& dm, int id, int mandant, const QDate& datum) {
    const auto b = buchungstabelle::lesen(dm.db(), id, mandant);
    if (!b)
        return std::nullopt;
    return Buchungsschreiber(dm).neueBuchungSpeichern(gegenbuchung(*b, datum),
                                                      Belegnummernwahl::Naechste);
}

} // namespace storno
