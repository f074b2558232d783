#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QStringList>

class QComboBox;

// Typing in a closed, non-editable combo box chooses the first entry that
// begins with what was typed so far, blanks and umlauts included and without
// regard to case; a pause starts a new search. Qt's own search opened the
// list at the first blank instead.
class Tastensuche final : public QObject {
public:
    // Installs itself on box, which owns it.
    explicit Tastensuche(QComboBox* box);

    // The first of eintraege that begins with anfang, -1 when none does.
    static int finden(const QStringList& eintraege, const QString& anfang);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QComboBox* m_box;
    QString m_eingabe;
    QElapsedTimer m_zuletzt;
};
