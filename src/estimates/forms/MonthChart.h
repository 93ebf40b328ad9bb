#pragma once

#include "estimates/EstSummary.h"

#include <QColor>

class QChart;

// The estimate summary's bar chart: what the estimates dated in each month are worth, stacked
// by status, so that the month's bar is the month's total.
namespace MonthChart {

// The colour of a status's bars: the same on a light and on a dark palette, and on paper.
QColor colourOf(int kind);

// A chart of `f`'s months. `background` and `text` are the colours it is drawn in (the
// window's palette on screen, white and black on paper).
QChart* make(const EstSummary::Figures& f, const QColor& background, const QColor& text);

} // namespace MonthChart
