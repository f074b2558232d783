#include "bookings/buchungskreis.h"

#include "data/db.h"
#include "data/dm_einaus.h"
#include "data/texte.h"

namespace buchungskreise {

namespace {

// An empty name is stored as empty text, not as NULL; a name is one line.
QString text(const QString& s) {
    return s.isNull() ? QStringLiteral("") : texte::einzeilig(s);
}

} // namespace

std::optional<Kreis> lesen(TDM_EinAus& dm, int id, int mandant) {
    Sql q = dm.db().sql(QStringLiteral(
        "select id, mandant, BKName, BKKurz from T_BKreis where id = :id and mandant = :mandant"));
    q.bind(QStringLiteral("id"), id).bind(QStringLiteral("mandant"), mandant).exec();
    if (!q.next())
        return std::nullopt;
    return Kreis{q.value(0).toInt(), q.value(1).toInt(), q.value(2).toString(),
                 q.value(3).toString()};
}

int anlegen(TDM_EinAus& dm, int mandant, const QString& name, const QString& kurz) {
    Transaktion t(dm.db());
    const int id = dm.neueID(QStringLiteral("t_bkreis"));
    dm.db()
        .sql(QStringLiteral("insert into T_BKreis (id, mandant, BKName, BKKurz) "
                            "values (:id, :mandant, :name, :kurz)"))
        .bind(QStringLiteral("id"), id)
        .bind(QStringLiteral("mandant"), mandant)
        .bind(QStringLiteral("name"), text(name))
        .bind(QStringLiteral("kurz"), text(kurz))
        .exec();
    t.commit();
    return id;
}

void aendern(TDM_EinAus& dm, int id, int mandant, const QString& name, const QString& kurz) {
    Transaktion t(dm.db());
    dm.db()
        .sql(QStringLiteral("update T_BKreis set BKName = :name, BKKurz = :kurz "
                            "where id = :id and mandant = :mandant"))
        .bind(QStringLiteral("name"), text(name))
        .bind(QStringLiteral("kurz"), text(kurz))
        .bind(QStringLiteral("id"), id)
        .bind(QStringLiteral("mandant"), mandant)
        .exec();
    t.commit();
}

bool inGebrauch(TDM_EinAus& dm, int id, int mandant) {
    Sql q = dm.db().sql(
        QStringLiteral("SELECT BK FROM T_Buchungen WHERE (((BK)=:BK) AND ((mandant)=:Mandant));"));
    q.bind(QStringLiteral("BK"), id).bind(QStringLiteral("Mandant"), mandant).exec();
    return q.next();
}

bool loeschen(TDM_EinAus& dm, int id, int mandant) {
    // check and deletion in one transaction: no booking can slip in between
    Transaktion t(dm.db());
    if (inGebrauch(dm, id, mandant))
        return false;
    dm.db()
        .sql(QStringLiteral("DELETE FROM T_BKreis WHERE (((T_BKreis.id)=:BK) AND "
                            "((T_BKreis.mandant)=:Mandant));"))
        .bind(QStringLiteral("BK"), id)
        .bind(QStringLiteral("Mandant"), mandant)
        .exec();
    t.commit();
    return true;
}

QString meldungInGebrauch() {
    return QStringLiteral("Auf diesen Buchungskreis wurde bereits gebucht und kann deshalb nicht "
                          "mehr gelöscht werden.");
}

Auswahl auswahlDeuten(int ergebnis) {
    if (ergebnis < Alle)
        return Auswahl{};
    if (ergebnis == Alle)
        return Auswahl{false, true, -1};
    return Auswahl{false, false, ergebnis - Alle};
}

} // namespace buchungskreise
