#include "export/tfrm_selection.h"

#include <QComboBox>
#include <QGroupBox>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

namespace {

struct Picture {
    const char* label;
    QColor colour;
};

// Our own simple pictures: a sheet with a coloured band and the format's short name.
constexpr int PictureCount = 8;
const Picture Pictures[PictureCount] = {
    {"RTF", QColor(0x80, 0x20, 0x80)}, {"CSV", QColor(0x20, 0x80, 0x20)},
    {"HTM", QColor(0xD0, 0x60, 0x10)}, {"TXT", QColor(0x50, 0x50, 0x50)},
    {"DOC", QColor(0x20, 0x40, 0xB0)}, {"XLS", QColor(0x10, 0x70, 0x30)},
    {"TAB", QColor(0x00, 0x60, 0x80)}, {"CLP", QColor(0x90, 0x70, 0x20)},
};

} // namespace

int pictureIndex(TExportType type) {
    switch (type) {
    case xtRTF:
        return 0;
    case xtCSV:
    case xtCSVExcel:
        return 1;
    case xtHTML:
        return 2;
    case xtTXT:
        return 3;
    case xtWord:
        return 4;
    case xtExcel:
    case xtXLSX:
        return 5;
    case xtTAB:
    case xtDIF:
    case xtSYLK:
        return 6;
    case xtClipboard:
        return 7;
    }
    return 6;
}

FormatPicture::FormatPicture(QWidget* parent) : QWidget(parent) {
    setFixedSize(40, 40);
}

void FormatPicture::setIndex(int index) {
    m_index = qBound(0, index, PictureCount - 1);
    update();
}

void FormatPicture::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(0, 1);
    const Picture& pic = Pictures[m_index];
    // the sheet with a folded corner
    const QPolygonF sheet(
        {QPointF(6, 1), QPointF(26, 1), QPointF(33, 8), QPointF(33, 37), QPointF(6, 37)});
    p.setPen(QPen(Qt::darkGray, 1));
    p.setBrush(Qt::white);
    p.drawPolygon(sheet);
    p.drawLine(QPointF(26, 1), QPointF(26, 8));
    p.drawLine(QPointF(26, 8), QPointF(33, 8));
    p.setPen(QPen(QColor(0xB0, 0xB0, 0xB0), 1));
    for (int y = 12; y <= 18; y += 3)
        p.drawLine(QPointF(10, y), QPointF(29, y));
    p.setPen(Qt::NoPen);
    p.setBrush(pic.colour);
    p.drawRect(QRectF(2, 22, 36, 12));
    QFont f = font();
    f.setPixelSize(9);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRectF(2, 22, 36, 12), Qt::AlignCenter, QLatin1String(pic.label));
}

Tfrm_Selection::Tfrm_Selection(QWidget* parent)
    : QDialog(parent,
              Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("frm_Selection"));
    setFixedSize(282, 140);

    GroupBox = new QGroupBox(this);
    GroupBox->setObjectName(QStringLiteral("GroupBox"));
    GroupBox->setGeometry(8, 4, 266, 94);

    IconImage = new FormatPicture(GroupBox);
    IconImage->setObjectName(QStringLiteral("IconImage"));
    IconImage->move(10, 24);

    SelectionCombo = new QComboBox(GroupBox);
    SelectionCombo->setObjectName(QStringLiteral("SelectionCombo"));
    SelectionCombo->setProperty("tag", 30);
    SelectionCombo->setGeometry(60, 20, 196, 24);

    rdo_View = new QRadioButton(GroupBox);
    rdo_View->setObjectName(QStringLiteral("rdo_View"));
    rdo_View->setProperty("tag", 10);
    rdo_View->setGeometry(60, 50, 196, 18);

    rdo_File = new QRadioButton(GroupBox);
    rdo_File->setObjectName(QStringLiteral("rdo_File"));
    rdo_File->setProperty("tag", 20);
    rdo_File->setGeometry(60, 70, 196, 18);

    btn_Selection = new QPushButton(this);
    btn_Selection->setObjectName(QStringLiteral("btn_Selection"));
    btn_Selection->setGeometry(104, 106, 82, 26);
    btn_Selection->setDefault(true);
    connect(btn_Selection, &QPushButton::clicked, this, &QDialog::accept);

    btn_Cancel = new QPushButton(this);
    btn_Cancel->setObjectName(QStringLiteral("btn_Cancel"));
    btn_Cancel->setGeometry(192, 106, 82, 26);
    connect(btn_Cancel, &QPushButton::clicked, this, &QDialog::reject);

    setTabOrder(SelectionCombo, rdo_View);
    setTabOrder(rdo_View, rdo_File);
    setTabOrder(rdo_File, btn_Selection);
    setTabOrder(btn_Selection, btn_Cancel);
}

void Tfrm_Selection::setTexts(const TMessagesOptions& messages) {
    setWindowTitle(messages.Caption);
    GroupBox->setTitle(QLatin1Char(' ') + messages.SelectFormat + QLatin1Char(' '));
    rdo_View->setText(messages.ViewOnly);
    rdo_File->setText(messages.ExportToFile);
    btn_Selection->setText(messages.ExportCaption);
    btn_Cancel->setText(messages.CancelCaption);
}

void Tfrm_Selection::setPicture(TExportType type) {
    IconImage->setIndex(pictureIndex(type));
}

void Tfrm_Selection::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    SelectionCombo->setFocus();
}
