#include "masterdata/dblookuplistbox.h"

#include <QKeyEvent>
#include <QSqlQueryModel>
#include <QSqlRecord>

namespace {

int column(QAbstractItemModel* model, const QString& field) {
    if (auto* sql = qobject_cast<QSqlQueryModel*>(model))
        return sql->record().indexOf(field);
    return -1;
}

} // namespace

DBLookupListBox::DBLookupListBox(QWidget* parent) : QListView(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
}

void DBLookupListBox::setSource(QAbstractItemModel* model, const QString& keyField,
                                const QString& listField) {
    setModel(model);
    auto columns = [this, model, keyField, listField] {
        m_keyColumn = std::max(0, column(model, keyField));
        setModelColumn(std::max(0, column(model, listField)));
    };
    columns();
    connect(model, &QAbstractItemModel::modelAboutToBeReset, this,
            [this] { m_keptKey = keyValue(); });
    connect(model, &QAbstractItemModel::modelReset, this, [this, columns] {
        columns();
        setKeyValue(m_keptKey);
    });
}

int DBLookupListBox::rowOf(int key) {
    QAbstractItemModel* m = model();
    if (!m)
        return -1;
    for (int row = 0;; ++row) {
        if (row >= m->rowCount()) {
            if (!m->canFetchMore(QModelIndex()))
                return -1;
            m->fetchMore(QModelIndex());
            if (row >= m->rowCount())
                return -1;
        }
        const QVariant k = m->index(row, m_keyColumn).data();
        if (!k.isNull() && k.toInt() == key)
            return row;
    }
}

std::optional<int> DBLookupListBox::keyValue() const {
    if (!model() || !selectionModel())
        return std::nullopt;
    const QModelIndexList marked = selectionModel()->selectedIndexes();
    if (marked.isEmpty())
        return std::nullopt;
    const QVariant k = model()->index(marked.front().row(), m_keyColumn).data();
    if (k.isNull())
        return std::nullopt;
    return k.toInt();
}

void DBLookupListBox::setKeyValue(std::optional<int> key) {
    if (!selectionModel())
        return;
    const int row = key ? rowOf(*key) : -1;
    if (row < 0) {
        selectionModel()->clear();
        return;
    }
    const QModelIndex index = model()->index(row, modelColumn());
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    scrollTo(index);
}

QString DBLookupListBox::markedText() const {
    if (!selectionModel())
        return QString();
    const QModelIndexList marked = selectionModel()->selectedIndexes();
    return marked.isEmpty() ? QString() : marked.front().data().toString();
}

void DBLookupListBox::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        // Enter chooses, like the double-click; it must not reach the dialog's buttons
        event->accept();
        if (keyValue())
            emit entryChosen();
        return;
    }
    QListView::keyPressEvent(event);
}

void DBLookupListBox::mouseDoubleClickEvent(QMouseEvent* event) {
    QListView::mouseDoubleClickEvent(event);
    if (indexAt(event->position().toPoint()).isValid())
        emit entryChosen();
}
