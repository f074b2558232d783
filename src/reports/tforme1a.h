#pragma once

#include "reports/e1a.h"

#include <QDialog>
#include <optional>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The E 1a Kennzahl of one booking circle: none, one of the Kennzahlen
// Velmora knows, one the client typed before, another four-digit number with
// its text, or "Anlagenzugang". Collects the choice; the caller stores it.
class TFormE1a final : public QDialog {
    Q_OBJECT
public:
    explicit TFormE1a(QWidget* parent = nullptr);

    // The choices offered and the circle's present assignment.
    void setzen(const QString& kreis, const e1a::Zuordnung& jetzt,
                const std::vector<e1a::Kennzahl>& eigene);

    // What e1a::zuordnen needs.
    struct Wahl {
        e1a::Zuordnung zuordnung;
        std::optional<bool> istEinnahme;
        std::optional<QString> text;
    };
    // nullopt with the German message when the number typed is not one.
    std::optional<Wahl> wahl(QString& fehler) const;

    // The side follows a known Kennzahl; number and text are open for another.
    void AuswahlChange();

    QLabel* LabelKreis = nullptr;
    QComboBox* Combo_Kennzahl = nullptr;
    QLineEdit* Edit_Nummer = nullptr;
    QLineEdit* Edit_Text = nullptr;
    QRadioButton* Radio_Einnahme = nullptr;
    QRadioButton* Radio_Ausgabe = nullptr;
    QPushButton* SchalterOK = nullptr;
    QPushButton* SchalterAbbrechen = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    // The entries after the known and the client's Kennzahlen.
    enum Eintrag { Keine = -1, Andere = -2, Anlage = -3 };
    std::vector<e1a::Kennzahl> m_eigene;
};
