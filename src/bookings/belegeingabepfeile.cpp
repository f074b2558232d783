#include "bookings/belegeingabepfeile.h"

#include <QKeyEvent>
#include <QPainter>
#include <QToolButton>
#include <QVBoxLayout>

Belegeingabepfeile::Belegeingabepfeile(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    auto* layout = new QVBoxLayout(this);
    // room for the focus frame around the arrows
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(0);
    const auto pfeil = [this, layout](Qt::ArrowType typ, const char* name, bool hoch) {
        auto* b = new QToolButton(this);
        b->setObjectName(QLatin1String(name));
        b->setArrowType(typ);
        b->setFocusPolicy(Qt::NoFocus);
        b->setAutoRepeat(true);
        b->setFixedSize(18, 11);
        layout->addWidget(b);
        connect(b, &QToolButton::clicked, this, [this, hoch] { emit geklickt(hoch); });
        return b;
    };
    Hoch = pfeil(Qt::UpArrow, "UpDown1Hoch", true);
    Runter = pfeil(Qt::DownArrow, "UpDown1Runter", false);
}

void Belegeingabepfeile::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Up) {
        emit geklickt(true);
    } else if (event->key() == Qt::Key_Down) {
        emit geklickt(false);
    } else {
        QWidget::keyPressEvent(event);
    }
}

void Belegeingabepfeile::paintEvent(QPaintEvent*) {
    if (!hasFocus())
        return;
    QPainter p(this);
    p.setPen(QPen(palette().color(QPalette::Highlight), 1));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void Belegeingabepfeile::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update();
}

void Belegeingabepfeile::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update();
}
