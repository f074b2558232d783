#pragma once

#include <QObject>
#include <functional>

class QKeyEvent;
class QWidget;

// Lets a window see every key pressed in it before the focused control
// does; the key then still goes on to the control. Keys of the menu bar and
// of other windows (dialogs, popups) pass untouched.
class Tastenvorschau final : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<void(const QKeyEvent&)>;

    Tastenvorschau(QWidget& fenster, Handler handler);
    ~Tastenvorschau() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& m_fenster;
    Handler m_handler;
    const QEvent* m_weitergereicht = nullptr;
};
