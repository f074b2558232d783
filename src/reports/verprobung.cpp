#include "reports/verprobung.h"

#include "data/buchung.h"
#include "data/dates.h"
#include "data/db.h"
#include "data/steuersatz.h"
#include "reports/auswertung.h"

#include <map>

namespace verprobung {

namespace {

// The chart joined from the left, so that the marks of vehicle and building
// count every posting of a marked booking, on whatever account.
const char* const kPostenSql =
    "SELECT t_kontenbewegungen.Konten_Nr, T_Kontenplan.Steuersatz, T_Buchungen.Steuersatz, "
    "(T_Buchungen.IstKFZ = 1) AS KFZ, (T_Buchungen.IstGebaeude = 1) AS Gebaeude, "
    "Sum(t_kontenbewegungen.St_Betrag) AS St_Betrag, Sum(T_Buchungen.Betrag) AS Betrag, "
    "T_Buchungen.Steuerschuld, T_Buchungen.SteuerfreiKZ\n"
    "FROM (T_Zeitraum INNER JOIN T_Buchungen ON (T_Zeitraum.mandant = T_Buchungen.mandant) AND "
    "(T_Zeitraum.id = T_Buchungen.Wirtschaftsjahr)) INNER JOIN t_kontenbewegungen ON "
    "(T_Buchungen.mandant = t_kontenbewegungen.mandant) AND (T_Buchungen.ID = "
    "t_kontenbewegungen.Buchungen_id) LEFT JOIN T_Kontenplan ON T_Kontenplan.Kontonummer = "
    "t_kontenbewegungen.Konten_Nr\n"
    "WHERE ((T_Zeitraum.id) = :zeitraum) AND ((T_Buchungen.Buchungsdatum) Between :von And :bis) "
    "AND ((T_Buchungen.mandant) = :mandant)\n"
    "GROUP BY 1, 2, 3, 4, 5, 8, 9\n"
    "ORDER BY 1, 3, 4, 5, 8, 9;";

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
    q.nurVorwaerts();
    parameterSetzen(q, r);
    q.exec();
    std::vector<Posten> out;
    while (q.next()) {
        Posten p;
        p.Konto = q.value(0).toInt();
        if (!q.value(1).isNull())
            p.Kontosatz = steuersatz::ausZehntel(steuersatz::zehntel(q.value(1).toDouble()));
        p.Buchungssatz = steuersatz::ausZehntel(steuersatz::zehntel(q.value(2).toDouble()));
        p.KFZ = q.value(3).toInt() == 1;
        p.Gebaeude = q.value(4).toInt() == 1;
        p.St_Betrag = auswertung::betrag(q.value(5));
        p.Betrag = auswertung::betrag(q.value(6));
        if (!q.value(7).isNull())
            p.Steuerschuld = q.value(7).toInt();
        p.SteuerfreiKZ = q.value(8).toString();
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

bool istEUVorsteuerkonto(const Posten& p) {
    return p.Kontosatz && p.Konto == 2021;
}

bool zaehltAlsVorsteuer(const Posten& p) {
    return p.Kontosatz && ((p.Konto >= 2000 && p.Konto <= 2999) || p.Konto == 3000);
}

namespace {

struct Paar {
    Currency netto;
    Currency steuer;
};

// Acquisitions by rate in tenths; reverse charge and construction apart.
struct Erwerbe {
    std::map<int, Paar> ig;
    std::map<int, Currency> igAbzug;
    Paar rc, bau;
    Currency rcAbzug, bauAbzug;
    bool hatRc = false, hatBau = false;
};

Erwerbe erwerbe(const std::vector<Posten>& posten) {
    Erwerbe e;
    for (const Posten& p : posten) {
        const bool schuld = istEUKonto(p);
        if (!schuld && !istEUVorsteuerkonto(p))
            continue;
        const int satz = steuersatz::zehntel(p.Buchungssatz);
        if (p.Steuerschuld == steuerschuld::ReverseCharge) {
            e.hatRc = true;
            if (schuld)
                e.rc = {e.rc.netto + p.Betrag, e.rc.steuer + p.St_Betrag};
            else
                e.rcAbzug += p.St_Betrag;
        } else if (p.Steuerschuld == steuerschuld::Bauleistung) {
            e.hatBau = true;
            if (schuld)
                e.bau = {e.bau.netto + p.Betrag, e.bau.steuer + p.St_Betrag};
            else
                e.bauAbzug += p.St_Betrag;
        } else if (schuld) {
            Paar& z = e.ig[satz];
            z = {z.netto + p.Betrag, z.steuer + p.St_Betrag};
        } else {
            e.igAbzug[satz] += p.St_Betrag;
        }
    }
    return e;
}

QString erwerbText(const char* vor, int zehntel) {
    return QStringLiteral("%1 aus innergem. Erwerb %2%")
        .arg(QLatin1String(vor), steuersatz::text(steuersatz::ausZehntel(zehntel)));
}

} // namespace

std::vector<Summenzeile> ustZeilen(const std::vector<Posten>& posten) {
    const Erwerbe e = erwerbe(posten);
    std::vector<Summenzeile> out;
    if (e.ig.empty())
        out.push_back({erwerbText("Umsatzsteuer", 200), Currency(), Currency()});
    for (const auto& [satz, z] : e.ig)
        out.push_back({erwerbText("Umsatzsteuer", satz), z.netto, z.steuer});
    if (e.hatRc)
        out.push_back(
            {QStringLiteral("Steuerschuld Reverse Charge (§ 19 Abs. 1)"), e.rc.netto, e.rc.steuer});
    if (e.hatBau)
        out.push_back({QStringLiteral("Steuerschuld Bauleistungen (§ 19 Abs. 1a)"), e.bau.netto,
                       e.bau.steuer});
    const Summen s = summen(posten);
    out.push_back(
        {QStringLiteral("Gesamtsumme"), s.BemessungSumme(), s.USTSumme(), Summenzeile::Art::Summe});
    return out;
}

std::vector<Summenzeile> vstZeilen(const std::vector<Posten>& posten) {
    const Erwerbe e = erwerbe(posten);
    const Summen s = summen(posten);
    std::vector<Summenzeile> out{
        {QStringLiteral("Vorsteuer"), std::nullopt, s.Vorsteuer},
        {QStringLiteral("Davon Vorsteuer KFZ (KZ 027)"), std::nullopt, s.KFZ,
         Summenzeile::Art::Davon},
        {QStringLiteral("Davon Vorsteuer Gebäude (KZ 028)"), std::nullopt, s.Gebaeude,
         Summenzeile::Art::Davon},
        {QStringLiteral("Einfuhrumsatzsteuer"), std::nullopt, s.Einfuhr},
    };
    if (e.igAbzug.empty())
        out.push_back({erwerbText("Vorsteuer", 200), std::nullopt, Currency()});
    for (const auto& [satz, steuer] : e.igAbzug)
        out.push_back({erwerbText("Vorsteuer", satz), std::nullopt, steuer});
    if (e.hatRc)
        out.push_back(
            {QStringLiteral("Vorsteuer Reverse Charge (§ 19 Abs. 1)"), std::nullopt, e.rcAbzug});
    if (e.hatBau)
        out.push_back(
            {QStringLiteral("Vorsteuer Bauleistungen (§ 19 Abs. 1a)"), std::nullopt, e.bauAbzug});
    return out;
}

std::vector<Erloeszeile> erloeseJeSatz(const std::vector<Posten>& posten) {
    std::map<int, Erloeszeile> jeSatz;
    for (const Posten& p : posten) {
        if (!istErloeskonto(p))
            continue;
        Erloeszeile& z = jeSatz[steuersatz::zehntel(*p.Kontosatz)];
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
        } else if (istEUVorsteuerkonto(p)) {
            s.EUVorsteuer += p.St_Betrag;
        }
        // the tax owed on 1021 is no input tax: a marked acquisition counts once
        if (p.KFZ && zaehltAlsVorsteuer(p))
            s.KFZ += p.St_Betrag;
        if (p.Gebaeude && zaehltAlsVorsteuer(p))
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
