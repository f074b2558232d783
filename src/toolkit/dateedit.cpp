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
