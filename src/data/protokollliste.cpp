#include "data/protokollliste.h"

#include "data/aenderungsprotokoll.h"
#include "data/dates.h"
#include "data/db.h"

#include <QDateTime>
#include <map>

namespace {

// The columns after Nr, Zeitpunkt, Aktion and Buchung: one per logged field.
struct FeldSpalte {
    const char* feld;
    const char* titel;
};
constexpr FeldSpalte kFelder[] = {
    {"Buchungsdatum", "Buchungsdatum"}, {"Belegnummer", "Belegnummer"},
    {"Text", "Buchungstext"},           {"Betrag", "Betrag"},
    {"Steuersatz", "Steuersatz"},       {"BK", "BK"},
    {"IstEinnahme", "Einnahme"},        {"IstEU", "EU"},
    {"IstDrittland", "Drittland"},      {"IstKFZ", "KFZ"},
    {"IstGebaeude", "Gebäude"},         {"Kontenbewegungen", "Steuerbuchungen"},
};
constexpr int kErsteFeldspalte = 4;
constexpr int kAnzahlFelder = static_cast<int>(std::size(kFelder));
constexpr int kSpalteVorher = kErsteFeldspalte + kAnzahlFelder;

using Felder = std::map<QString, QString>;

Felder felder(const QVariant& v) {
    const auto f = aenderungsprotokoll::felder(v.toString());
    return Felder(f.begin(), f.end());
}

QString jaNein(const QString& code) {
    return code == QLatin1String("1")   ? QStringLiteral("ja")
           : code == QLatin1String("2") ? QStringLiteral("nein")
                                        : code;
}

} // namespace

Protokollliste::Protokollliste(Datenbank& db, QObject* parent) : QSqlQueryModel(parent), m_db(db) {}

void Protokollliste::starten(int mandant, int zeitraum, const Filter& filter) {
    QString sql = QStringLiteral("select id, Zeitpunkt, Aktion, Buchungsid, Vorher, Nachher "
                                 "from T_Protokoll where mandant = :mandant "
                                 "and Wirtschaftsjahr = :zeitraum");
    if (filter.buchung)
        sql += QStringLiteral(" and Buchungsid = :buchung");
    if (filter.von)
        sql += QStringLiteral(" and Zeitpunkt >= :von");
    if (filter.bis)
        sql += QStringLiteral(" and Zeitpunkt < :bis");
    sql += QStringLiteral(" order by id desc");
    Sql q = m_db.sql(sql);
    q.bind("mandant", mandant).bind("zeitraum", zeitraum);
    if (filter.buchung)
        q.bind("buchung", *filter.buchung);
    if (filter.von)
        q.bind("von", dates::toSql(*filter.von));
    if (filter.bis)
        q.bind("bis", dates::toSql(filter.bis->addDays(1)));
    q.exec();
    setQuery(q.take());
}

QStringList Protokollliste::titel() {
    QStringList t{QStringLiteral("Nr"), QStringLiteral("Zeitpunkt"), QStringLiteral("Aktion"),
                  QStringLiteral("Buchung")};
    for (const FeldSpalte& f : kFelder)
        t << QString::fromUtf8(f.titel);
    t << QStringLiteral("Vorher");
    return t;
}

int Protokollliste::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kSpalteVorher + 1;
}

QVariant Protokollliste::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < columnCount())
        return titel().at(section);
    return QSqlQueryModel::headerData(section, orientation, role);
}

Protokollliste::Roh Protokollliste::roh(int row) const {
    // the base model's values: record() would ask this model's data() again
    Roh r;
    for (int c = 0; c < 6; ++c)
        r.werte[static_cast<size_t>(c)] = QSqlQueryModel::data(QSqlQueryModel::index(row, c));
    return r;
}

QString Protokollliste::text(int row, int column) const {
    const Roh r = roh(row);
    switch (column) {
    case 0:
        return r.value(0).toString();
    case 1: {
        const QDateTime t = QDateTime::fromString(r.value(1).toString(), Qt::ISODate);
        return t.toString(QStringLiteral("dd.MM.yyyy hh:mm:ss"));
    }
    case 2:
        return r.value(2).toString();
    case 3:
        return r.value(3).toString();
    default:
        break;
    }
    const bool nachherLeer = r.value(5).toString().isEmpty();
    // a deletion shows what was deleted
    const Felder stand = felder(nachherLeer ? r.value(4) : r.value(5));
    if (column < kSpalteVorher) {
        const QString feld = QString::fromUtf8(kFelder[column - kErsteFeldspalte].feld);
        const auto it = stand.find(feld);
        if (it == stand.end())
            return {};
        return feld.startsWith(QLatin1String("Ist")) ? jaNein(it->second) : it->second;
    }
    // Vorher: the old values of a change; for a row without a booking its content
    const Felder vorher = felder(r.value(4));
    QStringList teile;
    if (r.value(3).isNull()) {
        for (const auto& [f, wert] : nachherLeer ? vorher : stand)
            teile << f + QStringLiteral(": ") + wert;
        return teile.join(QStringLiteral("; "));
    }
    if (nachherLeer)
        return {};
    for (const FeldSpalte& fs : kFelder) {
        const QString f = QString::fromUtf8(fs.feld);
        const auto alt = vorher.find(f);
        const auto neu = stand.find(f);
        if (alt != vorher.end() && (neu == stand.end() || neu->second != alt->second))
            teile << QString::fromUtf8(fs.titel) + QStringLiteral(": ") +
                         (f.startsWith(QLatin1String("Ist")) ? jaNein(alt->second) : alt->second);
    }
    return teile.join(QStringLiteral("; "));
}

bool Protokollliste::geaendert(int row, int column) const {
    if (column < kErsteFeldspalte || column >= kSpalteVorher)
        return false;
    const Roh r = roh(row);
    if (r.value(4).toString().isEmpty() || r.value(5).toString().isEmpty())
        return false;
    const QString feld = QString::fromUtf8(kFelder[column - kErsteFeldspalte].feld);
    const Felder alt = felder(r.value(4));
    const Felder neu = felder(r.value(5));
    const auto a = alt.find(feld);
    const auto n = neu.find(feld);
    return (a == alt.end()) != (n == neu.end()) ||
           (a != alt.end() && n != neu.end() && a->second != n->second);
}

QStringList Protokollliste::zeile(int row) const {
    QStringList t;
    for (int c = 0; c < columnCount(); ++c)
        t << text(row, c);
    return t;
}

QVariant Protokollliste::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return text(index.row(), index.column());
    case GeaendertRolle:
        return geaendert(index.row(), index.column());
    case Qt::ToolTipRole:
        if (geaendert(index.row(), index.column())) {
            const Felder alt = felder(roh(index.row()).value(4));
            const auto it =
                alt.find(QString::fromUtf8(kFelder[index.column() - kErsteFeldspalte].feld));
            return QStringLiteral("vorher: ") + (it == alt.end() ? QString() : it->second);
        }
        return {};
    default:
        return {};
    }
}
