#include "data/finanzamtliste.h"

#include "data/anzeige.h"
#include "data/dates.h"
#include "data/db.h"
#include "data/feldlaengen.h"

#include <stdexcept>

namespace {

enum Spalte { Buchungsdatum, Belegnummer, Text, BruttoBetrag, Steuersatz, VST, UST, Anzahl };

FeldArt artDerSpalte(int spalte) {
    switch (spalte) {
    case Buchungsdatum:
        return FeldArt::Datum;
    case Belegnummer:
    case Steuersatz:
        return FeldArt::Ganzzahl;
    case BruttoBetrag:
    case VST:
    case UST:
        return FeldArt::Waehrung;
    default:
        return FeldArt::Text;
    }
}

} // namespace

FinanzamtListe::FinanzamtListe(Datenbank& db, QObject* parent) : QSqlQueryModel(parent), m_db(db) {}

QString FinanzamtListe::statement() {
    return QStringLiteral(
        "SELECT T_Buchungen.Buchungsdatum, T_Buchungen.Belegnummer, T_Buchungen.Text, "
        "iif([istdrittland]=1,0,iif([isteinnahme]=2,[betrag]*-1,[betrag])) AS BruttoBetrag, "
        "T_Buchungen.Steuersatz, iif([isteinnahme]=2,[St_betrag],0) AS VST, "
        "iif([isteu]=2,iif([isteinnahme]=1,[St_betrag],0),[St_betrag]) AS UST "
        "FROM T_Buchungen INNER JOIN (t_kontenbewegungen INNER JOIN T_Kontenplan ON "
        "t_kontenbewegungen.Konten_Nr = T_Kontenplan.Kontonummer) ON (T_Buchungen.ID = "
        "t_kontenbewegungen.Buchungen_id) AND (T_Buchungen.mandant = t_kontenbewegungen.mandant) "
        "WHERE (((T_Buchungen.Wirtschaftsjahr)=:zeitraum) AND ((T_Buchungen.Buchungsdatum) "
        "Between :von And :bis) AND ((T_Buchungen.mandant)=:mandant)) "
        "AND t_kontenbewegungen.Konten_Nr <> 2021 "
        "ORDER BY T_Buchungen.Buchungsdatum, T_Buchungen.ID;");
}

std::vector<ListenSpalte> FinanzamtListe::spalten() {
    const auto s = [](const char* name, int breite) {
        return ListenSpalte{QLatin1String(name), QLatin1String(name), breite, {}};
    };
    return {s("Buchungsdatum", 90), s("Belegnummer", 70), s("Text", 180), s("BruttoBetrag", 70),
            s("Steuersatz", 70),    s("VST", 60),         s("UST", 60)};
}

std::vector<FeldArt> FinanzamtListe::arten() {
    std::vector<FeldArt> out;
    for (int i = 0; i < Anzahl; ++i)
        out.push_back(artDerSpalte(i));
    return out;
}

std::vector<int> FinanzamtListe::breiten() {
    std::vector<int> out(Anzahl, 0);
    out[Text] = feldlaenge::Buchungstext;
    return out;
}

namespace {

Sql ausgefuehrt(Datenbank& db, bool vorwaerts, int zeitraum, const QDate& von, const QDate& bis,
                int mandant) {
    Sql q = db.sql(FinanzamtListe::statement());
    if (vorwaerts)
        q.nurVorwaerts();
    q.bind(QStringLiteral("zeitraum"), zeitraum)
        .bind(QStringLiteral("von"), dates::toSql(von))
        .bind(QStringLiteral("bis"), dates::toSql(bis))
        .bind(QStringLiteral("mandant"), mandant)
        .exec();
    return q;
}

} // namespace

QSqlQuery FinanzamtListe::abfrage(Datenbank& db, int zeitraum, const QDate& von, const QDate& bis,
                                  int mandant) {
    return ausgefuehrt(db, true, zeitraum, von, bis, mandant).take();
}

void FinanzamtListe::starten(int zeitraum, const QDate& von, const QDate& bis, int mandant) {
    schliessen();
    setQuery(ausgefuehrt(m_db, false, zeitraum, von, bis, mandant).take());
    m_zeitraum = zeitraum;
    m_von = von;
    m_bis = bis;
    m_mandant = mandant;
    m_offen = true;
}

QSqlQuery FinanzamtListe::exportAbfrage() const {
    if (!m_offen)
        throw std::logic_error("FinanzamtListe::exportAbfrage on a closed list");
    return abfrage(m_db, m_zeitraum, m_von, m_bis, m_mandant);
}

void FinanzamtListe::schliessen() {
    clear();
    m_offen = false;
}

QVariant FinanzamtListe::data(const QModelIndex& idx, int role) const {
    if (!idx.isValid())
        return QVariant();
    if (role == Qt::TextAlignmentRole) {
        const FeldArt art = artDerSpalte(idx.column());
        const bool rechts = art == FeldArt::Ganzzahl || art == FeldArt::Waehrung;
        return QVariant(rechts ? Qt::AlignRight | Qt::AlignVCenter
                               : Qt::AlignLeft | Qt::AlignVCenter);
    }
    if (role != Qt::DisplayRole && role != ZahlRolle && role != DatumRolle)
        return QSqlQueryModel::data(idx, role);
    return wert(idx.column(), QSqlQueryModel::data(idx, Qt::DisplayRole), role);
}

void FinanzamtListe::multiData(const QModelIndex& idx, QModelRoleDataSpan roleDataSpan) const {
    // the export asks for the text and the typed value of every cell: one read of the row
    QVariant roh;
    bool gelesen = false;
    for (QModelRoleData& r : roleDataSpan) {
        const int role = r.role();
        if (idx.isValid() && (role == Qt::DisplayRole || role == ZahlRolle || role == DatumRolle)) {
            if (!gelesen) {
                roh = QSqlQueryModel::data(idx, Qt::DisplayRole);
                gelesen = true;
            }
            r.setData(wert(idx.column(), roh, role));
        } else {
            r.setData(data(idx, role));
        }
    }
}

QVariant FinanzamtListe::wert(int spalte, const QVariant& roh, int role) {
    return anzeige::wert(artDerSpalte(spalte), roh, role);
}

QVariant FinanzamtListe::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == FeldArtRolle && section >= 0 && section < Anzahl)
        return static_cast<int>(artDerSpalte(section));
    if (orientation == Qt::Horizontal && role == FeldBreiteRolle && section == Text)
        return feldlaenge::Buchungstext;
    return QSqlQueryModel::headerData(section, orientation, role);
}
