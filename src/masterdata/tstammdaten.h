#pragma once

#include "data/dm_einaus.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
struct Umgebung;

// "Stammdaten": the current client's master data. It only collects the
// values; the command stores them on OK.
class TStammdaten final : public QDialog {
    Q_OBJECT
public:
    explicit TStammdaten(Umgebung& umgebung, QWidget* parent = nullptr);

    void FormActivate();

    void setDaten(const Stammdaten& daten);
    // The edited row, for the client it was filled with.
    Stammdaten daten() const;

    QLabel* LabelMandant = nullptr;
    QLineEdit* DBEditGanzerName = nullptr;
    QLineEdit* DBEditAdresse = nullptr;
    QLineEdit* DBEditPlzOrt = nullptr;
    QLineEdit* DBEditTelefon = nullptr;
    QLineEdit* DBEditReferat = nullptr;
    QLineEdit* DBEditSteuernummer = nullptr;
    QCheckBox* DBCheckBoxSteuerDE = nullptr;
    // Where revenues at 0 % go in the VAT return; the first entry is "not chosen".
    QComboBox* DBComboSteuerfreiKZ = nullptr;
    QPushButton* BitBtnOK = nullptr;
    QPushButton* BitBtnAbbrechen = nullptr;

private:
    Umgebung& m_umgebung;
    int m_mandant = -1;
};
