#pragma once

#include "reportengine/pagemodel.h"

#include <QPageLayout>
#include <QString>
#include <QStringList>
#include <optional>

class QPainter;
class QPrinter;

namespace reportengine {

// The paper of the model, in landscape when it is wider than high, without margins.
QPageLayout pageLayout(const PageModel& model);

// Draws one page of the model on a device whose origin is the paper's top
// left corner; pxPerMm is the device's resolution.
void paintPage(QPainter& painter, const Page& page, double pxPerMm);

// Draws every page on the printer (within its chosen page range). Answers a
// message for the user when the printer cannot be used.
std::optional<QString> printPages(const PageModel& model, QPrinter& printer);

// Writes the model as a PDF file through a temporary file beside it, so a
// failure leaves no half-written file and an earlier file intact. Answers a
// message for the user on failure.
std::optional<QString> writePdf(const PageModel& model, const QString& path,
                                const QString& title = QString());

// The printed texts as lines: one line per row of elements of a band, its
// texts from left to right separated by a tab; a disabled or empty element
// gives an empty field. The print date at the foot of the pages is no
// content of the report and left out.
QStringList textLines(const PageModel& model);

} // namespace reportengine
