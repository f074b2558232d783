#pragma once

#include "data/anzeige.h"

#include <QSqlQuery>
#include <QSqlQueryModel>
#include <vector>

// Query_Export: the rows of the latest data export, read by the grid export
// through this model. Each column has a kind, so its values show in the data
// layer's default form (dates "dd.mm.yyyy", amounts in their shortest form,
// a null as an empty text) with the typed value beside them.
class ExportAbfrage final : public QSqlQueryModel {
    Q_OBJECT
public:
    using QSqlQueryModel::QSqlQueryModel;

    // Takes an executed statement; arten has one kind per result column,
    // breiten the longest text of each text column (0: unknown).
    void oeffnen(QSqlQuery ausgefuehrt, std::vector<FeldArt> arten, std::vector<int> breiten = {});
    void schliessen();
    bool offen() const { return m_offen; }

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    FeldArt art(int spalte) const;

    std::vector<FeldArt> m_arten;
    std::vector<int> m_breiten;
    bool m_offen = false;
};
