#include "reports/tmonatsauswahl.h"

#include "data/dates.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

namespace {

constexpr int kGanzesJahr = 17;

// Where a code's button stands: months in four columns of three, the
// quarters in a row below, the whole year beneath the first quarter.
struct Platz {
    int zeile;
    int spalte;
};
Platz platz(int code) {
    if (code <= 12)
        return {(code - 1) % 3, (code - 1) / 3};
    if (code <= 16)
        return {3, code - 13};
    return {4, 0};
}

QString beschriftung(int code) {
    if (code <= 12)
        return dates::monthName(code);
    if (code <= 16)
        return QStringLiteral("%1. Quartal").arg(code - 12);
    return QStringLiteral("Ganzes Jahr");
}

} // namespace

TMonatsAuswahl::TMonatsAuswahl(QWidget* parent) : TMonatsAuswahl(parent, 0) {}

TMonatsAuswahl::TMonatsAuswahl(QWidget* parent, int kopfHoehe) : QDialog(parent) {
    setObjectName(QStringLiteral("MonatsAuswahl"));
    setWindowTitle(QStringLiteral("Monats Auswahl"));
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));

    RadioGroup1 = new QGroupBox(QStringLiteral("  Auswahl für Umsatzsteuerverprobung  "), this);
    RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
    // the buttons share the frame as parent, so one choice clears the others
    auto* raster = new QGridLayout(RadioGroup1);
    for (int code = 1; code <= kGanzesJahr; ++code) {
        auto* b = new QRadioButton(beschriftung(code), RadioGroup1);
        b->setObjectName(QStringLiteral("RadioButton%1").arg(code));
        m_radio[static_cast<size_t>(code - 1)] = b;
        connect(b, &QRadioButton::clicked, this, [this, code] { RadioButtonClick(code); });
        if (code <= 12)
            raster->addWidget(b, (code - 1) % 3, (code - 1) / 3); // four columns of three
        else if (code <= 16)
            raster->addWidget(b, 3, code - 13);
        else
            raster->addWidget(b, 4, 0, 1, 4);
    }
    RadioButton(kGanzesJahr)->setChecked(true);
    // Qt's own arrow handling guesses by distance and jumps across rows
    for (QRadioButton* b : m_radio)
        b->installEventFilter(this);

    Edit_rueckgabe = new QLineEdit(QStringLiteral("17"), this);
    Edit_rueckgabe->setObjectName(QStringLiteral("Edit_rueckgabe"));
    Edit_rueckgabe->hide();

    CheckBox_export = new QCheckBox(QStringLiteral("Datenexport"), this);
    CheckBox_export->setObjectName(QStringLiteral("CheckBox_export"));
    QFont fett = CheckBox_export->font();
    fett.setBold(true);
    CheckBox_export->setFont(fett);

    BitBtn1 = new QPushButton(QStringLiteral("OK"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton(QStringLiteral("Abbrechen"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);

    auto* knoepfe = new QVBoxLayout;
    knoepfe->addWidget(BitBtn1);
    knoepfe->addWidget(BitBtn2);
    knoepfe->addStretch(1);
    knoepfe->addWidget(CheckBox_export);
    auto* zeile = new QHBoxLayout;
    zeile->addWidget(RadioGroup1, 1);
    zeile->addLayout(knoepfe);
    auto* layout = new QVBoxLayout(this);
    if (kopfHoehe > 0)
        layout->addSpacing(kopfHoehe);
    layout->addLayout(zeile);
    resize(373, 164 + kopfHoehe);
}

int TMonatsAuswahl::rueckgabe() const {
    return Edit_rueckgabe->text().toInt();
}

bool TMonatsAuswahl::datenexport() const {
    return CheckBox_export->isChecked();
}

void TMonatsAuswahl::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormActivate();
}

void TMonatsAuswahl::waehle(int code) {
    RadioButton(code)->setChecked(true);
    Edit_rueckgabe->setText(QString::number(code));
}

void TMonatsAuswahl::FormActivate() {
    waehle(kGanzesJahr);
    RadioButton(kGanzesJahr)->setFocus();
}

int TMonatsAuswahl::pfeilZiel(int code, int key) const {
    const auto sichtbar = [this](int c) { return !RadioButton(c)->isHidden(); };
    const auto lesefolge = [](int c) { return platz(c).zeile * 4 + platz(c).spalte; };
    int ziel = code;
    if (key == Qt::Key_Left || key == Qt::Key_Right) {
        // along the rows, as they are read
        const int richtung = key == Qt::Key_Right ? 1 : -1;
        for (int c = 1; c <= kGanzesJahr; ++c) {
            if (c == code || !sichtbar(c))
                continue;
            const int abstand = (lesefolge(c) - lesefolge(code)) * richtung;
            if (abstand > 0 &&
                (ziel == code || abstand < (lesefolge(ziel) - lesefolge(code)) * richtung))
                ziel = c;
        }
    } else if (key == Qt::Key_Up || key == Qt::Key_Down) {
        // the nearest row in that direction, in the column or the one before
        const int richtung = key == Qt::Key_Down ? 1 : -1;
        const Platz von = platz(code);
        for (int zeile = von.zeile + richtung; zeile >= 0 && zeile <= 4 && ziel == code;
             zeile += richtung) {
            int bester = 0;
            for (int c = 1; c <= kGanzesJahr; ++c) {
                if (sichtbar(c) && platz(c).zeile == zeile && platz(c).spalte <= von.spalte &&
                    (bester == 0 || platz(c).spalte > platz(bester).spalte))
                    bester = c;
            }
            if (bester != 0)
                ziel = bester;
        }
    }
    return ziel;
}

bool TMonatsAuswahl::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const int k = key->key();
        const auto b = std::find(m_radio.begin(), m_radio.end(), watched);
        if (b != m_radio.end() && key->modifiers() == Qt::NoModifier &&
            (k == Qt::Key_Left || k == Qt::Key_Right || k == Qt::Key_Up || k == Qt::Key_Down)) {
            const int ziel = pfeilZiel(static_cast<int>(b - m_radio.begin()) + 1, k);
            RadioButton(ziel)->setFocus(Qt::TabFocusReason);
            RadioButton(ziel)->click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TMonatsAuswahl::RadioButtonClick(int code) {
    Edit_rueckgabe->setText(QString::number(code));
}

TExportauswahl::TExportauswahl(QWidget* parent) : TMonatsAuswahl(parent, 28) {
    setObjectName(QStringLiteral("Exportauswahl"));
    setWindowTitle(QStringLiteral("Exportauswahl"));
    RadioGroup1->setTitle(QStringLiteral("  Auswahl für Export an das Finanzamt  "));
    for (int code = 13; code <= 17; ++code)
        RadioButton(code)->hide();
    Label1 = new QLabel(
        QStringLiteral(
            "Es werden Daten vom 1.1 des Jahres bis zum Ende des gewählten Monats exportiert:"),
        this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);
    QFont fett = Label1->font();
    fett.setBold(true);
    Label1->setFont(fett);
    Label1->setStyleSheet(QStringLiteral("color: maroon"));
    Label1->setGeometry(9, 4, 355, 28);
    resize(373, 192);
}

void TExportauswahl::FormActivate() {
    TMonatsAuswahl::FormActivate();
    waehle(12);
    RadioButton(12)->setFocus();
}
