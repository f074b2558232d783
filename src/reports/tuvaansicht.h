#pragma once

#include "reports/uva.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QTableWidget;

// The VAT return before it is saved: each Kennzahl with its text and amount,
// KZ 095 beside the VAT verification's balance, and what has no Kennzahl.
// "Speichern" closes it with OK.
class TUvaAnsicht final : public QDialog {
    Q_OBJECT
public:
    TUvaAnsicht(const uva::Erklaerung& e, const QString& zeitraumText, QWidget* parent = nullptr);

    QTableWidget* Tabelle = nullptr;
    QLabel* LabelKZ095Text = nullptr;
    QLabel* LabelKZ095 = nullptr;
    QLabel* LabelVerprobungText = nullptr;
    QLabel* LabelVerprobung = nullptr;
    QLabel* LabelDifferenz = nullptr;
    QLabel* LabelKFZ = nullptr;
    QLabel* LabelGebaeude = nullptr;
    QLabel* LabelSchema = nullptr;
    // the rates only an old invoice explains; only when there are such
    QLabel* LabelWarnung = nullptr;
    QPushButton* BitBtnSpeichern = nullptr;
    QPushButton* BitBtnAbbrechen = nullptr;
};
