#include "app/tastenvorschau.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPointer>

Tastenvorschau::Tastenvorschau(QWidget& fenster, Handler handler)
    : QObject(&fenster), m_fenster(fenster), m_handler(std::move(handler)) {
    qApp->installEventFilter(this);
}

Tastenvorschau::~Tastenvorschau() {
    qApp->removeEventFilter(this);
}

bool Tastenvorschau::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || event == m_weitergereicht || !watched->isWidgetType())
        return false;
    auto* ziel = static_cast<QWidget*>(watched);
    if (ziel->window() != &m_fenster)
        return false;
    bool menue = false;
    for (QWidget* w = ziel; w && !menue; w = w->parentWidget())
        menue = qobject_cast<QMenuBar*>(w) != nullptr;
    // Qt offers a key to the receiver and then to each parent; the window
    // must act once and first, so it takes the key here, at its first
    // receiver, and hands it on itself.
    auto* key = static_cast<QKeyEvent*>(event);
    QPointer<QWidget> empfaenger(ziel);
    if (!menue)
        m_handler(*key);
    if (empfaenger) {
        const QEvent* vorher = m_weitergereicht;
        m_weitergereicht = event;
        QCoreApplication::sendEvent(empfaenger, key);
        m_weitergereicht = vorher;
    }
    key->accept();
    return true;
}
