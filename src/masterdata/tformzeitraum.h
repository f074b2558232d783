#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class DBLookupListBox;
class ZeitraumAblauf;
struct Umgebung;

// "Wirtschaftsjahre": the current client's fiscal years, newest first.
// Choosing one makes it current and closes the dialog.
class TFormZeitraum final : public QDialog {
    Q_OBJECT
public:
    TFormZeitraum(Umgebung& umgebung, ZeitraumAblauf& ablauf, QWidget* parent = nullptr);

    // Shows client and current year, lists the client's years and marks the current one.
    void FormActivate();
    void NeuesJahrClick();
    void BitBtn1Click();
    void DBLookupListBox1DblClick();
    void SchliessenClick();

    void ZeigeWirtschaftsjahr(int zeitraum, int mandant);
    bool SetzeWirtschaftsjahr(int zeitraum, int mandant);

    QLabel* Label4 = nullptr;
    QLabel* Label_Mandant = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* LabelAktuellesJahr = nullptr;
    DBLookupListBox* DBLookupListBox1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QPushButton* NeuesJahr = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* Schliessen = nullptr;

private:
    Umgebung& m_umgebung;
    ZeitraumAblauf& m_ablauf;
};
