#pragma once

#include "reports/anlagenverzeichnis.h"

#include <QDialog>
#include <functional>
#include <optional>

class DateEdit;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QSpinBox;

// One asset of the register: collects its values for a new asset, a change
// or a disposal. The caller stores them; the dialog reads and writes nothing.
class TFormAnlage final : public QDialog {
    Q_OBJECT
public:
    enum class Modus { Neu, Aendern, Abgang };
    // The net of a booking, asked when the user names the booking the asset
    // was paid with; nullopt when there is none to propose (already told).
    using NettoVorschlag = std::function<std::optional<Currency>(int buchung)>;

    explicit TFormAnlage(QWidget* parent = nullptr);

    // The fields from e; for a disposal only its date and proceeds are open.
    void setEintrag(const anlagenverzeichnis::Eintrag& e, Modus modus);
    Modus modus() const { return m_modus; }
    void setNettoVorschlag(NettoVorschlag vorschlag) { m_vorschlag = std::move(vorschlag); }

    // The values as typed over the asset given to setEintrag; nullopt with
    // the German message of the first field that cannot be read.
    std::optional<anlagenverzeichnis::Eintrag> eintrag(QString& fehler) const;

    // A new booking number proposes the booking's net as the cost.
    void BuchungVerlassen();
    // Rate and switch year are open only for degressive depreciation.
    void MethodeChange();

    QLineEdit* Edit_Bezeichnung = nullptr;
    DateEdit* Datum_Anschaffung = nullptr;
    QLineEdit* Edit_Buchung = nullptr;
    QLineEdit* Edit_Kosten = nullptr;
    QLineEdit* Edit_Lieferant = nullptr;
    QSpinBox* Spin_Nutzungsdauer = nullptr;
    QComboBox* Combo_Methode = nullptr;
    QSpinBox* Spin_Satz = nullptr;
    QLineEdit* Edit_LinearAb = nullptr;
    QComboBox* Combo_Art = nullptr;
    QCheckBox* Check_Gebraucht = nullptr;
    QLineEdit* Edit_Abgang = nullptr;
    QLineEdit* Edit_Erloes = nullptr;
    QPushButton* SchalterOK = nullptr;
    QPushButton* SchalterAbbrechen = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    anlagenverzeichnis::Eintrag m_eintrag;
    Modus m_modus = Modus::Neu;
    NettoVorschlag m_vorschlag;
    QString m_vorgeschlagenFuer; // the booking number whose net was proposed last
};
