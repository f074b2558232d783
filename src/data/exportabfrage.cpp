#include "data/exportabfrage.h"

#include "data/dates.h"

void ExportAbfrage::oeffnen(QSqlQuery ausgefuehrt, std::vector<FeldArt> arten,
                            std::vector<int> breiten) {
    schliessen();
    m_arten = std::move(arten);
    m_breiten = std::move(breiten);
    setQuery(std::move(ausgefuehrt));
    m_offen = true;
}

void ExportAbfrage::schliessen() {
    clear();
    m_arten.clear();
    m_breiten.clear();
    m_offen = false;
}

FeldArt ExportAbfrage::art(int spalte) const {
    if (spalte < 0 || spalte >= static_cast<int>(m_arten.size()))
        return FeldArt::Text;
    return m_arten[static_cast<size_t>(spalte)];
}

QVariant ExportAbfrage::data(const QModelIndex& idx, int role) const {
    if (!idx.isValid())
        return QVariant();
    const FeldArt a = art(idx.column());
    if (role == Qt::TextAlignmentRole) {
        const bool rechts = a == FeldArt::Ganzzahl || a == FeldArt::Waehrung;
        return QVariant(rechts ? Qt::AlignRight | Qt::AlignVCenter
                               : Qt::AlignLeft | Qt::AlignVCenter);
    }
    if (role != Qt::DisplayRole && role != ZahlRolle && role != DatumRolle)
        return QSqlQueryModel::data(idx, role);
    return anzeige::wert(a, QSqlQueryModel::data(idx, Qt::DisplayRole), role);
}

QVariant ExportAbfrage::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == FeldArtRolle && section >= 0 &&
        section < static_cast<int>(m_arten.size()))
        return static_cast<int>(art(section));
    if (orientation == Qt::Horizontal && role == FeldBreiteRolle && section >= 0 &&
        section < static_cast<int>(m_breiten.size()) && m_breiten[static_cast<size_t>(section)] > 0)
        return m_breiten[static_cast<size_t>(section)];
    return QSqlQueryModel::headerData(section, orientation, role);
}
