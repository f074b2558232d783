#pragma once

#include <QDialog>

class QPushButton;

// The short description of the booking dialog, shown without waiting so
// that the booking dialog stays usable beside it.
class TFormBelegeingabeHilfe final : public QDialog {
    Q_OBJECT
public:
    explicit TFormBelegeingabeHilfe(QWidget* parent = nullptr);

    // Shows the window (again) in front, without waiting for it.
    void zeigen();
    void BitBtn1Click();

    QPushButton* BitBtn1 = nullptr;
};
