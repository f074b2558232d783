#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

// "Hilfe zum Finanzamtexport": three texts and an OK button.
class TExportHilfe final : public QDialog {
    Q_OBJECT
public:
    explicit TExportHilfe(QWidget* parent = nullptr);

    QFrame* Bevel1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QPushButton* OKBtn = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
};
