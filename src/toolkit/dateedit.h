#pragma once

#include <QDateEdit>

// A date field that takes "02.03.2026" typed at its natural speed. Qt moves
// on to the next section by itself once a day or month is complete, and then
// reads the dot the user types next as "move on" once more, so the month's
// digits end up in the year and the date changes silently. Here a separator
// right after such an automatic move is taken as the one the user meant.
// The field is one stop of the tab order: Tab and Shift+Tab leave it, the
// sections are reached by typing and the arrow keys.
class DateEdit : public QDateEdit {
    Q_OBJECT
public:
    explicit DateEdit(QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    bool event(QEvent* event) override;

private:
    bool m_weitergerueckt = false;
};
