#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;

// Name and short name of one circle, for a new circle or a change. Only
// collects the two texts; the caller stores them.
class TFormBuchungskreisNeu final : public QDialog {
    Q_OBJECT
public:
    // Delphi's mrAbort: the "Abbruch" button.
    static constexpr int Abbruch = 3;
    static constexpr int KurzLaenge = 2;

    explicit TFormBuchungskreisNeu(QWidget* parent = nullptr);

    // Empty fields for a new circle.
    void neu();
    // The circle's present texts for a change.
    void bearbeiten(const QString& name, const QString& kurz);

    QString name() const;
    QString kurz() const;

    // Caption after the mode, focus in the name.
    void FormActivate();

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool m_neu = true;
    QLineEdit* DBEdit1 = nullptr;
    QLineEdit* DBEdit2 = nullptr;
};
