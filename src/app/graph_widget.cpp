#include "app/graph_widget.h"

#include "app/graph_painter.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

constexpr qreal smallestDrag = 4; // pixels; less is a click

} // namespace

const QColor GraphWidget::pointColour = graph_colours::point;
const QColor GraphWidget::curveColour = graph_colours::curve;
const QColor GraphWidget::barColour = graph_colours::bar;
const QColor GraphWidget::extremeColour = graph_colours::extreme;

GraphWidget::GraphWidget(QWidget* parent) : QWidget(parent)
{
    setMinimumSize(240, 160);
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
}

void GraphWidget::setPlot(GraphPlot plot, bool joinPoints)
{
    plot_ = std::move(plot);
    joinPoints_ = joinPoints;
    update();
}

QRectF GraphWidget::draw(QPainter& painter, const QRectF& area, const GraphPlot& plot,
                         bool joinPoints)
{
    return drawGraph(painter, area, plot, joinPoints);
}

std::optional<double> GraphWidget::xAt(qreal pixel) const
{
    if (plotArea_.width() <= 0 || pixel < plotArea_.left() || pixel > plotArea_.right())
        return std::nullopt;
    return plot_.x.valueAt((pixel - plotArea_.left()) / plotArea_.width());
}

void GraphWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    plotArea_ = draw(painter, rect(), plot_, joinPoints_);
    if (dragStart_) {
        const qreal from = std::min(*dragStart_, dragNow_), to = std::max(*dragStart_, dragNow_);
        QColor band = graph_colours::range;
        band.setAlpha(120);
        painter.fillRect(QRectF(from, plotArea_.top(), to - from, plotArea_.height()), band);
    }
}

void GraphWidget::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !xAt(event->position().x()))
        return;
    dragStart_ = event->position().x();
    dragNow_ = *dragStart_;
}

void GraphWidget::mouseMoveEvent(QMouseEvent* event)
{
    if (!dragStart_)
        return;
    dragNow_ = std::clamp(event->position().x(), plotArea_.left(), plotArea_.right());
    update();
}

void GraphWidget::mouseReleaseEvent(QMouseEvent* event)
{
    if (!dragStart_ || event->button() != Qt::LeftButton)
        return;
    const qreal start = *dragStart_;
    dragStart_.reset();
    const qreal end = std::clamp(event->position().x(), plotArea_.left(), plotArea_.right());
    update();
    if (std::fabs(end - start) < smallestDrag) {
        if (const auto x = xAt(start))
            emit clickedAt(*x);
        return;
    }
    const auto from = xAt(std::min(start, end)), to = xAt(std::max(start, end));
    if (from && to)
        emit rangeDragged(*from, *to);
}

void GraphWidget::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        emit rangeCleared();
}

void GraphWidget::resizeEvent(QResizeEvent*) { emit resized(); }
