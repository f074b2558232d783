#include "reports/verprobung.h"

#include "data/dates.h"
#include "data/db.h"
#include "reports/auswertung.h"

#include <map>

namespace verprobung {

namespace {

// The chart joined from the left, so that the marks of vehicle and building
// count every posting of a marked booking, on whatever account.
const char* const kPostenSql =
    "SELECT t_kontenbewegungen.Konten_Nr, T_Kontenplan.Steuersatz, T_Buchungen.Steuersatz, "
    "(T_Buchungen.IstKFZ = 1) AS KFZ, (T_Buchungen.IstGebaeude = 1) AS Gebaeude, "
    "Sum(t_kontenbewegungen.St_Betrag) AS St_Betrag, Sum(T_Buchungen.Betrag) AS Betrag\n"
    "FROM (T_Zeitraum INNER JOIN T_Buchungen ON (T_Zeitraum.mandant = T_Buchungen.mandant) AND "
    "(T_Zeitraum.id = T_Buchungen.Wirtschaftsjahr)) INNER JOIN t_kontenbewegungen ON "
    "(T_Buchungen.mandant = t_kontenbewegungen.mandant) AND (T_Buchungen.ID = "
    "t_kontenbewegungen.Buchungen_id) LEFT JOIN T_Kontenplan ON T_Kontenplan.Kontonummer = "
    "t_kontenbewegungen.Konten_Nr\n"
    "WHERE ((T_Zeitraum.id) = :zeitraum) AND ((T_Buchungen.Buchungsdatum) Between :von And :bis) "
    "AND ((T_Buchungen.mandant) = :mandant)\n"
    "GROUP BY 1, 2, 3, 4, 5\n"
    "ORDER BY 1, 3, 4, 5;";

} // namespace

QString periodenPostenSql() {
    return QString::fromUtf8(kPostenSql);
}

QString saldoText(Currency saldo) {
    return saldo > Currency() ? QStringLiteral("Zahllast") : QStringLiteral("Gutschrift");
}

Currency saldoBetrag(Currency saldo) {
    return saldo < Currency() ? -saldo : saldo;
}

void parameterSetzen(Sql& q, const T_RepDaten& r) {
    q.bind(QStringLiteral("von"), dates::toSql(r.Von))
        .bind(QStringLiteral("bis"), dates::toSql(r.Bis))
        .bind(QStringLiteral("zeitraum"), r.Zeitraum)
        .bind(QStringLiteral("mandant"), r.Mandant);
}

std::vector<Posten> periodenPosten(Datenbank& db, const T_RepDaten& r) {
    Sql q = db.sql(periodenPostenSql());
    q.query().setForwardOnly(true);
    parameterSetzen(q, r);
    q.exec();
    std::vector<Posten> out;
    while (q.next()) {
        Posten p;
        p.Konto = q.value(0).toInt();
        if (!q.value(1).isNull())
            p.Kontosatz = q.value(1).toInt();
        p.Buchungssatz = q.value(2).toInt();
        p.KFZ = q.value(3).toInt() == 1;
        p.Gebaeude = q.value(4).toInt() == 1;
        p.St_Betrag = auswertung::betrag(q.value(5));
        p.Betrag = auswertung::betrag(q.value(6));
        out.push_back(p);
    }
    return out;
}

bool istErloeskonto(const Posten& p) {
    return p.Kontosatz && p.Konto < 2000 && p.Konto != 1021;
}

bool istEUKonto(const Posten& p) {
    return p.Kontosatz && p.Konto == 1021;
}

bool istVorsteuerkonto(const Posten& p) {
    return p.Kontosatz && p.Konto >= 2000 && p.Konto <= 2999 && p.Konto != 2021;
}

bool istEinfuhrkonto(const Posten& p) {
    return p.Kontosatz && p.Konto == 3000;
}

std::vector<Erloeszeile> erloeseJeSatz(const std::vector<Posten>& posten) {
    std::map<int, Erloeszeile> jeSatz;
    for (const Posten& p : posten) {
        if (!istErloeskonto(p))
            continue;
        Erloeszeile& z = jeSatz[*p.Kontosatz];
        z.Steuersatz = *p.Kontosatz;
        z.St_Betrag += p.St_Betrag;
        z.Betrag += p.Betrag;
    }
    std::vector<Erloeszeile> out;
    for (const auto& [satz, z] : jeSatz)
        out.push_back(z);
    return out;
}

Summen summen(const std::vector<Posten>& posten) {
    Summen s;
    for (const Posten& p : posten) {
        if (istEUKonto(p)) {
            s.EUSteuer += p.St_Betrag;
            s.EUBemessung += p.Betrag;
        } else if (istErloeskonto(p)) {
            s.Umsatzsteuer += p.St_Betrag;
            s.Erloese += p.Betrag;
        } else if (istVorsteuerkonto(p)) {
            s.Vorsteuer += p.St_Betrag;
        } else if (istEinfuhrkonto(p)) {
            s.Einfuhr += p.St_Betrag;
        }
        if (p.KFZ)
            s.KFZ += p.St_Betrag;
        if (p.Gebaeude)
            s.Gebaeude += p.St_Betrag;
    }
    return s;
}

Summen SummenLesen(Datenbank& db, const T_RepDaten& r) {
    return summen(periodenPosten(db, r));
}

QString meldungKeineEinnahmen() {
    return QStringLiteral("Es gibt für diesen Zeitraum (noch) keine Einnahmen!");
}

} // namespace verprobung
