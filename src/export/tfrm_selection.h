#pragma once

#include "export/exporttypes.h"

#include <QDialog>

class QComboBox;
class QGroupBox;
class QPushButton;
class QRadioButton;

// The picture of a format in the selection dialog.
class FormatPicture final : public QWidget {
    Q_OBJECT
public:
    explicit FormatPicture(QWidget* parent = nullptr);
    void setIndex(int index);
    int index() const { return m_index; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_index = 0;
};

// Picture index of a format: RTF 0, CSV 1, HTML 2, text 3, Word 4, Excel 5,
// tab, DIF and SYLK 6, clipboard 7.
int pictureIndex(TExportType type);

// The format and "view or file" dialog of an export.
class Tfrm_Selection final : public QDialog {
    Q_OBJECT
public:
    explicit Tfrm_Selection(QWidget* parent = nullptr);

    void setTexts(const TMessagesOptions& messages);
    void setPicture(TExportType type);

    QGroupBox* GroupBox = nullptr;
    QComboBox* SelectionCombo = nullptr;
    QRadioButton* rdo_View = nullptr;
    QRadioButton* rdo_File = nullptr;
    FormatPicture* IconImage = nullptr;
    QPushButton* btn_Selection = nullptr;
    QPushButton* btn_Cancel = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
};
