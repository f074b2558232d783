#pragma once

#include "data/anzeige.h"

#include <QAbstractTableModel>
#include <QStringList>
#include <vector>

// A small computed table (the year-end reports) with typed cells: texts,
// dates (QDate) and amounts (Currency); a null cell stays empty. The same
// rows make the report's texts, the window's list and the grid export.
struct Tabelle {
    struct Spalte {
        QString titel;
        FeldArt art = FeldArt::Text;
    };
    std::vector<Spalte> spalten;
    std::vector<std::vector<QVariant>> zeilen;
    // Per row: what it stands for (an asset's id), 0 for a total.
    std::vector<int> schluessel;

    // A cell as the lists and reports show it: "1.234,56", "15.03.2026".
    static QString text(const QVariant& wert);
    std::vector<QStringList> texte() const;
};

// The table for a grid and its export: display texts, the typed values in
// ZahlRolle and DatumRolle, the column kinds in FeldArtRolle, amounts right
// aligned and the rows without a key (the totals) bold.
class TabellenModell final : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    void setTabelle(Tabelle tabelle);
    const Tabelle& tabelle() const { return m_tabelle; }
    // The key of a row; 0 outside the rows and for a total.
    int schluessel(int zeile) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    Tabelle m_tabelle;
};
