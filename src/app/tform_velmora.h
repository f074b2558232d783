#pragma once

#include "toolkit/hauptfenster.h"

#include <QMainWindow>
#include <memory>

class QAction;
class QLabel;
class QTableView;
struct Umgebung;
class BuchungsBefehle;
class BuchungskreisBefehle;
class MandantenBefehle;
class ZeitraumBefehle;

// The main window: client and year, the income and expense lists side by
// side with their totals, and the menu from which every command starts.
class TForm_Velmora final : public QMainWindow, public Hauptfenster {
    Q_OBJECT
public:
    explicit TForm_Velmora(Umgebung& umgebung);
    ~TForm_Velmora() override;

    // Hauptfenster
    void AnzeigeAktualisieren() override;
    void Berechne() override;
    void QueryEinRequery() override;
    void QueryAusRequery() override;
    QWidget* widget() override { return this; }

    void QueryStarten(int zeitraum, int mandant);
    void ZeigeAktuellesJahr(int zeitraum, int mandant);

    // Menu handlers, named after their items.
    void Beenden1Click();
    void Buchen1Click();
    void Stammdaten1Click();
    void Mandanten1Click();
    void Wirtschaftsjahrauswhlen1Click();
    void Buchungskreise1Click();
    void Iconerstellen1Click();
    void MandantImportieren1Click();
    void USTVerprobung1Click();
    void Journal1Click();
    void BuchungskreisAuswertung1Click();
    void BuchungskreisDetails1Click();
    void Plus_MinusClick();
    void Finanzamt1Click();
    void berVelmora1Click();

    QAction* menuAction(const QString& objectName) const;

    // The program to start when the window closes; empty starts nothing.
    void setBackupProgram(const QString& path) { m_backupProgram = path; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate();
    void baueMenue();
    void FormClose();

    Umgebung& m_umgebung;
    QString m_backupProgram;
    QLabel* LabelMandant = nullptr;
    QLabel* LabelJahr = nullptr;
    QTableView* Grid_Ein = nullptr;
    QTableView* Grid_Aus = nullptr;
    std::unique_ptr<BuchungsBefehle> m_buchungen;
    std::unique_ptr<BuchungskreisBefehle> m_buchungskreise;
    std::unique_ptr<MandantenBefehle> m_mandanten;
    std::unique_ptr<ZeitraumBefehle> m_zeitraeume;
};
