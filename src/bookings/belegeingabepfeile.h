#pragma once

#include <QWidget>

class QToolButton;

// Up and down arrows beside the date picker: one day on or back per click,
// also with the arrow keys while they have the focus, which a frame shows.
class Belegeingabepfeile final : public QWidget {
    Q_OBJECT
public:
    explicit Belegeingabepfeile(QWidget* parent = nullptr);

    QToolButton* Hoch = nullptr;
    QToolButton* Runter = nullptr;

signals:
    void geklickt(bool hoch);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};
