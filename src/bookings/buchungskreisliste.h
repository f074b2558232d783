#pragma once

#include <QDialog>
#include <functional>
#include <optional>

class QPushButton;
class QSqlQueryModel;
class QTableView;

// The circle list ("Buchungskreise"): shows the filtered circles and hands
// its buttons to the command that owns it; it changes nothing itself.
class TFormBuchungskreis final : public QDialog {
    Q_OBJECT
public:
    struct Aktionen {
        std::function<void()> neu;
        std::function<void()> loeschen;
        std::function<void()> aendern;
    };

    TFormBuchungskreis(QSqlQueryModel& kreise, QWidget* parent = nullptr);

    void setAktionen(Aktionen aktionen) { m_aktionen = std::move(aktionen); }

    // The selected circle; nullopt for an empty list.
    std::optional<int> ausgewaehlt() const;
    // Selects the circle, or the first one when it is not listed.
    void auswaehlen(std::optional<int> id);

    void SchalterNeuClick();
    void SchalterLoeschenClick();
    void SchalterAendernClick();

private:
    QSqlQueryModel& m_kreise;
    QTableView* DBGrid1 = nullptr;
    Aktionen m_aktionen;
};
