#pragma once

#include "export/tcustomexport.h"

#include <QPersistentModelIndex>
#include <QPointer>
#include <QTableView>

class QAbstractItemModel;

// The export of a grid: the rows of the model behind a table view, column by
// column as the view shows them (visibility, alignment, title). Without a
// view (a command-line run) it exports a model with every column visible.
class TDBGridExport final : public TCustomExport {
    Q_OBJECT
public:
    TDBGridExport(UserSeam& ui, const Clock& clock, QObject* parent = nullptr);

    // The grid whose rows are exported; forgotten when the grid goes.
    void setDBGrid(QTableView* grid) { m_grid = grid; }
    QTableView* DBGrid() const { return m_grid; }
    // A model exported without a view.
    void setModel(QAbstractItemModel* model) { m_model = model; }
    QAbstractItemModel* model() const;

protected:
    void BeginExport() override;
    void EndExport() override;
    void FirstRow() override;
    int ColumnAlignment(int i) override;
    bool CanExport() override;
    bool AllRowsDone() override;
    bool ColumnVisible(int i) override;
    bool RowSelected() override;
    int DefaultColumnWidth(int i) override;
    QString ColumnCaption(int i) override;
    int ColumnCount() override;
    bool ReadRow(TExportValues& values) override;
    int CountRows() override;
    QVariant TypedValue(int i) override;

private:
    void fetchAll();

    QPointer<QTableView> m_grid;
    QPointer<QAbstractItemModel> m_model;
    QPersistentModelIndex m_remembered;
    bool m_updatesWereEnabled = true;
    int m_row = 0;
    TExportValues m_typed;
};
