#pragma once

#include <QDialog>

class QCheckBox;
class QListView;
class QSqlQueryModel;

// The circle picker of the evaluations. Its modal result: 1000 for all
// circles, 1000 + id for the circle double-clicked, below 1000 cancelled.
class TFormBuchungsKreisAuswahl final : public QDialog {
    Q_OBJECT
public:
    // The result of the "Abbrechen" button (Esc and closing give 0).
    static constexpr int Abbrechen = 2;

    TFormBuchungsKreisAuswahl(QSqlQueryModel& kreise, QWidget* parent = nullptr);

    // The "Datenexport" box is hidden unless the caller shows it.
    void setDatenexportSichtbar(bool sichtbar);
    bool datenexport() const;

    // Chooses the selected circle; with none selected the picker stays open.
    void DBLookupListBox1DblClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QSqlQueryModel& m_kreise;
    QListView* DBLookupListBox1 = nullptr;
    QCheckBox* CheckBox_export = nullptr;
};
