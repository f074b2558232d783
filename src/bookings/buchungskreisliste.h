#pragma once

#include <QDialog>
#include <QHash>
#include <functional>
#include <optional>

class GridSpaltenModell;
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
        // Chooses the selected circle's E 1a Kennzahl; the button is shown when set.
        std::function<void()> e1a;
    };

    TFormBuchungskreis(QSqlQueryModel& kreise, QWidget* parent = nullptr);

    void setAktionen(Aktionen aktionen);
    // The E 1a column: per circle id its Kennzahl with text, or "Anlagenzugang".
    void setE1aTexte(QHash<int, QString> texte);

    // The selected circle; nullopt for an empty list.
    std::optional<int> ausgewaehlt() const;
    // Selects the circle, or the first one when it is not listed.
    void auswaehlen(std::optional<int> id);

    void SchalterNeuClick();
    void SchalterLoeschenClick();
    void SchalterAendernClick();
    void SchalterE1aClick();

    QPushButton* SchalterE1a = nullptr;

private:
    QSqlQueryModel& m_kreise;
    QTableView* DBGrid1 = nullptr;
    GridSpaltenModell* m_spalten = nullptr;
    Aktionen m_aktionen;
};
