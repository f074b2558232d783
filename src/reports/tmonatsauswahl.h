#pragma once

#include <QDialog>
#include <array>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The period dialog of the evaluations: twelve months, four quarters, the
// whole year. Every showing starts on the whole year; the "Datenexport" tick
// stays as the user left it for the whole program run.
class TMonatsAuswahl : public QDialog {
    Q_OBJECT
public:
    explicit TMonatsAuswahl(QWidget* parent = nullptr);

    // The chosen period code, 1..17.
    int rueckgabe() const;
    bool datenexport() const;

    // The button an arrow key moves to from code's, in the order the
    // buttons are seen; code itself at an edge.
    int pfeilZiel(int code, int key) const;

    QRadioButton* RadioButton(int code) const { return m_radio.at(static_cast<size_t>(code - 1)); }

    QGroupBox* RadioGroup1 = nullptr;
    QLineEdit* Edit_rueckgabe = nullptr;
    QCheckBox* CheckBox_export = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn2 = nullptr;

protected:
    // Builds the dialog below a space of kopfHoehe pixels for a derived header.
    TMonatsAuswahl(QWidget* parent, int kopfHoehe);
    void showEvent(QShowEvent* event) override;
    virtual void FormActivate();
    void waehle(int code);
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void RadioButtonClick(int code);

    std::array<QRadioButton*, 17> m_radio{};
};

// The tax-office export's dialog: only the months, and from 1 January; it
// opens on December.
class TExportauswahl final : public TMonatsAuswahl {
    Q_OBJECT
public:
    explicit TExportauswahl(QWidget* parent = nullptr);

    QLabel* Label1 = nullptr;

protected:
    void FormActivate() override;
};
