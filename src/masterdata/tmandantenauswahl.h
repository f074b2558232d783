#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class DBLookupListBox;
class MandantenAblauf;
struct Umgebung;

// "Mandanten": the client list. It stays open while clients are created,
// renamed, deleted and made current; each button hands over to the flow.
class TMandantenauswahl final : public QDialog {
    Q_OBJECT
public:
    TMandantenauswahl(Umgebung& umgebung, MandantenAblauf& ablauf, QWidget* parent = nullptr);

    // Shows the current client and marks it.
    void FormActivate();
    void DBLookupListBox1DblClick();
    void Mandant_NeuClick();
    void Mandant_BearbeitenClick();
    void BitBtn1Click();
    void SchliessenClick();

    QLabel* Label4 = nullptr;
    QLabel* Label_Mandant = nullptr;
    DBLookupListBox* DBLookupListBox1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QPushButton* Mandant_Bearbeiten = nullptr;
    QPushButton* Mandant_Neu = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* Schliessen = nullptr;

private:
    Umgebung& m_umgebung;
    MandantenAblauf& m_ablauf;
};
