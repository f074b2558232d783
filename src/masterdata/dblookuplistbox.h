#pragma once

#include <QListView>
#include <optional>

class QAbstractItemModel;

// A list of one display column of a model whose entries are identified by a
// key column. The marked entry's key survives a requery of the model, as long
// as a row with that key is still there.
class DBLookupListBox final : public QListView {
    Q_OBJECT
public:
    explicit DBLookupListBox(QWidget* parent = nullptr);

    void setSource(QAbstractItemModel* model, const QString& keyField, const QString& listField);

    // The key of the marked entry; nullopt when nothing is marked.
    std::optional<int> keyValue() const;
    // Marks the entry with this key, or nothing when there is none.
    void setKeyValue(std::optional<int> key);
    // The displayed text of the marked entry.
    QString markedText() const;

signals:
    // Double-click or Enter on a marked entry.
    void entryChosen();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    int rowOf(int key);

    int m_keyColumn = 0;
    std::optional<int> m_keptKey;
};
