#include "toolkit/dateedit.h"

#include <QKeyEvent>

DateEdit::DateEdit(QWidget* parent) : QDateEdit(parent) {}

void DateEdit::keyPressEvent(QKeyEvent* event) {
    const QString text = event->text();
    if (text == QLatin1String(".") && m_weitergerueckt) {
        m_weitergerueckt = false;
        event->accept();
        return;
    }
    const Section vorher = currentSection();
    QDateEdit::keyPressEvent(event);
    const bool ziffer = text.size() == 1 && text.front().isDigit();
    m_weitergerueckt = ziffer && currentSection() != vorher;
}

void DateEdit::focusInEvent(QFocusEvent* event) {
    m_weitergerueckt = false;
    QDateEdit::focusInEvent(event);
}

bool DateEdit::event(QEvent* event) {
    // QDateTimeEdit would walk day, month and year first, and a voucher
    // number typed after three Tabs would land in the month. A separator
    // or an arrow still moves between the sections.
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool tab = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
        if (tab && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            const bool vor = key->key() == Qt::Key_Tab && !(key->modifiers() & Qt::ShiftModifier);
            QWidget::focusNextPrevChild(vor);
            event->accept();
            return true;
        }
    }
    return QDateEdit::event(event);
}
