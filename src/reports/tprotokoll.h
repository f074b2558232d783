#pragma once

#include <QDialog>
#include <memory>

class QLineEdit;
class QPushButton;
class QTableView;
class Protokollliste;
class TDBGridExport;
struct Umgebung;

// "Verwalten > Änderungsprotokoll": the change log of the current client and
// fiscal year, newest first, the fields a change touched marked; filtered
// by booking and by the date of the change, exported like every grid.
class TProtokoll final : public QDialog {
    Q_OBJECT
public:
    explicit TProtokoll(Umgebung& umgebung, QWidget* parent = nullptr);
    ~TProtokoll() override;

    // Reads the log afresh with the filter as typed; a filter that cannot
    // be read is told and leaves the list as it was.
    void FilterClick();
    void ExportClick();

    Protokollliste& liste() { return *m_liste; }

    QLineEdit* Edit_Buchung = nullptr;
    QLineEdit* Edit_Von = nullptr;
    QLineEdit* Edit_Bis = nullptr;
    QPushButton* BitBtnFiltern = nullptr;
    QPushButton* BitBtnExport = nullptr;
    QPushButton* BitBtnSchliessen = nullptr;
    QTableView* Grid_Protokoll = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    Umgebung& m_umgebung;
    std::unique_ptr<Protokollliste> m_liste;
    std::unique_ptr<TDBGridExport> m_export;
};
