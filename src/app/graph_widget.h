#pragma once

#include "graph/graph_plot.h"

#include <QWidget>

#include <utility>

#include <optional>

// The graph itself: axes with their ticks and titles, the points as markers,
// joined in row order if asked, the fitted curve over the part of the x
// axis it was fitted to (shaded when that is not all of it), and under it
// the residuals when asked. Drawn with QPainter, so the same drawing serves
// the window, a PNG and an SVG. Dragging across the plot chooses the fit's
// x range; a double click clears it.
class GraphWidget : public QWidget {
    Q_OBJECT

public:
    explicit GraphWidget(QWidget* parent = nullptr);

    // The colours of the points, the fitted curve, the error bars, and the
    // steepest and shallowest lines.
    static const QColor pointColour;
    static const QColor curveColour;
    static const QColor barColour;
    static const QColor extremeColour;

    void setPlot(GraphPlot plot, bool joinPoints);
    const GraphPlot& plot() const { return plot_; }
    // The plot shown, handed back to be brought up to date and set again.
    GraphPlot takePlot() { return std::exchange(plot_, GraphPlot{}); }

    // Draws a plot into a rectangle of any paint device; returns where the
    // main plot's axes lie.
    static QRectF draw(QPainter& painter, const QRectF& area, const GraphPlot& plot,
                       bool joinPoints);

    // The x value at a pixel column of the last drawing, if it lies on the plot.
    std::optional<double> xAt(qreal pixel) const;

signals:
    void rangeDragged(double from, double to);
    void rangeCleared();
    // A click without a drag on the plot, at this x.
    void clickedAt(double x);
    // The widget changed its size: its ticks follow it.
    void resized();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    GraphPlot plot_;
    bool joinPoints_ = true;
    QRectF plotArea_;
    std::optional<qreal> dragStart_;
    qreal dragNow_ = 0;
};
