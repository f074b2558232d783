#include "toolkit/tastensuche.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>

Tastensuche::Tastensuche(QComboBox* box) : QObject(box), m_box(box) {
    box->installEventFilter(this);
}

int Tastensuche::finden(const QStringList& eintraege, const QString& anfang) {
    for (qsizetype i = 0; i < eintraege.size(); ++i) {
        if (eintraege[i].startsWith(anfang, Qt::CaseInsensitive))
            return static_cast<int>(i);
    }
    return -1;
}

bool Tastensuche::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_box || event->type() != QEvent::KeyPress || m_box->isEditable())
        return QObject::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    if (m_zuletzt.isValid() && m_zuletzt.elapsed() > QApplication::keyboardInputInterval())
        m_eingabe.clear();
    QString eingabe = m_eingabe;
    if (key->key() == Qt::Key_Backspace) {
        eingabe.chop(1);
    } else {
        const QString text = key->text();
        if (text.isEmpty() || !text.at(0).isPrint())
            return false;
        eingabe += text;
    }
    m_zuletzt.start();
    QStringList eintraege;
    for (int i = 0; i < m_box->count(); ++i)
        eintraege << m_box->itemText(i);
    const int index = eingabe.isEmpty() ? -1 : finden(eintraege, eingabe);
    // a letter that matches nothing is not kept: the next one may still fit
    if (index >= 0 || eingabe.isEmpty()) {
        m_eingabe = eingabe;
        if (index >= 0)
            m_box->setCurrentIndex(index);
    }
    return true;
}
