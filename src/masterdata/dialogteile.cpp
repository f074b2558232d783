#include "masterdata/dialogteile.h"

#include <QLabel>
#include <QPushButton>

namespace dialogteile {

QLabel* label(QWidget* parent, const char* objectName, const QString& text, bool bold) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(objectName));
    if (bold) {
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
    }
    return l;
}

QLabel* wertLabel(QWidget* parent, const char* objectName) {
    QLabel* l = label(parent, objectName, QString(), true);
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, QColor(0, 0, 128));
    l->setPalette(p);
    l->setTextFormat(Qt::PlainText);
    return l;
}

QPushButton* button(QWidget* parent, const char* objectName, const QString& text) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(objectName));
    return b;
}

} // namespace dialogteile
