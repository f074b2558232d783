#include "toolkit/gridspalten.h"

#include <algorithm>
#include <memory>

#include <QHeaderView>
#include <QHelpEvent>
#include <QSqlQueryModel>
#include <QSqlRecord>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QToolTip>

namespace {

// Cells draw as before; a cut text is offered whole as the tooltip, as
// plain text. Over an uncut cell the grid's own hint stays.
class ListenDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        if (index.data(AusgegrautRole).toBool()) {
            option->palette.setColor(QPalette::Text, QColor(0x80, 0x80, 0x80));
            option->palette.setColor(QPalette::HighlightedText, QColor(0xd0, 0xd0, 0xd0));
        }
    }

    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override {
        auto* grid = qobject_cast<QTableView*>(view);
        if (event->type() != QEvent::ToolTip || !grid || !zelleAbgeschnitten(*grid, index))
            return false;
        const QString text = index.data(Qt::DisplayRole).toString();
        QToolTip::showText(event->globalPos(),
                           QStringLiteral("<p style='white-space:pre'>") + text.toHtmlEscaped() +
                               QStringLiteral("</p>"),
                           view->viewport(), view->visualRect(index));
        Q_UNUSED(option);
        return true;
    }
};

} // namespace

bool zelleAbgeschnitten(const QTableView& grid, const QModelIndex& index) {
    if (!index.isValid())
        return false;
    const QString text = index.data(Qt::DisplayRole).toString();
    if (text.isEmpty())
        return false;
    // the room the style leaves the text: the cell less a margin each side
    const int rand = grid.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &grid) + 1;
    const int raum = grid.columnWidth(index.column()) - (grid.showGrid() ? 1 : 0) - 2 * rand;
    return grid.fontMetrics().horizontalAdvance(text) > raum;
}

// The narrowest column that shows text uncut.
static int spaltenbreiteFuer(const QTableView& grid, const QString& text) {
    const int rand = grid.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &grid) + 1;
    return grid.fontMetrics().horizontalAdvance(text) + 2 * rand + (grid.showGrid() ? 1 : 0);
}

GridSpaltenModell::GridSpaltenModell(std::vector<ListenSpalte> spalten, QObject* parent)
    : QAbstractProxyModel(parent), m_spalten(std::move(spalten)), m_quelle(m_spalten.size(), -1) {}

int GridSpaltenModell::quellSpalte(int spalte) const {
    if (spalte < 0 || spalte >= static_cast<int>(m_quelle.size()))
        return -1;
    return m_quelle[static_cast<size_t>(spalte)];
}

void GridSpaltenModell::setNachschlagen(int spalte, const QString& schluesselFeld,
                                        QHash<int, QString> texte) {
    m_nachschlagSpalte = spalte;
    m_schluesselFeld = schluesselFeld;
    m_texte = std::move(texte);
    if (rowCount() > 0 && spalte >= 0 && spalte < columnCount())
        emit dataChanged(index(0, spalte), index(rowCount() - 1, spalte));
}

QVariant GridSpaltenModell::nachgeschlagen(const QModelIndex& idx) const {
    const auto* sql = qobject_cast<const QSqlQueryModel*>(sourceModel());
    const int feld = sql ? sql->record().indexOf(m_schluesselFeld) : -1;
    if (feld < 0)
        return QString();
    const QVariant schluessel = sql->data(sql->index(idx.row(), feld));
    return schluessel.isNull() ? QString() : m_texte.value(schluessel.toInt());
}

void GridSpaltenModell::zuordnen() {
    QAbstractItemModel* source = sourceModel();
    const auto* sql = qobject_cast<const QSqlQueryModel*>(source);
    for (size_t i = 0; i < m_spalten.size(); ++i) {
        int gefunden = -1;
        if (sql) {
            gefunden = sql->record().indexOf(m_spalten[i].feld);
        } else if (source) {
            for (int c = 0; c < source->columnCount(); ++c) {
                if (source->headerData(c, Qt::Horizontal)
                        .toString()
                        .compare(m_spalten[i].feld, Qt::CaseInsensitive) == 0) {
                    gefunden = c;
                    break;
                }
            }
        }
        m_quelle[i] = gefunden;
    }
}

void GridSpaltenModell::setSourceModel(QAbstractItemModel* source) {
    beginResetModel();
    for (const auto& v : std::as_const(m_verbindungen))
        disconnect(v);
    m_verbindungen.clear();
    QAbstractProxyModel::setSourceModel(source);
    if (source) {
        auto nurWurzel = [](const QModelIndex& p) { return !p.isValid(); };
        m_verbindungen << connect(source, &QAbstractItemModel::modelAboutToBeReset, this,
                                  [this] { beginResetModel(); })
                       << connect(source, &QAbstractItemModel::modelReset, this,
                                  [this] {
                                      zuordnen();
                                      endResetModel();
                                  })
                       << connect(source, &QAbstractItemModel::rowsAboutToBeInserted, this,
                                  [this, nurWurzel](const QModelIndex& p, int first, int last) {
                                      if (nurWurzel(p))
                                          beginInsertRows(QModelIndex(), first, last);
                                  })
                       << connect(source, &QAbstractItemModel::rowsInserted, this,
                                  [this, nurWurzel](const QModelIndex& p) {
                                      if (nurWurzel(p))
                                          endInsertRows();
                                  })
                       << connect(source, &QAbstractItemModel::rowsAboutToBeRemoved, this,
                                  [this, nurWurzel](const QModelIndex& p, int first, int last) {
                                      if (nurWurzel(p))
                                          beginRemoveRows(QModelIndex(), first, last);
                                  })
                       << connect(source, &QAbstractItemModel::rowsRemoved, this,
                                  [this, nurWurzel](const QModelIndex& p) {
                                      if (nurWurzel(p))
                                          endRemoveRows();
                                  })
                       // a change of the source's columns is a new layout of ours
                       << connect(source, &QAbstractItemModel::columnsAboutToBeInserted, this,
                                  [this] { beginResetModel(); })
                       << connect(source, &QAbstractItemModel::columnsInserted, this,
                                  [this] {
                                      zuordnen();
                                      endResetModel();
                                  })
                       << connect(source, &QAbstractItemModel::columnsAboutToBeRemoved, this,
                                  [this] { beginResetModel(); })
                       << connect(source, &QAbstractItemModel::columnsRemoved, this,
                                  [this] {
                                      zuordnen();
                                      endResetModel();
                                  })
                       << connect(source, &QAbstractItemModel::dataChanged, this,
                                  [this](const QModelIndex& tl, const QModelIndex& br,
                                         const QList<int>& roles) {
                                      if (columnCount() > 0 && tl.isValid() && br.isValid())
                                          emit dataChanged(index(tl.row(), 0),
                                                           index(br.row(), columnCount() - 1),
                                                           roles);
                                  })
                       << connect(source, &QAbstractItemModel::layoutAboutToBeChanged, this,
                                  [this] { emit layoutAboutToBeChanged(); })
                       << connect(source, &QAbstractItemModel::layoutChanged, this,
                                  [this] { emit layoutChanged(); });
    }
    zuordnen();
    endResetModel();
}

QModelIndex GridSpaltenModell::index(int row, int column, const QModelIndex& parent) const {
    if (parent.isValid() || row < 0 || column < 0 || row >= rowCount() || column >= columnCount())
        return QModelIndex();
    return createIndex(row, column);
}

QModelIndex GridSpaltenModell::parent(const QModelIndex&) const {
    return QModelIndex();
}

QModelIndex GridSpaltenModell::sibling(int row, int column, const QModelIndex&) const {
    return index(row, column);
}

bool GridSpaltenModell::hasChildren(const QModelIndex& parent) const {
    return !parent.isValid() && rowCount() > 0;
}

int GridSpaltenModell::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() || !sourceModel())
        return 0;
    return sourceModel()->rowCount();
}

int GridSpaltenModell::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_spalten.size());
}

QModelIndex GridSpaltenModell::mapToSource(const QModelIndex& proxyIndex) const {
    if (!proxyIndex.isValid() || !sourceModel())
        return QModelIndex();
    const int c = quellSpalte(proxyIndex.column());
    if (c < 0)
        return QModelIndex();
    return sourceModel()->index(proxyIndex.row(), c);
}

QModelIndex GridSpaltenModell::mapFromSource(const QModelIndex& sourceIndex) const {
    if (!sourceIndex.isValid())
        return QModelIndex();
    for (size_t i = 0; i < m_quelle.size(); ++i) {
        if (m_quelle[i] == sourceIndex.column())
            return index(sourceIndex.row(), static_cast<int>(i));
    }
    return QModelIndex();
}

QVariant GridSpaltenModell::data(const QModelIndex& idx, int role) const {
    if (!idx.isValid())
        return QVariant();
    if (role == Qt::TextAlignmentRole) {
        const Qt::Alignment a = m_spalten[static_cast<size_t>(idx.column())].ausrichtung;
        if (a != Qt::Alignment())
            return QVariant(a);
    }
    if (idx.column() == m_nachschlagSpalte && quellSpalte(idx.column()) < 0)
        return role == Qt::DisplayRole ? nachgeschlagen(idx) : QVariant();
    const QModelIndex s = mapToSource(idx);
    return s.isValid() ? s.data(role) : QVariant();
}

QVariant GridSpaltenModell::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal) {
        if (section < 0 || section >= columnCount())
            return QVariant();
        if (role == Qt::DisplayRole)
            return m_spalten[static_cast<size_t>(section)].titel;
        return QVariant();
    }
    if (role == Qt::DisplayRole)
        return section + 1;
    return QVariant();
}

Qt::ItemFlags GridSpaltenModell::flags(const QModelIndex& idx) const {
    if (!idx.isValid())
        return Qt::NoItemFlags;
    // lists are read-only: a change goes through a command
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled;
}

void listenGridEinrichten(QTableView& grid) {
    grid.setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid.setSelectionBehavior(QAbstractItemView::SelectRows);
    grid.setSelectionMode(QAbstractItemView::SingleSelection);
    grid.setShowGrid(true);
    grid.setWordWrap(false);
    // a narrow column clips its text, as data grids do, instead of hiding it behind "..."
    grid.setTextElideMode(Qt::ElideNone);
    grid.setTabKeyNavigation(false);
    grid.setSortingEnabled(false);
    grid.horizontalHeader()->setVisible(true);
    grid.horizontalHeader()->setHighlightSections(false);
    grid.horizontalHeader()->setSectionsMovable(false);
    grid.horizontalHeader()->setStretchLastSection(false);
    grid.horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    grid.setItemDelegate(new ListenDelegate(&grid));
    grid.verticalHeader()->setVisible(false);
    grid.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid.verticalHeader()->setDefaultSectionSize(grid.fontMetrics().height() + 4);
    // the selection stays visible when the grid loses the focus
    QPalette p = grid.palette();
    p.setColor(QPalette::Inactive, QPalette::Highlight,
               p.color(QPalette::Active, QPalette::Highlight));
    p.setColor(QPalette::Inactive, QPalette::HighlightedText,
               p.color(QPalette::Active, QPalette::HighlightedText));
    grid.setPalette(p);
}

GridSpaltenModell* gridBinden(QTableView& grid, QAbstractItemModel& source,
                              std::vector<ListenSpalte> spalten) {
    auto* modell = new GridSpaltenModell(std::move(spalten), &grid);
    modell->setSourceModel(&source);
    grid.setModel(modell);
    // the designed widths, each at least as wide as the widest text it must show
    // What a column needs beyond its design is taken from the widest column,
    // so that the grid keeps its designed total width and no scroll bar appears.
    auto entwurf = [&grid, modell] {
        QList<int> b;
        int mehr = 0;
        int breiteste = -1;
        int breitesteEntworfen = 0;
        for (const ListenSpalte& s : modell->spalten()) {
            const int entworfen =
                s.breite > 0 ? s.breite : grid.horizontalHeader()->defaultSectionSize();
            int w = entworfen;
            if (!s.breitesterText.isEmpty())
                w = std::max(w, spaltenbreiteFuer(grid, s.breitesterText));
            mehr += w - entworfen;
            if (entworfen > breitesteEntworfen) {
                breiteste = static_cast<int>(b.size());
                breitesteEntworfen = entworfen;
            }
            b << w;
        }
        if (breiteste >= 0 && mehr > 0)
            b[breiteste] = std::max(b[breiteste] / 2, b[breiteste] - mehr);
        return b;
    };
    auto setzen = [&grid](const QList<int>& breiten) {
        for (int i = 0; i < breiten.size(); ++i)
            grid.setColumnWidth(i, breiten[i]);
    };
    setzen(entwurf());
    // a requery resets the header; the widths the user gave the columns stay
    auto gemerkt = std::make_shared<QList<int>>();
    QObject::connect(modell, &QAbstractItemModel::modelAboutToBeReset, &grid, [&grid, gemerkt] {
        gemerkt->clear();
        for (int i = 0; i < grid.horizontalHeader()->count(); ++i)
            *gemerkt << grid.columnWidth(i);
    });
    QObject::connect(modell, &QAbstractItemModel::modelReset, &grid,
                     [modell, gemerkt, entwurf, setzen] {
                         const bool gleich = gemerkt->size() == modell->columnCount();
                         setzen(gleich ? *gemerkt : entwurf());
                     });
    return modell;
}

int aktuelleZeile(const QTableView& grid) {
    const QAbstractItemModel* m = grid.model();
    if (!m || m->rowCount() == 0)
        return -1;
    const QModelIndex c = grid.currentIndex();
    return c.isValid() ? c.row() : 0;
}

void ersteZeileWaehlen(QTableView& grid) {
    QAbstractItemModel* m = grid.model();
    if (m && m->rowCount() > 0)
        grid.setCurrentIndex(m->index(0, 0));
}
