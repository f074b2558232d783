#include "data/buchung.h"

#include "data/dates.h"
#include "data/db.h"
#include "data/steuersatz.h"
#include "data/texte.h"

namespace {

QVariant nullOder(const std::optional<int>& v) {
    return v ? QVariant(*v) : QVariant(QMetaType(QMetaType::Int));
}

QVariant textOderNull(const QString& s) {
    return s.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(texte::einzeilig(s));
}

int code(const QVariant& v) {
    return !v.isNull() && v.toInt() == buchungscode::Ja ? buchungscode::Ja : buchungscode::Nein;
}

std::optional<int> optionalInt(const QVariant& v) {
    if (v.isNull())
        return std::nullopt;
    return v.toInt();
}

// whole rates stay the integers old files and their readers know
QVariant satzWert(double satz) {
    const int z = steuersatz::zehntel(satz);
    return z % 10 == 0 ? QVariant(z / 10) : QVariant(steuersatz::ausZehntel(z));
}

Sql& bindeSpalten(Sql& q, const Buchung& b) {
    return q.bind("id", b.ID)
        .bind("mandant", b.mandant)
        .bind("wirtschaftsjahr", b.Wirtschaftsjahr)
        .bind("buchungsdatum", b.Buchungsdatum.isValid() ? QVariant(dates::toSql(b.Buchungsdatum))
                                                         : QVariant(QMetaType(QMetaType::QString)))
        .bind("belegnummer", nullOder(b.Belegnummer))
        .bind("text", textOderNull(b.Text))
        .bind("steuersatz", satzWert(b.Steuersatz))
        .bind("betrag", static_cast<qlonglong>(b.Betrag.units()))
        .bind("bk", nullOder(b.BK))
        .bind("isteinnahme", b.IstEinnahme)
        .bind("isteu", b.IstEU)
        .bind("istdrittland", b.IstDrittland)
        .bind("istkfz", b.IstKFZ)
        .bind("istgebaeude", b.IstGebaeude)
        .bind("steuerschuld", nullOder(b.Steuerschuld))
        .bind("steuerfreikz", textOderNull(b.SteuerfreiKZ));
}

} // namespace

namespace buchungstabelle {

QString spalten() {
    return QStringLiteral(
        "ID, mandant, Wirtschaftsjahr, Buchungsdatum, Belegnummer, Text, Steuersatz, "
        "Betrag, BK, IstEinnahme, IstEU, IstDrittland, IstKFZ, IstGebaeude, Steuerschuld, "
        "SteuerfreiKZ");
}

Buchung ausZeile(const QSqlQuery& q) {
    Buchung b;
    b.ID = q.value(0).toInt();
    b.mandant = q.value(1).toInt();
    b.Wirtschaftsjahr = q.value(2).toInt();
    b.Buchungsdatum = dates::fromSql(q.value(3).toString());
    b.Belegnummer = optionalInt(q.value(4));
    b.Text = q.value(5).toString();
    b.Steuersatz = steuersatz::ausZehntel(steuersatz::zehntel(q.value(6).toDouble()));
    b.Betrag = Currency::fromUnits(q.value(7).toLongLong());
    b.BK = optionalInt(q.value(8));
    b.IstEinnahme = code(q.value(9));
    b.IstEU = code(q.value(10));
    b.IstDrittland = code(q.value(11));
    b.IstKFZ = code(q.value(12));
    b.IstGebaeude = code(q.value(13));
    b.Steuerschuld = optionalInt(q.value(14));
    b.SteuerfreiKZ = q.value(15).toString();
    return b;
}

std::optional<Buchung> lesen(Datenbank& db, int id, int mandant) {
    Sql q = db.wiederverwendet(
        QStringLiteral("select %1 from T_Buchungen where ID = :id and mandant = :mandant")
            .arg(spalten()));
    q.bind("id", id).bind("mandant", mandant).exec();
    if (!q.next())
        return std::nullopt;
    return ausZeile(q.query());
}

void einfuegen(Datenbank& db, const Buchung& b) {
    Sql q = db.wiederverwendet(QStringLiteral(
        "insert into T_Buchungen (ID, mandant, Wirtschaftsjahr, Buchungsdatum, Belegnummer, Text, "
        "Steuersatz, Betrag, BK, IstEinnahme, IstEU, IstDrittland, IstKFZ, IstGebaeude, "
        "Steuerschuld, SteuerfreiKZ) values "
        "(:id, :mandant, :wirtschaftsjahr, :buchungsdatum, :belegnummer, :text, :steuersatz, "
        ":betrag, :bk, :isteinnahme, :isteu, :istdrittland, :istkfz, :istgebaeude, "
        ":steuerschuld, :steuerfreikz)"));
    bindeSpalten(q, b).exec();
}

bool aendern(Datenbank& db, const Buchung& b) {
    Sql q = db.sql(QStringLiteral(
        "update T_Buchungen set Wirtschaftsjahr = :wirtschaftsjahr, "
        "Buchungsdatum = :buchungsdatum, Belegnummer = :belegnummer, Text = :text, "
        "Steuersatz = :steuersatz, Betrag = :betrag, BK = :bk, IstEinnahme = :isteinnahme, "
        "IstEU = :isteu, IstDrittland = :istdrittland, IstKFZ = :istkfz, "
        "IstGebaeude = :istgebaeude, Steuerschuld = :steuerschuld, "
        "SteuerfreiKZ = :steuerfreikz where ID = :id and mandant = :mandant"));
    bindeSpalten(q, b).exec();
    return q.rowsAffected() > 0;
}

int loeschen(Datenbank& db, int id, int mandant) {
    Sql q = db.sql(QStringLiteral("delete from t_buchungen where id = :id and mandant = :mandant"));
    q.bind("id", id).bind("mandant", mandant).exec();
    return q.rowsAffected();
}

QStringList texte(Datenbank& db, int mandant, int zeitraum) {
    Sql q = db.sql(
        // GROUP BY rather than DISTINCT: PostgreSQL sorts a DISTINCT only by
        // what it selects, and the German order is another expression
        QStringLiteral(" SELECT T_Buchungen.Mandant, T_Buchungen.Text  FROM T_Buchungen  "
                       "where mandant = :mandant AND  Wirtschaftsjahr = :zeitraum "
                       "GROUP BY T_Buchungen.Mandant, T_Buchungen.Text "
                       "ORDER BY T_Buchungen.Text COLLATE DEUTSCH"));
    q.bind("mandant", mandant).bind("zeitraum", zeitraum).exec();
    QStringList result;
    while (q.next()) {
        const QString text = q.value(1).toString();
        result << (text.isEmpty() ? QStringLiteral(" ") : text);
    }
    return result;
}

} // namespace buchungstabelle
