#include "bookings/buchungskreisneu.h"

#include "toolkit/zeichengrenze.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TFormBuchungskreisNeu::TFormBuchungskreisNeu(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FormBuchungskreisNeu"));
    resize(262, 154);

    auto* label1 = new QLabel(QStringLiteral("Bezeichnung"), this);
    label1->setObjectName(QStringLiteral("Label1"));
    label1->move(16, 12);
    DBEdit1 = new QLineEdit(this);
    DBEdit1->setObjectName(QStringLiteral("DBEdit1"));
    DBEdit1->setGeometry(16, 30, 230, 22);
    label1->setBuddy(DBEdit1);

    auto* label2 = new QLabel(QStringLiteral("Kurz (1 - 2 Zeichen)"), this);
    label2->setObjectName(QStringLiteral("Label2"));
    label2->move(16, 60);
    DBEdit2 = new QLineEdit(this);
    DBEdit2->setObjectName(QStringLiteral("DBEdit2"));
    DBEdit2->setGeometry(16, 78, 50, 22);
    label2->setBuddy(DBEdit2);
    zeichenBegrenzen(DBEdit2, KurzLaenge);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("BitBtn1"));
    ok->setGeometry(90, 116, 75, 25);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* abbruch = new QPushButton(QStringLiteral("Abbruch"), this);
    abbruch->setObjectName(QStringLiteral("BitBtn2"));
    abbruch->setGeometry(172, 116, 75, 25);
    connect(abbruch, &QPushButton::clicked, this, [this] { done(Abbruch); });
}

void TFormBuchungskreisNeu::neu() {
    m_neu = true;
    DBEdit1->clear();
    DBEdit2->clear();
}

void TFormBuchungskreisNeu::bearbeiten(const QString& name, const QString& kurz) {
    m_neu = false;
    DBEdit1->setText(name);
    DBEdit2->setText(kurz);
}

QString TFormBuchungskreisNeu::name() const {
    return DBEdit1->text();
}

QString TFormBuchungskreisNeu::kurz() const {
    return DBEdit2->text();
}

void TFormBuchungskreisNeu::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormActivate();
}

void TFormBuchungskreisNeu::FormActivate() {
    setWindowTitle(m_neu ? QStringLiteral("Neuer Buchungskreis")
                         : QStringLiteral("Buchungskreis bearbeiten"));
    DBEdit1->setFocus();
}
