#pragma once

#include "reports/monate.h"

#include <QImage>
#include <QSizeF>

// The chart of the monthly overview: income and expenses per month as bars,
// the cumulative result as a line, the previous year's as a thin one. Drawn
// at print resolution for a place of sizeMm on the page.
QImage monatsGrafik(const monate::Uebersicht& u, const QSizeF& sizeMm);
