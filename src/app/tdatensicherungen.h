#pragma once

#include "sicherung/wiederherstellung.h"

#include <QDialog>
#include <optional>
#include <vector>

class QLabel;
class QPushButton;
class QTableWidget;

// "Verwalten > Datensicherungen…": the copies in the backup folder, newest
// first, with their date and time, size and number of bookings. It only
// collects the choice; the main window restores it.
class TDatensicherungen final : public QDialog {
    Q_OBJECT
public:
    TDatensicherungen(const QString& ordner, std::vector<wiederherstellung::Kopie> kopien,
                      QWidget* parent = nullptr);

    // The copy chosen with "Zurückspielen".
    std::optional<QString> auswahl() const;

    QLabel* LabelOrdner = nullptr;
    QTableWidget* Liste = nullptr;
    QPushButton* SchalterZurueck = nullptr;
    QPushButton* SchalterSchliessen = nullptr;

private:
    std::vector<wiederherstellung::Kopie> m_kopien;
};
