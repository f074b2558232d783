#include "export/tdbgridexport.h"

#include "data/anzeige.h"

#include <QItemSelectionModel>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QSqlRecord>
#include <QTableView>

namespace {

int alignmentCode(const QVariant& v) {
    if (!v.isValid())
        return 0;
    const Qt::Alignment a = Qt::Alignment(v.toInt()) & Qt::AlignHorizontal_Mask;
    if (a & Qt::AlignRight)
        return 2;
    if (a & Qt::AlignHCenter)
        return 3;
    if (a & (Qt::AlignLeft | Qt::AlignJustify))
        return 1;
    return 0;
}

FieldKind kindOfMetaType(const QMetaType& type) {
    switch (type.id()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Short:
    case QMetaType::UShort:
        return FieldKind::Number;
    case QMetaType::QString:
        return FieldKind::String;
    case QMetaType::Bool:
        return FieldKind::Boolean;
    case QMetaType::QDate:
        return FieldKind::Date;
    case QMetaType::QTime:
        return FieldKind::Time;
    case QMetaType::QDateTime:
        return FieldKind::DateTime;
    case QMetaType::QByteArray:
        return FieldKind::Binary;
    case QMetaType::UnknownType:
        return FieldKind::Unknown;
    default:
        return FieldKind::Other;
    }
}

} // namespace

TDBGridExport::TDBGridExport(UserSeam& ui, const Clock& clock, QObject* parent)
    : TCustomExport(ui, clock, parent) {
    Messages.Caption = QStringLiteral("Exporting DBGrid");
}

QAbstractItemModel* TDBGridExport::model() const {
    if (m_grid)
        return m_grid->model();
    return m_model;
}

void TDBGridExport::BeginExport() {
    if (!m_grid)
        return;
    m_remembered = m_grid->currentIndex();
    // the grid does not follow the run
    m_updatesWereEnabled = m_grid->updatesEnabled();
    m_grid->setUpdatesEnabled(false);
}

void TDBGridExport::EndExport() {
    if (!m_grid)
        return;
    if (m_remembered.isValid() && m_grid->currentIndex() != m_remembered)
        m_grid->setCurrentIndex(m_remembered);
    m_remembered = QPersistentModelIndex();
    m_grid->setUpdatesEnabled(m_updatesWereEnabled);
}

void TDBGridExport::FirstRow() {
    m_row = 0;
}

int TDBGridExport::ColumnAlignment(int i) {
    const QAbstractItemModel* m = model();
    if (!m || i < 0 || i >= m->columnCount())
        return 0;
    if (m->rowCount() > 0)
        return alignmentCode(m->data(m->index(0, i), Qt::TextAlignmentRole));
    return alignmentCode(m->headerData(i, Qt::Horizontal, Qt::TextAlignmentRole));
}

bool TDBGridExport::CanExport() {
    const QAbstractItemModel* m = model();
    if (!m)
        return false;
    if (const auto* sql = qobject_cast<const QSqlQueryModel*>(m))
        return sql->query().isActive();
    return true;
}

bool TDBGridExport::AllRowsDone() {
    const QAbstractItemModel* m = model();
    return !m || (!m->canFetchMore(QModelIndex()) && m->rowCount() == rowsProcessed());
}

bool TDBGridExport::ColumnVisible(int i) {
    const QAbstractItemModel* m = model();
    if (!m || i < 0 || i >= m->columnCount())
        return false;
    return !m_grid || !m_grid->isColumnHidden(i);
}

bool TDBGridExport::RowSelected() {
    if (!m_grid || !m_grid->selectionModel())
        return false;
    const auto mode = m_grid->selectionMode();
    if (mode != QAbstractItemView::MultiSelection && mode != QAbstractItemView::ExtendedSelection)
        return false;
    return m_grid->selectionModel()->isRowSelected(m_row - 1, QModelIndex());
}

int TDBGridExport::DefaultColumnWidth(int i) {
    const QAbstractItemModel* m = model();
    if (!m || i < 0 || i >= m->columnCount())
        return 0;
    const QVariant art = m->headerData(i, Qt::Horizontal, FeldArtRolle);
    if (art.isValid()) {
        switch (static_cast<FeldArt>(art.toInt())) {
        case FeldArt::Ganzzahl:
        case FeldArt::Waehrung:
            return defaultWidthFor(FieldKind::Number, 0);
        case FeldArt::Datum:
            return defaultWidthFor(FieldKind::Date, 0);
        case FeldArt::Text:
            return defaultWidthFor(FieldKind::String,
                                   m->headerData(i, Qt::Horizontal, FeldBreiteRolle).toInt());
        }
    }
    if (const auto* sql = qobject_cast<const QSqlQueryModel*>(m)) {
        const QSqlField field = sql->record().field(i);
        return defaultWidthFor(kindOfMetaType(field.metaType()), field.length());
    }
    return defaultWidthFor(FieldKind::Other, 0);
}

QString TDBGridExport::ColumnCaption(int i) {
    const QAbstractItemModel* m = model();
    return m ? m->headerData(i, Qt::Horizontal, Qt::DisplayRole).toString() : QString();
}

int TDBGridExport::ColumnCount() {
    const QAbstractItemModel* m = model();
    return m ? m->columnCount() : 0;
}

bool TDBGridExport::ReadRow(TExportValues& values) {
    QAbstractItemModel* m = model();
    if (!m)
        return false;
    while (m_row >= m->rowCount() && m->canFetchMore(QModelIndex()))
        m->fetchMore(QModelIndex());
    if (m_row >= m->rowCount())
        return false;
    const int n = m->columnCount();
    values.assign(static_cast<size_t>(n), QVariant());
    m_typed.assign(static_cast<size_t>(n), QVariant());
    for (int i = 0; i < n; ++i) {
        // one call per cell: a model may read its value once for all three roles
        QModelRoleData roles[] = {QModelRoleData(Qt::DisplayRole), QModelRoleData(ZahlRolle),
                                  QModelRoleData(DatumRolle)};
        m->multiData(m->index(m_row, i), roles);
        values[static_cast<size_t>(i)] = roles[0].data().toString();
        m_typed[static_cast<size_t>(i)] =
            roles[1].data().isValid() ? roles[1].data() : roles[2].data();
    }
    ++m_row;
    return true;
}

QVariant TDBGridExport::TypedValue(int i) {
    return i >= 0 && i < static_cast<int>(m_typed.size()) ? m_typed[static_cast<size_t>(i)]
                                                          : QVariant();
}

void TDBGridExport::fetchAll() {
    QAbstractItemModel* m = model();
    while (m && m->canFetchMore(QModelIndex()))
        m->fetchMore(QModelIndex());
}

int TDBGridExport::CountRows() {
    FirstRow();
    QAbstractItemModel* m = model();
    if (!m)
        return 0;
    // the grid is not repainted while the rows are stepped through
    const bool repaint = m_grid && m_grid->updatesEnabled();
    if (repaint)
        m_grid->setUpdatesEnabled(false);
    fetchAll();
    if (repaint)
        m_grid->setUpdatesEnabled(true);
    return m->rowCount();
}
