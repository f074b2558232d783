#include "data/buchungsliste.h"
#include "data/datenbankpruefung.h"

#include "data/buchung.h"
#include "data/currency.h"
#include "data/dates.h"
#include "data/db.h"
#include "data/steuerfreikz.h"
#include "data/steuersatz.h"

#include <QSqlRecord>
#include <cmath>

namespace {

// The tax column is a computed fraction of ten-thousandths.
Currency ausBruchteil(const QVariant& v) {
    return Currency::fromUnits(static_cast<std::int64_t>(std::llround(v.toDouble())));
}

} // namespace

Buchungsliste::Buchungsliste(Datenbank& db, bool einnahme, QObject* parent)
    : QSqlQueryModel(parent), m_db(db), m_einnahme(einnahme) {}

QString Buchungsliste::statement(bool einnahme) {
    // the divisor needs a real operand: SQLite divides integers as integers
    return QStringLiteral(
               "SELECT T_Buchungen.Buchungsdatum, T_Buchungen.Belegnummer, T_Buchungen.Text, "
               "T_Buchungen.Steuersatz, T_Buchungen.Betrag, "
               "T_Buchungen.Betrag-(T_Buchungen.Betrag/((T_Buchungen.Steuersatz+100)/100.0)) AS "
               "%1, "
               "T_BKreis.BKKurz, T_Buchungen.ID AS Buchungsid, T_Buchungen.SteuerfreiKZ, "
               "T_Buchungen.Steuerschuld "
               "FROM T_BKreis INNER JOIN T_Buchungen ON (T_BKreis.mandant = T_Buchungen.mandant) "
               "AND (T_BKreis.id = T_Buchungen.BK) "
               "WHERE (((T_Buchungen.IstEinnahme)=%2) AND "
               "((T_Buchungen.Wirtschaftsjahr)=:Zeitraum) "
               "AND ((T_Buchungen.mandant)=:mandant)) "
               "ORDER BY T_Buchungen.Buchungsdatum DESC , T_Buchungen.ID;")
        .arg(einnahme ? QStringLiteral("Ust") : QStringLiteral("Vst"),
             QString::number(einnahme ? 1 : 2));
}

std::vector<ListenSpalte> Buchungsliste::spalten(bool einnahme) {
    const bool e = einnahme;
    return {
        {QStringLiteral("Buchungsdatum"), QStringLiteral("Buchungsdatum"), e ? 83 : 82,
         Qt::AlignRight | Qt::AlignVCenter},
        {QStringLiteral("Belegnummer"), QStringLiteral("Belegnummer"), 71, {}},
        {QStringLiteral("Steuersatz"), QStringLiteral("Steuersatz"), 56, {}},
        {QStringLiteral("Betrag"),
         QStringLiteral("Betrag"),
         e ? 66 : 68,
         {},
         QStringLiteral("-99.999.999,99")},
        {QStringLiteral("Text"), QStringLiteral("Buchungstext"), e ? 161 : 159, {}},
        {QStringLiteral("BKKurz"), QStringLiteral("BK"), e ? 23 : 24, Qt::AlignCenter},
    };
}

void Buchungsliste::starten(int zeitraum, int mandant) {
    datenbankpruefung::typenSicherstellen(m_db);
    Sql q = m_db.sql(statement(m_einnahme));
    q.bind(QStringLiteral("Zeitraum"), zeitraum).bind(QStringLiteral("mandant"), mandant).exec();
    m_zeitraum = zeitraum;
    m_mandant = mandant;
    m_gestartet = true;
    setQuery(q.take());
}

void Buchungsliste::requery() {
    if (m_gestartet)
        starten(m_zeitraum, m_mandant);
}

void Buchungsliste::queryChange() {
    const QSqlRecord r = record();
    m_spalteDatum = r.indexOf(QStringLiteral("Buchungsdatum"));
    m_spalteBetrag = r.indexOf(QStringLiteral("Betrag"));
    m_spalteSteuer = r.indexOf(m_einnahme ? QStringLiteral("Ust") : QStringLiteral("Vst"));
    m_spalteId = r.indexOf(QStringLiteral("Buchungsid"));
    m_spalteText = r.indexOf(QStringLiteral("Text"));
    m_spalteKurz = r.indexOf(QStringLiteral("BKKurz"));
    m_spalteSatz = r.indexOf(QStringLiteral("Steuersatz"));
    m_spalteKZ = r.indexOf(QStringLiteral("SteuerfreiKZ"));
    m_spalteSchuld = r.indexOf(QStringLiteral("Steuerschuld"));
}

std::optional<int> Buchungsliste::buchungsid(int row) const {
    if (row < 0 || row >= rowCount() || m_spalteId < 0)
        return std::nullopt;
    const QVariant v = QSqlQueryModel::data(index(row, m_spalteId));
    if (v.isNull())
        return std::nullopt;
    return v.toInt();
}

void Buchungsliste::setGesperrtBis(std::optional<QDate> bis) {
    if (bis == m_gesperrtBis)
        return;
    m_gesperrtBis = bis;
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), {GesperrtRole});
}

bool Buchungsliste::gesperrt(int row) const {
    if (!m_gesperrtBis || row < 0 || row >= rowCount() || m_spalteDatum < 0)
        return false;
    const QDate d = dates::fromSql(QSqlQueryModel::data(index(row, m_spalteDatum)).toString());
    return d.isValid() && d <= *m_gesperrtBis;
}

QStringList Buchungsliste::zeile(int row) const {
    QStringList texte;
    const QSqlRecord r = record();
    for (const ListenSpalte& s : spalten(m_einnahme))
        texte << data(index(row, r.indexOf(s.feld))).toString();
    return texte;
}

QVariant Buchungsliste::data(const QModelIndex& idx, int role) const {
    if (role == Qt::TextAlignmentRole) {
        if (!idx.isValid())
            return QVariant();
        // numbers stand right, as their fields always did
        const int c = idx.column();
        const bool links = c == m_spalteDatum || c == m_spalteText || c == m_spalteKurz;
        return QVariant(links ? Qt::AlignLeft | Qt::AlignVCenter
                              : Qt::AlignRight | Qt::AlignVCenter);
    }
    if (role == GesperrtRole)
        return gesperrt(idx.row());
    if (role == Qt::ToolTipRole)
        return steuerHinweis(idx.row());
    const QVariant v = QSqlQueryModel::data(idx, role);
    if (role != Qt::DisplayRole || v.isNull())
        return v;
    const int c = idx.column();
    if (c == m_spalteDatum)
        return dates::format(dates::fromSql(v.toString()));
    if (c == m_spalteBetrag)
        return Currency::fromUnits(v.toLongLong()).format();
    if (c == m_spalteSteuer)
        return ausBruchteil(v).format();
    if (c == m_spalteSatz)
        return steuersatz::text(v.toDouble());
    return v;
}

QVariant Buchungsliste::steuerHinweis(int row) const {
    if (row < 0 || row >= rowCount())
        return QVariant();
    if (m_spalteSchuld >= 0) {
        const QVariant schuld = QSqlQueryModel::data(index(row, m_spalteSchuld));
        if (!schuld.isNull() && schuld.toInt() == steuerschuld::ReverseCharge)
            return QStringLiteral("Reverse Charge (§ 19 Abs. 1)");
        if (!schuld.isNull() && schuld.toInt() == steuerschuld::Bauleistung)
            return QStringLiteral("Bauleistung (§ 19 Abs. 1a)");
    }
    if (m_spalteKZ >= 0) {
        const QString kz = QSqlQueryModel::data(index(row, m_spalteKZ)).toString();
        for (const steuerfreikz::Wahl& w : steuerfreikz::wahlen())
            if (w.wert == kz)
                return QStringLiteral("Kennzahl: ") + w.text;
    }
    return QVariant();
}
