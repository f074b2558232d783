#include "reports/tabelle.h"

#include "data/dates.h"

#include <QFont>

QString Tabelle::text(const QVariant& wert) {
    if (wert.isNull() || !wert.isValid())
        return QString();
    if (wert.metaType() == QMetaType::fromType<Currency>())
        return wert.value<Currency>().format();
    if (wert.metaType() == QMetaType::fromType<QDate>())
        return dates::format(wert.toDate());
    return wert.toString();
}

std::vector<QStringList> Tabelle::texte() const {
    std::vector<QStringList> out;
    out.reserve(zeilen.size());
    for (const auto& zeile : zeilen) {
        QStringList z;
        for (const QVariant& wert : zeile)
            z << text(wert);
        out.push_back(z);
    }
    return out;
}

void TabellenModell::setTabelle(Tabelle tabelle) {
    beginResetModel();
    m_tabelle = std::move(tabelle);
    endResetModel();
}

int TabellenModell::schluessel(int zeile) const {
    if (zeile < 0 || zeile >= static_cast<int>(m_tabelle.schluessel.size()))
        return 0;
    return m_tabelle.schluessel[static_cast<size_t>(zeile)];
}

int TabellenModell::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_tabelle.zeilen.size());
}

int TabellenModell::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_tabelle.spalten.size());
}

QVariant TabellenModell::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount())
        return QVariant();
    const auto& zeile = m_tabelle.zeilen[static_cast<size_t>(index.row())];
    const QVariant wert = zeile.at(static_cast<size_t>(index.column()));
    const FeldArt art = m_tabelle.spalten[static_cast<size_t>(index.column())].art;
    switch (role) {
    case Qt::DisplayRole:
        return Tabelle::text(wert);
    case ZahlRolle:
        return art == FeldArt::Waehrung && !wert.isNull() ? wert : QVariant();
    case DatumRolle:
        return art == FeldArt::Datum && !wert.isNull() ? wert : QVariant();
    case Qt::TextAlignmentRole:
        if (art == FeldArt::Waehrung)
            return QVariant(Qt::AlignRight | Qt::AlignVCenter);
        return QVariant();
    case Qt::FontRole:
        if (schluessel(index.row()) == 0) {
            QFont fett;
            fett.setBold(true);
            return fett;
        }
        return QVariant();
    default:
        return QVariant();
    }
}

QVariant TabellenModell::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount())
        return QVariant();
    const Tabelle::Spalte& s = m_tabelle.spalten[static_cast<size_t>(section)];
    if (role == Qt::DisplayRole)
        return s.titel;
    if (role == FeldArtRolle)
        return static_cast<int>(s.art);
    if (role == Qt::TextAlignmentRole && s.art == FeldArt::Waehrung)
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    return QVariant();
}
