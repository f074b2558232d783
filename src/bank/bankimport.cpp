#include "bank/bankimport.h"

#include "bank/bankbuchung.h"
#include "bank/duplikate.h"
#include "bookings/buchungsschreiber.h"
#include "bookings/buchungsstapel.h"
#include "data/dates.h"
#include "data/dm_einaus.h"

QString Importergebnis::meldung() const {
    return QStringLiteral("%1 Buchungen angelegt, %2 doppelt übersprungen, %3 offen")
        .arg(gebucht.size())
        .arg(doppelt)
        .arg(offen.size());
}

namespace bankimport {

namespace {

QString grund(const Vorschauzeile& v, Zeilenstatus status) {
    if (status != Zeilenstatus::Neu)
        return statusText(status);
    if (!v.vorschlag || v.vorschlag->bk <= 0)
        return QStringLiteral("kein Vorschlag");
    return QStringLiteral("nicht ausgewählt");
}

void merken(Datenbank& db, int id, int mandant, int zeitraum, int buchung, const Auszugszeile& z) {
    db.wiederverwendet(
          QStringLiteral("insert into T_BankZeile (id, mandant, Wirtschaftsjahr, Buchungsid, "
                         "Datum, Betrag, Referenz, Schluessel, Gegenpartei, IBAN) values (:id, "
                         ":mandant, :zeitraum, :buchung, :datum, :betrag, :referenz, "
                         ":schluessel, :partei, :iban)"))
        .bind("id", id)
        .bind("mandant", mandant)
        .bind("zeitraum", zeitraum)
        .bind("buchung", buchung)
        .bind("datum", dates::toSql(z.buchungsdatum))
        .bind("betrag", static_cast<qlonglong>(z.betrag.units()))
        .bind("referenz", z.referenz.isEmpty() ? QVariant() : z.referenz)
        .bind("schluessel", duplikate::schluessel(z))
        .bind("partei", z.gegenpartei.isEmpty() ? QVariant() : z.gegenpartei)
        .bind("iban", z.iban.isEmpty() ? QVariant() : z.iban)
        .exec();
}

} // namespace

Importergebnis buchen(TDM_EinAus& dm, int mandant, int zeitraum,
                      const std::vector<Vorschauzeile>& zeilen,
                      const std::function<bool(int, int)>& fortschritt) {
    Datenbank& db = dm.db();
    Transaktion t(db);
    Auszug auszug;
    auszug.reserve(zeilen.size());
    for (const Vorschauzeile& v : zeilen)
        auszug.push_back(v.zeile);
    const std::vector<Zeilenstatus> status = importvorschau::status(db, mandant, zeitraum, auszug);

    int gesamt = 0;
    for (std::size_t i = 0; i < zeilen.size(); ++i)
        gesamt += zeilen[i].angekreuzt && zeilen[i].buchbar() && status[i] == Zeilenstatus::Neu;
    Sql max = db.sql(QStringLiteral("select coalesce(max(id), 0) from T_BankZeile"));
    max.exec();
    max.next();
    int naechsteId = max.value(0).toInt() + 1;

    Importergebnis e;
    Buchungsstapel stapel(dm);
    int erledigt = 0;
    for (std::size_t i = 0; i < zeilen.size(); ++i) {
        const Vorschauzeile& v = zeilen[i];
        if (status[i] == Zeilenstatus::Doppelt) {
            ++e.doppelt;
            continue;
        }
        if (!v.angekreuzt || !v.buchbar() || status[i] != Zeilenstatus::Neu) {
            e.offen.emplace_back(v.zeile.zeile, grund(v, status[i]));
            continue;
        }
        if (fortschritt && !fortschritt(erledigt, gesamt))
            return Importergebnis{{}, {}, 0, true}; // the guard rolls back
        try {
            const Buchung b = bankbuchung::buchungAus(v.zeile, *v.vorschlag, mandant, zeitraum);
            const int id = stapel.neueBuchung(b);
            merken(db, naechsteId++, mandant, zeitraum, id, v.zeile);
            e.gebucht.emplace_back(v.zeile.zeile, id);
        } catch (const BuchungAbgewiesen& f) {
            e.offen.emplace_back(v.zeile.zeile, f.text());
        }
        ++erledigt;
    }
    if (fortschritt)
        fortschritt(erledigt, gesamt);
    t.commit();
    return e;
}

} // namespace bankimport
