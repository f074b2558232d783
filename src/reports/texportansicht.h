#pragma once

#include <QDialog>
#include <memory>

class FinanzamtListe;
class QPushButton;
class QTableView;
class TAbfrageExport;
class TExportHilfe;
struct Umgebung;

// "Exportansicht": the rows of the tax-office export, read-only, with the
// button that exports them and the help.
class TExportansicht final : public QDialog {
    Q_OBJECT
public:
    explicit TExportansicht(Umgebung& umgebung, QWidget* parent = nullptr);
    ~TExportansicht() override;

    // Sets the grid's column widths.
    void FormActivate();
    void BitBtn2Click();
    void BitBtn3Click();

    FinanzamtListe& QueryFinanzamt() { return *m_query; }
    // Writes the shown period's rows, read again from the statement.
    TAbfrageExport& Export1() { return *m_export; }
    TExportHilfe& ExportHilfe() { return *m_hilfe; }

    QPushButton* BitBtn2 = nullptr;
    QPushButton* BitBtn3 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QTableView* DBGrid_Finanzamt = nullptr;

protected:
    bool event(QEvent* e) override;

private:
    Umgebung& m_umgebung;
    std::unique_ptr<FinanzamtListe> m_query;
    std::unique_ptr<TAbfrageExport> m_export;
    std::unique_ptr<TExportHilfe> m_hilfe;
};
