#pragma once

#include "data/listenspalte.h"

#include <QAbstractProxyModel>
#include <QHash>
#include <vector>

class QTableView;

// Shows chosen fields of a flat source model as columns in a given order,
// with their own titles and alignments. Fields are found by name, so the
// source may be re-run (reset) with any statement that has them; rows pass
// through unchanged and still load lazily.
class GridSpaltenModell final : public QAbstractProxyModel {
    Q_OBJECT
public:
    explicit GridSpaltenModell(std::vector<ListenSpalte> spalten, QObject* parent = nullptr);

    const std::vector<ListenSpalte>& spalten() const { return m_spalten; }
    // The source column of a column; -1 when the source lacks its field.
    int quellSpalte(int spalte) const;
    // Fills a column the source lacks with texts looked up by the row's value
    // of another field (a circle's Kennzahl by its id); rows without one stay empty.
    void setNachschlagen(int spalte, const QString& schluesselFeld, QHash<int, QString> texte);

    void setSourceModel(QAbstractItemModel* source) override;
    QModelIndex index(int row, int column,
                      const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    QModelIndex sibling(int row, int column, const QModelIndex& idx) const override;
    bool hasChildren(const QModelIndex& parent = QModelIndex()) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex mapToSource(const QModelIndex& proxyIndex) const override;
    QModelIndex mapFromSource(const QModelIndex& sourceIndex) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    void zuordnen();

    QVariant nachgeschlagen(const QModelIndex& idx) const;

    std::vector<ListenSpalte> m_spalten;
    std::vector<int> m_quelle;
    int m_nachschlagSpalte = -1;
    QString m_schluesselFeld;
    QHash<int, QString> m_texte;
    QList<QMetaObject::Connection> m_verbindungen;
};

// A read-only list grid: titles and grid lines, whole rows selected one at
// a time, the selection shown also without focus, never edited in place;
// columns the user can widen; a cell whose text is cut shows the whole text
// as its tooltip.
// A cell whose model answers true for this role is drawn in grey: a row the
// user may look at but not change.
inline constexpr int AusgegrautRole = Qt::UserRole + 1;

void listenGridEinrichten(QTableView& grid);

// True when the cell's text is wider than the room its column gives it.
bool zelleAbgeschnitten(const QTableView& grid, const QModelIndex& index);

// Shows source in grid through a GridSpaltenModell of spalten (parented to
// the grid), with the columns' widths; a width the user has set survives a
// requery.
GridSpaltenModell* gridBinden(QTableView& grid, QAbstractItemModel& source,
                              std::vector<ListenSpalte> spalten);

// The grid's current row; the first row when there are rows but none is
// current; -1 for an empty list.
int aktuelleZeile(const QTableView& grid);
// Makes the first row current, as a freshly opened list has it.
void ersteZeileWaehlen(QTableView& grid);
