#pragma once

#include "graph/graph_plot.h"

#include <QWidget>

class QPaintDevice;

// The graph itself: axes with their ticks and titles, the points as markers,
// joined in row order if asked, and the fitted line. Drawn with QPainter, so
// the same drawing serves the window, a PNG and an SVG.
class GraphWidget : public QWidget {
    Q_OBJECT

public:
    explicit GraphWidget(QWidget* parent = nullptr);

    void setPlot(GraphPlot plot, bool joinPoints);
    const GraphPlot& plot() const { return plot_; }

    // Draws a plot into a rectangle of any paint device.
    static void draw(QPainter& painter, const QRectF& area, const GraphPlot& plot, bool joinPoints);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    GraphPlot plot_;
    bool joinPoints_ = true;
};
