#include "app/graph_widget.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

constexpr qreal padding = 8;
constexpr qreal tickLength = 4;
const QColor pointColour(0x1f, 0x5f, 0xa8);
const QColor lineColour(0xc0, 0x39, 0x2b);

// Maps plot values to the plot area's pixels.
struct Frame {
    QRectF area;
    const GraphPlot& plot;

    QPointF at(double fractionX, double fractionY) const
    {
        return {area.left() + fractionX * area.width(), area.bottom() - fractionY * area.height()};
    }
    QPointF map(const Point& p) const { return at(plot.x.fraction(p.x), plot.y.fraction(p.y)); }
};

qreal widestLabel(const QFontMetricsF& metrics, const std::vector<std::string>& labels)
{
    qreal widest = 0;
    for (const std::string& label : labels)
        widest = std::max(widest, metrics.horizontalAdvance(QString::fromStdString(label)));
    return widest;
}

void drawAxes(QPainter& painter, const Frame& frame)
{
    const QFontMetricsF metrics(painter.font());
    const GraphPlot& plot = frame.plot;
    painter.setPen(QColor(0xdd, 0xdd, 0xdd));
    for (const double tick : plot.x.ticks)
        painter.drawLine(frame.at(plot.x.fraction(tick), 0), frame.at(plot.x.fraction(tick), 1));
    for (const double tick : plot.y.ticks)
        painter.drawLine(frame.at(0, plot.y.fraction(tick)), frame.at(1, plot.y.fraction(tick)));
    painter.setPen(Qt::black);
    painter.drawRect(frame.area);
    for (std::size_t i = 0; i < plot.x.ticks.size(); ++i) {
        const QPointF foot = frame.at(plot.x.fraction(plot.x.ticks[i]), 0);
        painter.drawLine(foot, foot + QPointF(0, tickLength));
        const QString label = QString::fromStdString(plot.x.labels[i]);
        const qreal width = metrics.horizontalAdvance(label);
        painter.drawText(QPointF(foot.x() - width / 2, foot.y() + tickLength + metrics.ascent()),
                         label);
    }
    for (std::size_t i = 0; i < plot.y.ticks.size(); ++i) {
        const QPointF foot = frame.at(0, plot.y.fraction(plot.y.ticks[i]));
        painter.drawLine(foot, foot - QPointF(tickLength, 0));
        const QString label = QString::fromStdString(plot.y.labels[i]);
        const qreal width = metrics.horizontalAdvance(label);
        painter.drawText(QPointF(foot.x() - tickLength - 2 - width,
                                 foot.y() + (metrics.ascent() - metrics.descent()) / 2),
                         label);
    }
}

void drawTitles(QPainter& painter, const QRectF& area, const Frame& frame)
{
    const QFontMetricsF metrics(painter.font());
    const QString xTitle = QString::fromStdString(frame.plot.xTitle);
    const QString yTitle = QString::fromStdString(frame.plot.yTitle);
    painter.drawText(QPointF(frame.area.center().x() - metrics.horizontalAdvance(xTitle) / 2,
                             area.bottom() - padding / 2 - metrics.descent()),
                     xTitle);
    painter.save();
    painter.translate(area.left() + padding / 2 + metrics.ascent(), frame.area.center().y());
    painter.rotate(-90);
    painter.drawText(QPointF(-metrics.horizontalAdvance(yTitle) / 2, 0), yTitle);
    painter.restore();
}

void drawPoints(QPainter& painter, const Frame& frame, bool joinPoints)
{
    QList<QPointF> pixels;
    pixels.reserve(static_cast<qsizetype>(frame.plot.points.size()));
    for (const Point& p : frame.plot.points)
        pixels.append(frame.map(p));
    if (joinPoints && pixels.size() > 1) {
        painter.setPen(QPen(pointColour, 1));
        painter.drawPolyline(pixels.constData(), static_cast<int>(pixels.size()));
    }
    painter.setPen(QPen(pointColour, 6, Qt::SolidLine, Qt::RoundCap));
    painter.drawPoints(pixels.constData(), static_cast<int>(pixels.size()));
}

// The fitted line across the plot, cut where it leaves the plot area.
void drawFit(QPainter& painter, const Frame& frame)
{
    const std::optional<LineFit>& fit = frame.plot.fit;
    if (!fit || fit->outcome != LineFit::Outcome::Line)
        return;
    const Axis& x = frame.plot.x;
    const Axis& y = frame.plot.y;
    const double f0 = y.fraction(fit->slope * x.low + fit->intercept);
    const double f1 = y.fraction(fit->slope * x.high + fit->intercept);
    if (!std::isfinite(f0) || !std::isfinite(f1))
        return;
    // The part of the line, from the left edge (t = 0) to the right (t = 1),
    // that lies between the bottom (0) and the top (1).
    double t0 = 0, t1 = 1;
    const double rise = f1 - f0;
    if (!std::isfinite(rise))
        return;
    if (rise != 0) {
        const double atBottom = -f0 / rise, atTop = (1 - f0) / rise;
        t0 = std::max(0.0, std::min(atBottom, atTop));
        t1 = std::min(1.0, std::max(atBottom, atTop));
    } else if (f0 < 0 || f0 > 1) {
        return;
    }
    if (t0 >= t1)
        return;
    painter.setPen(QPen(lineColour, 2));
    painter.drawLine(frame.at(t0, f0 + t0 * rise), frame.at(t1, f0 + t1 * rise));
}

} // namespace

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

void GraphWidget::draw(QPainter& painter, const QRectF& area, const GraphPlot& plot,
                       bool joinPoints)
{
    const QFontMetricsF metrics(painter.font());
    // Room for the titles and the tick labels; a label of many digits may
    // take at most a third of the width.
    const qreal left = padding + metrics.height() +
                       std::min(widestLabel(metrics, plot.y.labels), area.width() / 3) +
                       tickLength + 2;
    const qreal bottom = padding + 2 * metrics.height() + tickLength;
    const QRectF plotArea =
        area.adjusted(left, padding + metrics.height() / 2, -padding - metrics.height(), -bottom);
    if (plotArea.width() <= 0 || plotArea.height() <= 0)
        return;
    const Frame frame{plotArea, plot};
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    drawAxes(painter, frame);
    drawTitles(painter, area, frame);
    painter.setClipRect(plotArea);
    drawPoints(painter, frame, joinPoints);
    drawFit(painter, frame);
    painter.restore();
}

void GraphWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    draw(painter, rect(), plot_, joinPoints_);
}
