#pragma once

#include <QLabel>

// A label that is also a command: a left click emits clicked().
class KlickLabel final : public QLabel {
    Q_OBJECT
public:
    explicit KlickLabel(QWidget* parent = nullptr);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};
