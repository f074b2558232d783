#include "reports/e1a.h"

#include "data/db.h"
#include "reports/anlagenverzeichnis.h"

#include <map>
#include <set>

namespace e1a {

namespace {

const Kennzahl* bekannt(int nummer) {
    for (const Kennzahl& k : bekannte())
        if (k.nummer == nummer)
            return &k;
    return nullptr;
}

std::optional<QString> eigenerText(Datenbank& db, int mandant, int nummer) {
    Sql q = db.sql(
        QStringLiteral("select Text from T_E1aText where mandant = :mandant and Kennzahl = :kz"));
    q.bind("mandant", mandant).bind("kz", nummer).exec();
    if (!q.next())
        return std::nullopt;
    return q.value(0).toString();
}

QString text(Datenbank& db, int mandant, int nummer) {
    if (const Kennzahl* k = bekannt(nummer))
        return k->text;
    return eigenerText(db, mandant, nummer).value_or(QString());
}

} // namespace

const std::vector<Kennzahl>& bekannte() {
    static const std::vector<Kennzahl> liste = {
        {9040, QStringLiteral("Erlöse"), true},
        {9090, QStringLiteral("übrige Betriebseinnahmen"), true},
        {9100, QStringLiteral("Waren, Rohstoffe, Hilfsstoffe"), false},
        {9130, QStringLiteral("Abschreibungen"), false},
        {9230, QStringLiteral("übrige Betriebsausgaben"), false},
    };
    return liste;
}

QString kreisName(Datenbank& db, int mandant, int bk) {
    Sql kreis =
        db.sql(QStringLiteral("select BKName from T_BKreis where id = :bk and mandant = :mandant"));
    kreis.bind("bk", bk).bind("mandant", mandant).exec();
    if (!kreis.next())
        throw DatenbankFehler(
            QStringLiteral("Den Buchungskreis %1 gibt es beim aktuellen Mandanten nicht.").arg(bk));
    return kreis.value(0).toString();
}

void zuordnen(Datenbank& db, int mandant, int bk, const Zuordnung& z,
              std::optional<bool> istEinnahme, const std::optional<QString>& neuerText) {
    Transaktion t(db);
    kreisName(db, mandant, bk);
    Zuordnung neu = z;
    if (z.art == Zuordnung::Art::Kennzahl) {
        if (z.kennzahl < 1000 || z.kennzahl > 9999)
            throw DatenbankFehler(QStringLiteral("Eine Kennzahl hat vier Ziffern."));
        const Kennzahl* k = bekannt(z.kennzahl);
        if (k && neuerText && *neuerText != k->text)
            throw DatenbankFehler(
                QStringLiteral("Die Kennzahl %1 hat ihren Text: %2.").arg(k->nummer).arg(k->text));
        if (!k && !istEinnahme)
            throw DatenbankFehler(QStringLiteral("Bei der Kennzahl %1 fehlt die Seite "
                                                 "(Einnahme oder Ausgabe).")
                                      .arg(z.kennzahl));
        if (!k && (!neuerText || neuerText->trimmed().isEmpty()) &&
            !eigenerText(db, mandant, z.kennzahl))
            throw DatenbankFehler(
                QStringLiteral("Der Text der Kennzahl %1 fehlt.").arg(z.kennzahl));
        neu.istEinnahme = istEinnahme ? *istEinnahme : k->istEinnahme;
        if (!k && neuerText && !neuerText->trimmed().isEmpty()) {
            // replaced as a pair, which both engines take the same way
            db.sql(QStringLiteral(
                       "delete from T_E1aText where mandant = :mandant and Kennzahl = :kz"))
                .bind("mandant", mandant)
                .bind("kz", z.kennzahl)
                .exec();
            db.sql(QStringLiteral("insert into T_E1aText (mandant, Kennzahl, Text) "
                                  "values (:mandant, :kz, :text)"))
                .bind("mandant", mandant)
                .bind("kz", z.kennzahl)
                .bind("text", neuerText->trimmed())
                .exec();
        }
    }
    db.sql(QStringLiteral("delete from T_E1aKreis where mandant = :mandant and BK = :bk"))
        .bind("mandant", mandant)
        .bind("bk", bk)
        .exec();
    if (neu.art != Zuordnung::Art::Keine)
        db.sql(QStringLiteral("insert into T_E1aKreis (mandant, BK, Kennzahl, IstEinnahme, "
                              "IstAnlage) values (:mandant, :bk, :kz, :ein, :anlage)"))
            .bind("mandant", mandant)
            .bind("bk", bk)
            .bind("kz", neu.art == Zuordnung::Art::Kennzahl ? QVariant(neu.kennzahl) : QVariant())
            .bind("ein", neu.istEinnahme ? 1 : 0)
            .bind("anlage", neu.art == Zuordnung::Art::Anlage ? 1 : 0)
            .exec();
    t.commit();
}

Zuordnung zuordnung(Datenbank& db, int mandant, int bk) {
    Sql q = db.sql(QStringLiteral("select Kennzahl, IstEinnahme, IstAnlage from T_E1aKreis "
                                  "where mandant = :mandant and BK = :bk"));
    q.bind("mandant", mandant).bind("bk", bk).exec();
    Zuordnung z;
    if (!q.next())
        return z;
    if (q.value(2).toInt() == 1)
        z.art = Zuordnung::Art::Anlage;
    else if (!q.value(0).isNull()) {
        z.art = Zuordnung::Art::Kennzahl;
        z.kennzahl = q.value(0).toInt();
        z.istEinnahme = q.value(1).toInt() == 1;
    }
    return z;
}

std::vector<Kennzahl> eigene(Datenbank& db, int mandant) {
    Sql q = db.sql(QStringLiteral(
        "select Kennzahl, Text from T_E1aText where mandant = :mandant order by Kennzahl"));
    q.bind("mandant", mandant).exec();
    std::vector<Kennzahl> out;
    while (q.next())
        if (!bekannt(q.value(0).toInt()))
            out.push_back({q.value(0).toInt(), q.value(1).toString(), false});
    return out;
}

QString anlagenzugang() {
    return QStringLiteral("Anlagenzugang");
}

QHash<int, QString> kreisTexte(Datenbank& db, int mandant) {
    Sql q = db.sql(QStringLiteral(
        "select T_E1aKreis.BK, T_E1aKreis.Kennzahl, T_E1aKreis.IstEinnahme, "
        "T_E1aKreis.IstAnlage, T_E1aText.Text from T_E1aKreis left join T_E1aText on "
        "T_E1aText.mandant = T_E1aKreis.mandant and T_E1aText.Kennzahl = T_E1aKreis.Kennzahl "
        "where T_E1aKreis.mandant = :mandant"));
    q.bind("mandant", mandant).exec();
    QHash<int, QString> out;
    while (q.next()) {
        const int bk = q.value(0).toInt();
        if (q.value(3).toInt() == 1) {
            out.insert(bk, anlagenzugang());
            continue;
        }
        if (q.value(1).isNull())
            continue;
        const int nummer = q.value(1).toInt();
        const bool einnahme = q.value(2).toInt() == 1;
        const Kennzahl* k = bekannt(nummer);
        QString text =
            QString::number(nummer) + QLatin1Char(' ') + (k ? k->text : q.value(4).toString());
        if (!k || k->istEinnahme != einnahme)
            text += einnahme ? QStringLiteral(" (Einnahme)") : QStringLiteral(" (Ausgabe)");
        out.insert(bk, text);
    }
    return out;
}

Zusammenfassung rechnen(Datenbank& db, int mandant, int zeitraum, int jahr) {
    std::set<int> benannt;
    for (const auto& e : anlagenverzeichnis::alle(db, mandant))
        if (e.buchungsid)
            benannt.insert(*e.buchungsid);

    // the circle evaluation's rows: net per booking, of an acquisition only the 1021 posting
    Sql q = db.sql(QStringLiteral(
        "select iif([isteu]=1,[betrag],[betrag]-[st_betrag]) as netto, T_Buchungen.IstEinnahme, "
        "T_Buchungen.BK, T_BKreis.BKName, T_Buchungen.ID, T_E1aKreis.Kennzahl, "
        "T_E1aKreis.IstEinnahme, T_E1aKreis.IstAnlage "
        "from (T_BKreis inner join T_Buchungen on T_BKreis.mandant = T_Buchungen.mandant and "
        "T_BKreis.id = T_Buchungen.BK) inner join t_kontenbewegungen on T_Buchungen.ID = "
        "t_kontenbewegungen.Buchungen_id and T_Buchungen.mandant = t_kontenbewegungen.mandant "
        "left join T_E1aKreis on T_E1aKreis.mandant = T_Buchungen.mandant and T_E1aKreis.BK = "
        "T_Buchungen.BK "
        "where T_Buchungen.Wirtschaftsjahr = :zeitraum and t_kontenbewegungen.Konten_Nr <> 2021 "
        "and T_Buchungen.mandant = :mandant "
        "order by T_BKreis.BKName COLLATE DEUTSCH, T_Buchungen.BK, T_Buchungen.Buchungsdatum, "
        "T_Buchungen.ID"));
    q.bind("zeitraum", zeitraum).bind("mandant", mandant).exec();

    Zusammenfassung s;
    std::map<int, Currency> kennzahlen;
    std::vector<std::pair<int, Betrag>> ohne; // by circle, in name order
    Currency ergebnis;
    while (q.next()) {
        const Currency netto = Currency::fromUnits(q.value(0).toLongLong());
        const bool einnahme = q.value(1).toInt() == 1;
        const int bk = q.value(2).toInt();
        const QString name = q.value(3).toString();
        const Currency wirkung = einnahme ? netto : -netto;
        if (q.value(7).toInt() == 1 && !einnahme) {
            // a purchase the register depreciates; one it does not know is shown
            if (!benannt.count(q.value(4).toInt()))
                s.ohneAnlage.push_back({QStringLiteral("ohne Anlage"), name, netto});
            continue;
        }
        ergebnis += wirkung;
        if (!q.value(5).isNull()) {
            // a refund in an expense circle lowers it, and the other way round
            const bool seite = q.value(6).toInt() == 1;
            kennzahlen[q.value(5).toInt()] += einnahme == seite ? netto : -netto;
            continue;
        }
        if (ohne.empty() || ohne.back().first != bk)
            ohne.push_back({bk, {QStringLiteral("ohne Kennzahl"), name, Currency()}});
        ohne.back().second.betrag += wirkung;
    }

    s.abschreibung = anlagenverzeichnis::jahr(db, mandant, jahr).summe.jahr.afa;
    if (s.abschreibung != Currency())
        kennzahlen[kAbschreibungen] += s.abschreibung;
    for (const auto& [nummer, betrag] : kennzahlen)
        s.kennzahlen.push_back({QString::number(nummer), text(db, mandant, nummer), betrag});
    for (auto& [_, b] : ohne)
        s.ohneKennzahl.push_back(b);
    s.gewinn = ergebnis - s.abschreibung;
    return s;
}

} // namespace e1a
