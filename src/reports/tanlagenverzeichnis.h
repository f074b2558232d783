#pragma once

#include <QDialog>
#include <memory>
#include <optional>

class AnlagenAblauf;
class QLabel;
class QPushButton;
class QTableView;
class TabellenModell;
class TDBGridExport;
class TFormAnlage;
struct Umgebung;

// "Verwalten > Anlagenverzeichnis": the current client's assets in the
// current fiscal year with the year's figures and their totals; new, change,
// disposal and delete through the asset dialog, exported like every grid.
class TAnlagenverzeichnis final : public QDialog {
    Q_OBJECT
public:
    explicit TAnlagenverzeichnis(Umgebung& umgebung, QWidget* parent = nullptr);
    ~TAnlagenverzeichnis() override;

    // Reads the register afresh and selects the asset, else the first row.
    void laden(std::optional<int> auswahl = std::nullopt);
    // The selected asset; nullopt for the totals or an empty list.
    std::optional<int> ausgewaehlt() const;

    void SchalterNeuClick();
    void SchalterAendernClick();
    void SchalterAbgangClick();
    void SchalterLoeschenClick();
    void SchalterExportClick();

    TabellenModell& liste() { return *m_liste; }
    TFormAnlage& FormAnlage() { return *m_dialog; }
    TDBGridExport& DBGridExport1() { return *m_export; }

    QLabel* LabelJahr = nullptr;
    QTableView* Grid_Anlagen = nullptr;
    QPushButton* SchalterNeu = nullptr;
    QPushButton* SchalterAendern = nullptr;
    QPushButton* SchalterAbgang = nullptr;
    QPushButton* SchalterLoeschen = nullptr;
    QPushButton* SchalterExport = nullptr;
    QPushButton* SchalterSchliessen = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Umgebung& m_umgebung;
    std::unique_ptr<TabellenModell> m_liste;
    std::unique_ptr<TFormAnlage> m_dialog;
    std::unique_ptr<AnlagenAblauf> m_ablauf;
    std::unique_ptr<TDBGridExport> m_export;
};
