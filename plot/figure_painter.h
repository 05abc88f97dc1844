#pragma once

#include <QPainter>
#include <QSize>

#include "plot/figure.h"

namespace quorvane::plot {

// Draws the figure onto a canvas of the given size in logical pixels: title,
// framed axes with ticks and labels, the series, and a legend.
void PaintFigure(QPainter& painter, QSize size, const Figure& figure);

}  // namespace quorvane::plot
