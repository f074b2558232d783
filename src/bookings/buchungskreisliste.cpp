#include "bookings/buchungskreisliste.h"

#include "toolkit/gridspalten.h"

#include <QPushButton>
#include <QSqlQueryModel>
#include <QSqlRecord>
#include <QTableView>

namespace {

QPushButton* schalter(QWidget* parent, const char* name, const QString& text, int y) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(184, y, 75, 25);
    return b;
}

} // namespace

TFormBuchungskreis::TFormBuchungskreis(QSqlQueryModel& kreise, QWidget* parent)
    : QDialog(parent), m_kreise(kreise) {
    setObjectName(QStringLiteral("FormBuchungskreis"));
    setWindowTitle(QStringLiteral("Buchungskreise"));
    setFixedSize(267, 207);

    DBGrid1 = new QTableView(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    listenGridEinrichten(*DBGrid1);
    gridBinden(*DBGrid1, m_kreise,
               {{QStringLiteral("BKName"), QStringLiteral("Bezeichnung"), 120, {}},
                {QStringLiteral("BKKurz"), QStringLiteral("Kurz"), 30, {}}});
    DBGrid1->setGeometry(8, 8, 168, 191);
    connect(DBGrid1->model(), &QAbstractItemModel::modelReset, this,
            [this] { ersteZeileWaehlen(*DBGrid1); });
    ersteZeileWaehlen(*DBGrid1);

    connect(schalter(this, "SchalterNeu", QStringLiteral("Neu"), 8), &QPushButton::clicked, this,
            &TFormBuchungskreis::SchalterNeuClick);
    connect(schalter(this, "SchalterLoeschen", QStringLiteral("Löschen"), 40),
            &QPushButton::clicked, this, &TFormBuchungskreis::SchalterLoeschenClick);
    connect(schalter(this, "SchalterAendern", QStringLiteral("Ändern"), 72), &QPushButton::clicked,
            this, &TFormBuchungskreis::SchalterAendernClick);
    connect(schalter(this, "SchalterFertig", QStringLiteral("S&chließen"), 174),
            &QPushButton::clicked, this, &QDialog::accept);
}

std::optional<int> TFormBuchungskreis::ausgewaehlt() const {
    const int zeile = aktuelleZeile(*DBGrid1);
    const int spalte = m_kreise.record().indexOf(QStringLiteral("id"));
    if (zeile < 0 || spalte < 0)
        return std::nullopt;
    const QVariant v = m_kreise.data(m_kreise.index(zeile, spalte));
    if (v.isNull())
        return std::nullopt;
    return v.toInt();
}

void TFormBuchungskreis::auswaehlen(std::optional<int> id) {
    const int spalte = m_kreise.record().indexOf(QStringLiteral("id"));
    if (id && spalte >= 0) {
        // the circles of one client are few; the model holds them all soon
        while (m_kreise.canFetchMore())
            m_kreise.fetchMore();
        for (int r = 0; r < m_kreise.rowCount(); ++r) {
            if (m_kreise.data(m_kreise.index(r, spalte)).toInt() == *id) {
                DBGrid1->setCurrentIndex(DBGrid1->model()->index(r, 0));
                return;
            }
        }
    }
    ersteZeileWaehlen(*DBGrid1);
}

void TFormBuchungskreis::SchalterNeuClick() {
    if (m_aktionen.neu)
        m_aktionen.neu();
}

void TFormBuchungskreis::SchalterLoeschenClick() {
    if (m_aktionen.loeschen)
        m_aktionen.loeschen();
}

void TFormBuchungskreis::SchalterAendernClick() {
    if (m_aktionen.aendern)
        m_aktionen.aendern();
}
