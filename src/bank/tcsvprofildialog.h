#pragma once

#include "bank/csvprofil.h"

#include <QDialog>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;
class QTableWidget;

// Asks for the profile of a CSV file: a saved one, changed or new, with the
// first lines of the file shown as the profile would read them. OK only with
// a complete profile; the caller saves it.
class TCsvProfilDialog final : public QDialog {
    Q_OBJECT
public:
    TCsvProfilDialog(QByteArray daten, std::vector<CsvProfil> gespeichert,
                     QWidget* parent = nullptr);

    CsvProfil profil() const;
    void setzen(const CsvProfil& p);

    QComboBox* Gespeichert;
    QLineEdit* Name;
    QComboBox* Trenner;
    QComboBox* Kodierung;
    QSpinBox* Kopfzeilen;
    QSpinBox* Datum;
    QLineEdit* Datumsformat;
    QSpinBox* Betrag;
    QSpinBox* Soll;
    QSpinBox* Haben;
    QSpinBox* Text;
    QSpinBox* Gegenpartei;
    QSpinBox* IBAN;
    QSpinBox* Referenz;
    QSpinBox* Waehrung;
    QCheckBox* Dezimalkomma;
    QTableWidget* Vorschau;
    QLabel* Fehler;

    void done(int r) override;

private:
    void vorschauZeigen();

    QByteArray m_daten;
    std::vector<CsvProfil> m_gespeichert;
    bool m_setzen = false;
};
