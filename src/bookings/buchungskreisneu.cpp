#include "bookings/buchungskreisneu.h"

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
    connect(DBEdit2, &QLineEdit::textEdited, this, &TFormBuchungskreisNeu::kurzBegrenzen);

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
    m_kurzVorher.clear();
}

void TFormBuchungskreisNeu::bearbeiten(const QString& name, const QString& kurz) {
    m_neu = false;
    DBEdit1->setText(name);
    DBEdit2->setText(kurz);
    m_kurzVorher = kurz;
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

QString TFormBuchungskreisNeu::ersteZeichen(const QString& text, int n) {
    qsizetype i = 0;
    for (int gezaehlt = 0; i < text.size() && gezaehlt < n; ++gezaehlt) {
        i += (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) ? 2
                                                                                                : 1;
    }
    return text.left(i);
}

int TFormBuchungskreisNeu::zeichenAnzahl(const QString& text) {
    int n = 0;
    for (qsizetype i = 0; i < text.size(); ++n)
        i += ersteZeichen(text.mid(i), 1).size();
    return n;
}

void TFormBuchungskreisNeu::kurzBegrenzen(const QString& neu) {
    // Like an edit's own length limit, an insertion keeps only what fits;
    // but it counts characters, not UTF-16 units, so no character outside
    // the basic plane is cut in half.
    const QString& alt = m_kurzVorher;
    qsizetype vorne = 0;
    while (vorne < alt.size() && vorne < neu.size() && alt[vorne] == neu[vorne])
        ++vorne;
    if (vorne > 0 && neu[vorne - 1].isHighSurrogate())
        --vorne;
    qsizetype hinten = 0;
    while (hinten < alt.size() - vorne && hinten < neu.size() - vorne &&
           alt[alt.size() - 1 - hinten] == neu[neu.size() - 1 - hinten])
        ++hinten;
    if (hinten > 0 && neu[neu.size() - hinten].isLowSurrogate())
        --hinten;
    const QString entfernt = alt.mid(vorne, alt.size() - vorne - hinten);
    const QString eingefuegt = neu.mid(vorne, neu.size() - vorne - hinten);
    const int bleibt = zeichenAnzahl(alt) - zeichenAnzahl(entfernt);
    const QString passt = ersteZeichen(eingefuegt, std::max(0, KurzLaenge - bleibt));
    if (passt.size() != eingefuegt.size()) {
        DBEdit2->setText(neu.left(vorne) + passt + neu.right(hinten));
        DBEdit2->setCursorPosition(static_cast<int>(vorne + passt.size()));
    }
    m_kurzVorher = DBEdit2->text();
}
