#include "bank/vorschlag.h"
#include "data/steuersatz.h"

#include "bank/bankbuchung.h"
#include "bookings/buchungspruefung.h"
#include "data/buchung.h"
#include "data/db.h"
#include "data/texte.h"

namespace vorschlag {

QStringList merkmalNamen(const Merkmale& m) {
    const std::pair<bool, const char*> merkmale[] = {{m.eu, "EU"},
                                                     {m.drittland, "Drittland"},
                                                     {m.reverseCharge, "Reverse Charge"},
                                                     {m.bauleistung, "Bauleistung"},
                                                     {m.kfz, "KFZ"},
                                                     {m.gebaeude, "Gebäude"}};
    QStringList out;
    for (const auto& [gesetzt, name] : merkmale)
        if (gesetzt)
            out << QString::fromUtf8(name);
    return out;
}

QString beschreibung(const Vorschlag& v) {
    QStringList teile{QStringLiteral("BK %1").arg(v.bk),
                      QStringLiteral("%1 %").arg(steuersatz::text(v.steuersatz)),
                      v.einnahme ? QStringLiteral("Einnahme") : QStringLiteral("Ausgabe")};
    teile << merkmalNamen(v.merkmale);
    if (v.herkunft == Vorschlag::Herkunft::Regel)
        teile << QStringLiteral("Regel %1").arg(v.regel);
    else if (v.herkunft == Vorschlag::Herkunft::Gelernt)
        teile << QStringLiteral("gelernt");
    return teile.join(QStringLiteral(", "));
}

QString buchungstext(const Auszugszeile& z, const QString& vorlage) {
    QString t;
    if (vorlage.isEmpty()) {
        t = QStringList{z.gegenpartei, z.text}.join(QLatin1Char(' ')).trimmed();
    } else {
        t = vorlage;
        t.replace(QLatin1String("{gegenpartei}"), z.gegenpartei);
        t.replace(QLatin1String("{text}"), z.text);
    }
    return texte::ersteZeichen(texte::einzeilig(t).simplified(), buchungspruefung::TextLaenge);
}

} // namespace vorschlag

Vorschlaege::Vorschlaege(Datenbank& db, int mandant)
    : m_db(db), m_mandant(mandant), m_regeln(bankregeln::lesen(db, mandant)) {}

std::optional<Vorschlag> Vorschlaege::fuer(const Auszugszeile& z) {
    const bool einnahme = z.betrag >= Currency();
    for (const Bankregel& r : m_regeln) {
        if ((r.richtung == Bankregel::Richtung::Einnahme && !einnahme) ||
            (r.richtung == Bankregel::Richtung::Ausgabe && einnahme))
            continue;
        const bool trifft = r.iban.isEmpty()
                                ? z.text.contains(r.enthaelt, Qt::CaseInsensitive) ||
                                      z.gegenpartei.contains(r.enthaelt, Qt::CaseInsensitive)
                                : !z.iban.isEmpty() && z.iban == r.iban;
        if (!trifft)
            continue;
        Vorschlag v;
        v.bk = r.bk;
        v.steuersatz = r.steuersatz;
        v.einnahme = einnahme;
        v.merkmale = r.merkmale;
        v.text = vorschlag::buchungstext(z, r.textvorlage);
        v.herkunft = Vorschlag::Herkunft::Regel;
        v.regel = r.id;
        return v;
    }
    auto v = gelernt(z);
    if (v) {
        v->einnahme = einnahme;
        v->text = vorschlag::buchungstext(z);
    }
    return v;
}

std::optional<Vorschlag> Vorschlaege::gelernt(const Auszugszeile& z) {
    std::optional<Vorschlag> v;
    if (!z.iban.isEmpty())
        v = gelerntNach(true, z.iban);
    if (!v && !z.gegenpartei.isEmpty())
        v = gelerntNach(false, z.gegenpartei);
    return v;
}

std::optional<Vorschlag> Vorschlaege::gelerntNach(bool iban, const QString& wert) {
    const QString schluessel = (iban ? QLatin1Char('I') : QLatin1Char('N')) + wert;
    if (const auto it = m_gelernt.constFind(schluessel); it != m_gelernt.constEnd())
        return *it;
    Sql q = m_db.wiederverwendet(
        iban ? QStringLiteral("select Buchungsid from T_BankZeile where mandant = :mandant "
                              "and IBAN = :wert order by id desc limit 1")
             : QStringLiteral("select Buchungsid from T_BankZeile where mandant = :mandant "
                              "and Gegenpartei = :wert order by id desc limit 1"));
    q.bind("mandant", m_mandant).bind("wert", wert).exec();
    std::optional<Vorschlag> v;
    if (q.next())
        if (const auto b = buchungstabelle::lesen(m_db, q.value(0).toInt(), m_mandant))
            v = bankbuchung::vorschlagAus(*b);
    m_gelernt.insert(schluessel, v);
    return v;
}
