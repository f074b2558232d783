#include "reports/monatsgrafik.h"

#include "data/dates.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QGraphicsScene>
#include <QLineSeries>
#include <QPainter>
#include <QValueAxis>
#include <algorithm>

namespace {

// Laid out a little finer than a screen's, so that the screen-sized labels
// of twelve months fit below their bars, and drawn this many times finer.
constexpr double kLogischeDpi = 120;
constexpr double kFeiner = 2.5;

QLineSeries* linie(const QString& name, const std::array<Currency, 12>& werte, const QPen& pen) {
    auto* s = new QLineSeries;
    s->setName(name);
    s->setPen(pen);
    for (size_t i = 0; i < werte.size(); ++i)
        s->append(static_cast<double>(i), werte[i].toDouble());
    return s;
}

} // namespace

QImage monatsGrafik(const monate::Uebersicht& u, const QSizeF& sizeMm) {
    const QSizeF logisch = sizeMm / 25.4 * kLogischeDpi;
    QGraphicsScene szene;
    auto* chart = new QChart;
    szene.addItem(chart);
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->setBackgroundVisible(false);
    chart->setMargins(QMargins(2, 2, 2, 2));
    chart->legend()->setAlignment(Qt::AlignBottom);

    auto* ein = new QBarSet(QStringLiteral("Einnahmen"));
    auto* aus = new QBarSet(QStringLiteral("Ausgaben"));
    ein->setColor(QColor(0x4c, 0x8c, 0x4a));
    aus->setColor(QColor(0xc0, 0x50, 0x40));
    std::array<Currency, 12> kumuliert{};
    double tief = 0, hoch = 0;
    for (size_t i = 0; i < u.monate.size(); ++i) {
        const monate::Monat& m = u.monate[i];
        *ein << m.einnahmen.toDouble();
        *aus << m.ausgaben.toDouble();
        kumuliert[i] = m.kumuliert;
        for (double w : {m.einnahmen.toDouble(), m.ausgaben.toDouble(), m.kumuliert.toDouble()}) {
            tief = std::min(tief, w);
            hoch = std::max(hoch, w);
        }
        if (u.vorjahr) {
            tief = std::min(tief, (*u.vorjahr)[i].toDouble());
            hoch = std::max(hoch, (*u.vorjahr)[i].toDouble());
        }
    }
    auto* balken = new QBarSeries;
    balken->append(ein);
    balken->append(aus);
    chart->addSeries(balken);
    QPen dick(Qt::black);
    dick.setWidthF(2.0);
    chart->addSeries(linie(QStringLiteral("Ergebnis kumuliert"), kumuliert, dick));
    if (u.vorjahr) {
        QPen duenn(QColor(0x60, 0x60, 0x60));
        duenn.setWidthF(0.8);
        duenn.setStyle(Qt::DashLine);
        chart->addSeries(
            linie(QStringLiteral("Ergebnis %1 kumuliert").arg(u.jahr - 1), *u.vorjahr, duenn));
    }

    auto* x = new QBarCategoryAxis;
    for (int m = 1; m <= 12; ++m)
        x->append(dates::monthName(m).left(3));
    auto* y = new QValueAxis;
    y->setRange(tief, hoch > tief ? hoch : tief + 1);
    y->applyNiceNumbers();
    y->setLabelFormat(QStringLiteral("%.0f"));
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    for (QAbstractSeries* s : chart->series()) {
        s->attachAxis(x);
        s->attachAxis(y);
    }
    chart->setGeometry(QRectF(QPointF(0, 0), logisch));

    QImage bild((logisch * kFeiner).toSize(), QImage::Format_ARGB32);
    bild.fill(Qt::white);
    QPainter p(&bild);
    p.setRenderHint(QPainter::Antialiasing);
    szene.render(&p, QRectF(QPointF(0, 0), logisch * kFeiner), QRectF(QPointF(0, 0), logisch));
    p.end();
    return bild;
}
