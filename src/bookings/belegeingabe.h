#pragma once

#include "bookings/belegeingaberegeln.h"
#include "bookings/buchungsschreiber.h"
#include "data/buchung.h"

#include <QDialog>
#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class Belegeingabepfeile;
class TFormBelegeingabeHilfe;
struct Umgebung;

// The booking dialog: collects one booking's entries into its record. It
// never stores the booking; the command does that after OK.
class TFormBelegeingabe final : public QDialog {
    Q_OBJECT
public:
    // datensatz: a fresh record with the client set (new booking) or the
    // stored booking (change). eingabenBehalten opens a new booking with the
    // entries of datensatz instead of the defaults, once (after a failed write).
    TFormBelegeingabe(Umgebung& umgebung, const Buchung& datensatz, DatensatzZustand zustand,
                      QWidget* parent = nullptr, bool eingabenBehalten = false);
    ~TFormBelegeingabe() override;

    // "Neu" shows the circle list through this; the help button shows hilfe.
    void setBuchungskreiseZeigen(std::function<void()> zeigen);
    void setHilfe(TFormBelegeingabeHilfe* hilfe);

    DatensatzZustand zustand() const { return m_zustand; }
    // After OK: the record with every entry; before, its pre-filled values.
    const Buchung& datensatz() const { return m_datensatz; }
    // The user confirmed with "OK und weiterbuchen".
    bool Weiterbuchen() const { return m_weiterbuchen; }
    // How the writer treats the voucher number, settled by the checks on OK.
    Belegnummernwahl belegnummernwahl() const { return m_wahl; }
    // The selected circle's identifier.
    std::optional<int> buchungskreis() const { return m_bk; }
    const Belegeingaberegeln& regeln() const { return m_regeln; }

    // The opening steps, run whenever the dialog becomes active: on opening,
    // after the circle list and after the help window.
    void FormActivate();
    void DatumPickerChange();
    void UpDown1Click(bool hoch);
    void DBCheckBoxEinClick();
    void DBCheckBoxAusClick();
    void DBCheckBoxEUClick();
    void DBCheckBoxDrittClick();
    void DBCheckBoxRCClick();
    void DBCheckBoxBauClick();
    void DBCheckBoxKFZClick();
    void DBCheckBoxGebaeudeClick();
    void SchalterOKClick();
    void SchalterOK_WEITERClick();
    void BitBtn1Click();
    void BitBtn2Click();
    void EingabenMerken(bool weiter);

    // The result of "Stornieren" in the read-only view of a locked booking.
    static constexpr int Stornieren = 2;
    // Shows the booking read-only with grund above its fields; only
    // "Schließen" and "Stornieren" remain.
    void nurLesen(const QString& grund);
    bool istNurLesen() const { return m_nurLesen; }

    // OK closes only after the checks on closing passed.
    void done(int result) override;

    QCheckBox* DBCheckBoxEin = nullptr;
    QCheckBox* DBCheckBoxAus = nullptr;
    QDateEdit* DatumPicker = nullptr;
    QLineEdit* DBEditBelegnummer = nullptr;
    QComboBox* DBComboText = nullptr;
    QLineEdit* DBEdit_Betrag = nullptr;
    QComboBox* DBCombo_Steuersatz = nullptr;
    QComboBox* DBLookupComboBox1 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QCheckBox* DBCheckBoxEU = nullptr;
    QCheckBox* DBCheckBoxDritt = nullptr;
    // tax owed by the recipient: services (§ 19 Abs. 1) and construction (§ 19 Abs. 1a)
    QCheckBox* DBCheckBoxRC = nullptr;
    QCheckBox* DBCheckBoxBau = nullptr;
    // the Kennzahl of an income at 0 %, shown only for one; first entry: the master data's
    QComboBox* DBComboKZ = nullptr;
    QLabel* LabelKZ = nullptr;
    QLineEdit* DBZeitraum = nullptr;
    QLineEdit* DB_ID = nullptr;
    QLineEdit* DBDatum = nullptr;
    Belegeingabepfeile* UpDown1 = nullptr;
    QPushButton* SchalterOK = nullptr;
    QPushButton* SchalterCancel = nullptr;
    QPushButton* BitBtn2 = nullptr;
    QPushButton* SchalterOK_WEITER = nullptr;
    QCheckBox* DBCheckBoxKFZ = nullptr;
    QCheckBox* DBCheckBoxGebaeude = nullptr;
    QLabel* LabelBruttoNetto = nullptr;
    QLabel* LabelMandant = nullptr;
    QLabel* LabelJahr = nullptr;
    QLabel* LabelGesperrt = nullptr;
    QPushButton* SchalterSchliessen = nullptr;
    QPushButton* SchalterStornieren = nullptr;

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void baueFenster();
    void zeigeDatensatz();
    void fuelleBuchungskreise();
    void waehleBuchungskreis();
    void fuelleListe(QComboBox* box, const QStringList& eintraege);
    void regelAnwenden(Belegeingaberegeln::Schalter s, QCheckBox* box);
    void zeigeSchalter();
    void zeigeKennzahl();
    bool kennzahlGefragt() const;
    // The checks on closing with OK; false keeps the dialog open.
    bool FormClose();

    Umgebung& m_umgebung;
    Buchung m_datensatz;
    DatensatzZustand m_zustand;
    bool m_eingabenBehalten;
    bool m_weiterbuchen = false;
    bool m_fuellen = false;
    bool m_hilfeWarAktiv = false;
    bool m_nurLesen = false;
    int m_jahr = 0;
    std::optional<int> m_bk;
    // the number the dialog proposed, and the number the booking had
    std::optional<int> m_vorschlag;
    std::optional<int> m_alteNummer;
    Belegnummernwahl m_wahl = Belegnummernwahl::WieAngegeben;
    Belegeingaberegeln m_regeln;
    std::function<void()> m_buchungskreiseZeigen;
    TFormBelegeingabeHilfe* m_hilfe = nullptr;
};
