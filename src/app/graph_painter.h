#pragma once

#include "graph/graph_plot.h"

#include <QColor>
#include <QRectF>

class QPainter;

// The colours of the points, the fitted curve, the error bars, the steepest
// and shallowest lines, the shaded fit range and the histogram's bars.
namespace graph_colours {
inline const QColor point(0x1f, 0x5f, 0xa8);
inline const QColor curve(0xc0, 0x39, 0x2b);
inline const QColor bar(0x55, 0x55, 0x55);
inline const QColor extreme(0x2e, 0x7d, 0x32);
inline const QColor range(0xff, 0xe9, 0xa8);
inline const QColor histogram(0xb4, 0xcd, 0xea); // the bars' fill

// Run k's colour with "all runs": the Okabe-Ito palette, which people with
// any common colour blindness tell apart (its yellow, hard to see on white,
// last), then around again.
QColor run(std::size_t k);

} // namespace graph_colours

// Draws a plot into a rectangle of any paint device (the window, a PNG, an
// SVG, a PDF page), with QPainter alone: axes with their ticks and titles,
// the points, joined in row order if asked, error bars, the fitted curve, the
// legend and the residuals. Returns where the main plot's axes lie.
QRectF drawGraph(QPainter& painter, const QRectF& area, const GraphPlot& plot, bool joinPoints);
