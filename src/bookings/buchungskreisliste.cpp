#include "bookings/buchungskreisliste.h"

#include "toolkit/gridspalten.h"

#include <QPushButton>
#include <QSqlQueryModel>
#include <QSqlRecord>
#include <QTableView>

namespace {

// The E 1a column widens the list by this much; the buttons move with it.
constexpr int kE1aBreite = 210;

QPushButton* schalter(QWidget* parent, const char* name, const QString& text, int y) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(184 + kE1aBreite, y, 75, 25);
    return b;
}

} // namespace

TFormBuchungskreis::TFormBuchungskreis(QSqlQueryModel& kreise, QWidget* parent)
    : QDialog(parent), m_kreise(kreise) {
    setObjectName(QStringLiteral("FormBuchungskreis"));
    setWindowTitle(QStringLiteral("Buchungskreise"));
    setFixedSize(267 + kE1aBreite, 207);

    DBGrid1 = new QTableView(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    listenGridEinrichten(*DBGrid1);
    m_spalten = gridBinden(*DBGrid1, m_kreise,
                           {{QStringLiteral("BKName"), QStringLiteral("Bezeichnung"), 120, {}},
                            {QStringLiteral("BKKurz"), QStringLiteral("Kurz"), 30, {}},
                            {QStringLiteral("E1a"), QStringLiteral("E 1a"), kE1aBreite, {}}});
    DBGrid1->setGeometry(8, 8, 168 + kE1aBreite, 191);
    connect(DBGrid1->model(), &QAbstractItemModel::modelReset, this,
            [this] { ersteZeileWaehlen(*DBGrid1); });
    ersteZeileWaehlen(*DBGrid1);

    connect(schalter(this, "SchalterNeu", QStringLiteral("Neu"), 8), &QPushButton::clicked, this,
            &TFormBuchungskreis::SchalterNeuClick);
    connect(schalter(this, "SchalterLoeschen", QStringLiteral("Löschen"), 40),
            &QPushButton::clicked, this, &TFormBuchungskreis::SchalterLoeschenClick);
    connect(schalter(this, "SchalterAendern", QStringLiteral("Ändern"), 72), &QPushButton::clicked,
            this, &TFormBuchungskreis::SchalterAendernClick);
    SchalterE1a = schalter(this, "SchalterE1a", QStringLiteral("E &1a…"), 104);
    SchalterE1a->setToolTip(QStringLiteral("Kennzahl der Einkommensteuererklärung (E 1a) wählen"));
    SchalterE1a->setVisible(false);
    connect(SchalterE1a, &QPushButton::clicked, this, &TFormBuchungskreis::SchalterE1aClick);
    connect(schalter(this, "SchalterFertig", QStringLiteral("S&chließen"), 174),
            &QPushButton::clicked, this, &QDialog::accept);
}

void TFormBuchungskreis::setAktionen(Aktionen aktionen) {
    m_aktionen = std::move(aktionen);
    SchalterE1a->setVisible(static_cast<bool>(m_aktionen.e1a));
}

void TFormBuchungskreis::setE1aTexte(QHash<int, QString> texte) {
    m_spalten->setNachschlagen(2, QStringLiteral("id"), std::move(texte));
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

void TFormBuchungskreis::SchalterE1aClick() {
    if (m_aktionen.e1a)
        m_aktionen.e1a();
}
