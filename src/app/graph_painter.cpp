#include "app/graph_painter.h"

#include "graph/legend.h"
#include "graph/point_density.h"

#include <QPaintEngine>
#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <cmath>

namespace {

// How one set of points is drawn: its colour and its marker's shape (all
// runs: each its own, so that they are told apart without colours too).
struct MarkerStyle {
    QColor colour = graph_colours::point;
    int shape = 0; // 0 a disc, then a square, a triangle, a diamond, a cross, a plus
};

// Run k's colour and marker.
MarkerStyle runStyle(std::size_t run)
{
    return {graph_colours::run(run), static_cast<int>(run % 6)};
}

constexpr qreal padding = 8;
constexpr qreal tickLength = 4;
constexpr qreal residualShare = 0.28; // of the height, for the residual plot
const QColor gridColour(0xdd, 0xdd, 0xdd);
const QColor minorGridColour(0xf0, 0xf0, 0xf0);

// Maps values to the pixels of one plot area.
struct Frame {
    QRectF area;
    const Axis& x;
    const Axis& y;

    QPointF at(double fractionX, double fractionY) const
    {
        return {area.left() + fractionX * area.width(), area.bottom() - fractionY * area.height()};
    }
    // Far outside values are held a little beyond the area, where the clip
    // cuts them, so that no coordinate overflows the painter.
    QPointF map(const Point& p) const
    {
        return at(std::clamp(x.fraction(p.x), -1.0, 2.0), std::clamp(y.fraction(p.y), -1.0, 2.0));
    }
};

qreal widestLabel(const QFontMetricsF& metrics, const std::vector<std::string>& labels)
{
    qreal widest = 0;
    for (const std::string& label : labels)
        widest = std::max(widest, metrics.horizontalAdvance(QString::fromStdString(label)));
    return widest;
}

void drawGrid(QPainter& painter, const Frame& frame)
{
    painter.setPen(minorGridColour);
    for (const double tick : frame.x.minorTicks)
        painter.drawLine(frame.at(frame.x.fraction(tick), 0), frame.at(frame.x.fraction(tick), 1));
    for (const double tick : frame.y.minorTicks)
        painter.drawLine(frame.at(0, frame.y.fraction(tick)), frame.at(1, frame.y.fraction(tick)));
    painter.setPen(gridColour);
    for (const double tick : frame.x.ticks)
        painter.drawLine(frame.at(frame.x.fraction(tick), 0), frame.at(frame.x.fraction(tick), 1));
    for (const double tick : frame.y.ticks)
        painter.drawLine(frame.at(0, frame.y.fraction(tick)), frame.at(1, frame.y.fraction(tick)));
}

// Tick marks outside the plot, and the labels that do not run into the one
// drawn before them (on a small plot every other one, never overlapping).
void drawXLabels(QPainter& painter, const Frame& frame)
{
    const QFontMetricsF metrics(painter.font(), painter.device());
    for (const double tick : frame.x.minorTicks) {
        const QPointF foot = frame.at(frame.x.fraction(tick), 0);
        painter.drawLine(foot, foot + QPointF(0, tickLength / 2));
    }
    qreal lastRight = -1e9;
    for (std::size_t i = 0; i < frame.x.ticks.size(); ++i) {
        const QPointF foot = frame.at(frame.x.fraction(frame.x.ticks[i]), 0);
        painter.drawLine(foot, foot + QPointF(0, tickLength));
        const QString label = QString::fromStdString(frame.x.labels[i]);
        const qreal width = metrics.horizontalAdvance(label);
        if (foot.x() - width / 2 < lastRight + metrics.averageCharWidth())
            continue;
        painter.drawText(QPointF(foot.x() - width / 2, foot.y() + tickLength + metrics.ascent()),
                         label);
        lastRight = foot.x() + width / 2;
    }
}

void drawYLabels(QPainter& painter, const Frame& frame)
{
    const QFontMetricsF metrics(painter.font(), painter.device());
    for (const double tick : frame.y.minorTicks) {
        const QPointF foot = frame.at(0, frame.y.fraction(tick));
        painter.drawLine(foot, foot - QPointF(tickLength / 2, 0));
    }
    qreal lastTop = 1e9;
    for (std::size_t i = 0; i < frame.y.ticks.size(); ++i) {
        const QPointF foot = frame.at(0, frame.y.fraction(frame.y.ticks[i]));
        painter.drawLine(foot, foot - QPointF(tickLength, 0));
        const qreal baseline = foot.y() + (metrics.ascent() - metrics.descent()) / 2;
        if (baseline > lastTop - 2)
            continue;
        const QString label = QString::fromStdString(frame.y.labels[i]);
        const qreal width = metrics.horizontalAdvance(label);
        painter.drawText(QPointF(foot.x() - tickLength - 2 - width, baseline), label);
        lastTop = baseline - metrics.ascent();
    }
}

// "× 10⁻¹⁹" at the end of an axis whose labels are over a power of ten: the
// x axis's under its right end, the y axis's over its top.
void drawPowerLabels(QPainter& painter, const QRectF& xArea, const QRectF& yArea,
                     const GraphPlot& plot)
{
    const QFontMetricsF metrics(painter.font(), painter.device());
    if (const QString power = QString::fromStdString(plot.x.powerLabel()); !power.isEmpty())
        painter.drawText(QPointF(xArea.right() - metrics.horizontalAdvance(power),
                                 xArea.bottom() + tickLength + metrics.ascent() + metrics.height()),
                         power);
    if (const QString power = QString::fromStdString(plot.y.powerLabel()); !power.isEmpty())
        painter.drawText(QPointF(yArea.left(), yArea.top() - metrics.descent() - 2), power);
}

// A title turned on its side at the left of the area, along `along`.
void drawSideTitle(QPainter& painter, const QRectF& area, const QRectF& along, const QString& title)
{
    const QFontMetricsF metrics(painter.font(), painter.device());
    painter.save();
    painter.translate(area.left() + padding / 2 + metrics.ascent(), along.center().y());
    painter.rotate(-90);
    painter.drawText(QPointF(-metrics.horizontalAdvance(title) / 2, 0), title);
    painter.restore();
}

void drawTitles(QPainter& painter, const QRectF& area, const QRectF& plotArea, const QRectF& main,
                const QRectF& residuals, const GraphPlot& plot)
{
    const QFontMetricsF metrics(painter.font(), painter.device());
    const QString xTitle = QString::fromStdString(plot.xTitle);
    painter.drawText(QPointF(plotArea.center().x() - metrics.horizontalAdvance(xTitle) / 2,
                             area.bottom() - padding / 2 - metrics.descent()),
                     xTitle);
    drawSideTitle(painter, area, main, QString::fromStdString(plot.yTitle));
    if (!residuals.isEmpty())
        drawSideTitle(painter, area, residuals, QString::fromStdString(plot.residualTitle));
    if (plot.title.empty())
        return;
    painter.save();
    QFont bold = painter.font();
    bold.setBold(true);
    painter.setFont(bold);
    const QFontMetricsF boldMetrics(bold, painter.device());
    const QString title = QString::fromStdString(plot.title);
    painter.drawText(QPointF(plotArea.center().x() - boldMetrics.horizontalAdvance(title) / 2,
                             area.top() + padding / 2 + boldMetrics.ascent()),
                     title);
    painter.restore();
}

// The part of the x axis the fit took, shaded.
void drawRange(QPainter& painter, const Frame& frame, const GraphPlot& plot)
{
    if (!plot.range)
        return;
    const double from = plot.range->from ? frame.x.fraction(*plot.range->from) : 0;
    const double to = plot.range->to ? frame.x.fraction(*plot.range->to) : 1;
    const QRectF band(frame.at(std::clamp(from, 0.0, 1.0), 1),
                      frame.at(std::clamp(to, 0.0, 1.0), 0));
    painter.fillRect(band.normalized(), graph_colours::range);
}

void drawCurve(QPainter& painter, const Frame& frame, const std::vector<std::vector<Point>>& curve,
               const QColor& colour = graph_colours::curve)
{
    painter.setPen(QPen(colour, 2));
    for (const std::vector<Point>& piece : curve) {
        QList<QPointF> pixels;
        pixels.reserve(static_cast<qsizetype>(piece.size()));
        for (const Point& p : piece)
            pixels.append(frame.map(p));
        painter.drawPolyline(pixels.constData(), static_cast<int>(pixels.size()));
    }
}

// Far more points than pixel columns (a long recording): each column's
// lowest and highest point, in the order the columns come. Joined, they
// draw the span each column of a recording covers; the points between them
// would only overlap on the screen.
QList<QPointF> columnExtremes(const Frame& frame, const std::vector<Point>& points)
{
    const int columns = std::max(1, static_cast<int>(frame.area.width()) + 1);
    std::vector<qreal> low(static_cast<std::size_t>(columns), INFINITY);
    std::vector<qreal> high(static_cast<std::size_t>(columns), -INFINITY);
    std::vector<int> order; // the columns in the order their first point comes
    // On linear axes a value's pixel is a multiply and an add.
    const bool linear = !frame.x.logarithmic && !frame.y.logarithmic;
    const double xScale = frame.area.width() / (frame.x.high - frame.x.low);
    const double yScale = frame.area.height() / (frame.y.high - frame.y.low);
    const bool simple = linear && std::isfinite(xScale) && std::isfinite(yScale);
    for (const Point& p : points) {
        const QPointF pixel =
            simple ? QPointF(frame.area.left() + (p.x - frame.x.low) * xScale,
                             std::clamp(frame.area.bottom() - (p.y - frame.y.low) * yScale,
                                        frame.area.top() - frame.area.height(),
                                        frame.area.bottom() + frame.area.height()))
                   : frame.map(p);
        if (!std::isfinite(pixel.x()) || !std::isfinite(pixel.y()))
            continue;
        const int column =
            std::clamp(static_cast<int>(pixel.x() - frame.area.left()), 0, columns - 1);
        const auto c = static_cast<std::size_t>(column);
        if (low[c] > high[c])
            order.push_back(column);
        low[c] = std::min(low[c], pixel.y());
        high[c] = std::max(high[c], pixel.y());
    }
    QList<QPointF> pixels;
    for (const int column : order) {
        const auto c = static_cast<std::size_t>(column);
        const qreal x = frame.area.left() + column + 0.5;
        pixels.append({x, low[c]});
        if (high[c] > low[c])
            pixels.append({x, high[c]});
    }
    return pixels;
}

// Far more points than pixel columns: markers one on another.
bool dense(const Frame& frame, std::size_t points)
{
    return points > 4 * static_cast<std::size_t>(std::max(1.0, frame.area.width()));
}

QList<QPointF> pixelsOf(const Frame& frame, const std::vector<Point>& points)
{
    if (dense(frame, points.size()))
        return columnExtremes(frame, points);
    QList<QPointF> pixels;
    pixels.reserve(static_cast<qsizetype>(points.size()));
    for (const Point& p : points)
        pixels.append(frame.map(p));
    return pixels;
}

// The points joined in row order, under the curve.
void drawJoin(QPainter& painter, const QList<QPointF>& pixels,
              const QColor& colour = graph_colours::point)
{
    if (pixels.size() < 2)
        return;
    painter.setPen(QPen(colour, 1));
    painter.drawPolyline(pixels.constData(), static_cast<int>(pixels.size()));
}

// Each point's error bars, vertical for y and horizontal for x, with small
// caps at their ends; a bar of 0, or none, is not drawn.
void drawBars(QPainter& painter, const Frame& frame, const std::vector<ErrorBox>& bars)
{
    constexpr qreal cap = 3;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false); // crisp, on whole pixels
    painter.setPen(QPen(graph_colours::bar, 1));
    for (const ErrorBox& bar : bars) {
        if (bar.uy > 0) {
            const QPointF low = frame.map({bar.x, bar.y - bar.uy});
            const QPointF high = frame.map({bar.x, bar.y + bar.uy});
            painter.drawLine(low, high);
            for (const QPointF& end : {low, high})
                painter.drawLine(end - QPointF(cap, 0), end + QPointF(cap, 0));
        }
        if (bar.ux > 0) {
            const QPointF left = frame.map({bar.x - bar.ux, bar.y});
            const QPointF right = frame.map({bar.x + bar.ux, bar.y});
            painter.drawLine(left, right);
            for (const QPointF& end : {left, right})
                painter.drawLine(end - QPointF(0, cap), end + QPointF(0, cap));
        }
    }
    painter.restore();
}

// The steepest and shallowest lines through every bar, dashed, across the
// plot.
void drawExtremeLines(QPainter& painter, const Frame& frame, const GraphPlot& plot)
{
    if (!plot.extremes)
        return;
    painter.setPen(QPen(graph_colours::extreme, 1.5, Qt::DashLine));
    for (const Line& line : {plot.extremes->steepest, plot.extremes->shallowest}) {
        QList<QPointF> pixels;
        for (int i = 0; i <= 64; ++i) { // pieces, so that the clamping keeps the line's direction
            const double x = plot.x.valueAt(i / 64.0);
            pixels.append(frame.map({x, line.slope * x + line.intercept}));
        }
        painter.drawPolyline(pixels.constData(), static_cast<int>(pixels.size()));
    }
}

// Markers over everything, whole even on the plot's edge.
void drawMarkers(QPainter& painter, const QList<QPointF>& pixels, const MarkerStyle& style = {})
{
    if (style.shape == 0) {
        painter.setPen(QPen(style.colour, 6, Qt::SolidLine, Qt::RoundCap));
        painter.drawPoints(pixels.constData(), static_cast<int>(pixels.size()));
        return;
    }
    constexpr qreal r = 3.5;
    painter.save();
    painter.setPen(QPen(style.colour, 1.5));
    painter.setBrush(style.shape <= 3 ? QBrush(style.colour) : QBrush(Qt::NoBrush));
    for (const QPointF& p : pixels) {
        switch (style.shape % 6) {
        case 1:
            painter.drawRect(QRectF(p.x() - r, p.y() - r, 2 * r, 2 * r));
            break;
        case 2: {
            const QPointF corners[] = {
                {p.x(), p.y() - r - 1}, {p.x() + r + 0.5, p.y() + r}, {p.x() - r - 0.5, p.y() + r}};
            painter.drawPolygon(corners, 3);
            break;
        }
        case 3: {
            const QPointF corners[] = {{p.x(), p.y() - r - 1},
                                       {p.x() + r + 1, p.y()},
                                       {p.x(), p.y() + r + 1},
                                       {p.x() - r - 1, p.y()}};
            painter.drawPolygon(corners, 4);
            break;
        }
        case 4:
            painter.drawLine(p + QPointF(-r, -r), p + QPointF(r, r));
            painter.drawLine(p + QPointF(-r, r), p + QPointF(r, -r));
            break;
        default:
            painter.drawLine(p + QPointF(-r - 1, 0), p + QPointF(r + 1, 0));
            painter.drawLine(p + QPointF(0, -r - 1), p + QPointF(0, r + 1));
        }
    }
    painter.restore();
}

// Image pixels a unit of the painter: the screen's, or about 300 dots an
// inch on a page (a PDF at 72 units an inch) or in an SVG.
qreal rasterScale(const QPainter& painter)
{
    const QPaintDevice* device = painter.device();
    const QPaintEngine* engine = painter.paintEngine();
    if (engine && (engine->type() == QPaintEngine::Pdf || engine->type() == QPaintEngine::SVG))
        return 4;
    return device ? std::max<qreal>(1, device->devicePixelRatioF()) : 1;
}

// The counts of dense points and the image they are drawn into, kept for
// every run of one drawing: fresh memory for each of ten runs costs more
// than drawing them.
struct DensityBuffers {
    PointDensity density;
    QImage image;
};

// Every point of a dense plot as a small marker in an image of the plot,
// darker where more points lie: the band of noisy readings shows where
// they are and where most of them are.
void drawDensity(QPainter& painter, const Frame& frame, const std::vector<Point>& points,
                 const QColor& colour, DensityBuffers& buffers)
{
    constexpr int largestSide = 4000;
    const qreal scale = rasterScale(painter);
    const int width =
        std::clamp(static_cast<int>(std::ceil(frame.area.width() * scale)), 1, largestSide);
    const int height =
        std::clamp(static_cast<int>(std::ceil(frame.area.height() * scale)), 1, largestSide);
    const int marker = std::max(2, static_cast<int>(std::lround(2 * scale)));
    const PointDensity& density = buffers.density;
    countPoints(points, frame.x, frame.y, width, height, marker, buffers.density);
    if (density.most == 0)
        return;
    QImage& image = buffers.image;
    if (image.width() != width || image.height() != height)
        image = QImage(width, height, QImage::Format_ARGB32_Premultiplied);
    // Even a lone point stands out; the most crowded pixels are solid. The
    // colour of each count is worked out once, for the counts up to 4096;
    // no point leaves the pixel clear.
    const double darkest = std::log1p(static_cast<double>(density.most));
    const auto shade = [&](std::uint32_t count) {
        const int alpha =
            90 + static_cast<int>(165 * std::log1p(static_cast<double>(count)) / darkest);
        return qPremultiply(
            qRgba(colour.red(), colour.green(), colour.blue(), std::min(alpha, 255)));
    };
    std::vector<QRgb> shades(std::min<std::uint32_t>(density.most, 4096) + 1, qRgba(0, 0, 0, 0));
    for (std::uint32_t count = 1; count < shades.size(); ++count)
        shades[count] = shade(count);
    for (int row = 0; row < height; ++row) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(row));
        for (int column = 0; column < width; ++column) {
            const std::uint32_t count = density.at(column, row);
            line[column] = count < shades.size() ? shades[count] : shade(count);
        }
    }
    // Pixel for pixel on the painter's pixels: scaled or moved by a fraction
    // of a pixel, the image would be drawn several times slower.
    const QPointF corner(std::round(frame.area.left() * scale) / scale,
                         std::round(frame.area.top() * scale) / scale);
    painter.drawImage(QRectF(corner, QSizeF(width / scale, height / scale)), image);
}

// The markers of the points: each one whole, or, where they far outnumber
// the pixel columns, their density.
void drawPointMarkers(QPainter& painter, const Frame& frame, const std::vector<Point>& points,
                      const QList<QPointF>& pixels, DensityBuffers& buffers,
                      const MarkerStyle& style = {})
{
    if (!dense(frame, points.size())) {
        drawMarkers(painter, pixels, style);
        return;
    }
    painter.save();
    painter.setClipRect(frame.area);
    drawDensity(painter, frame, points, style.colour, buffers);
    painter.restore();
}

// The residuals y - f(x) under the main plot, on the same x axis, with the
// line at 0.
void drawResiduals(QPainter& painter, const QRectF& area, const GraphPlot& plot)
{
    const Frame frame{area, plot.x, plot.residualAxis};
    drawGrid(painter, frame);
    painter.setPen(Qt::black);
    painter.drawRect(area);
    drawYLabels(painter, frame);
    const double zero = plot.residualAxis.fraction(0);
    painter.setPen(QPen(graph_colours::curve, 1));
    painter.drawLine(frame.at(0, zero), frame.at(1, zero));
    DensityBuffers buffers;
    for (std::size_t r = 0; r < plot.runs.size(); ++r) {
        const std::vector<Point>& residuals = plot.runs[r].residuals;
        drawPointMarkers(painter, frame, residuals,
                         dense(frame, residuals.size()) ? QList<QPointF>()
                                                        : pixelsOf(frame, residuals),
                         buffers, runStyle(r));
    }
    drawPointMarkers(painter, frame, plot.residuals,
                     dense(frame, plot.residuals.size()) ? QList<QPointF>()
                                                         : pixelsOf(frame, plot.residuals),
                     buffers);
}

// A short sample of each kind of line or marker in the legend.
void drawLegendSample(QPainter& painter, const LegendEntry& entry, const QPointF& left, qreal width)
{
    const QPointF right = left + QPointF(width, 0);
    switch (entry.kind) {
    case LegendEntry::Kind::Run:
        drawMarkers(painter, {(left + right) / 2}, runStyle(entry.run));
        break;
    case LegendEntry::Kind::Data:
        painter.setPen(QPen(graph_colours::point, 6, Qt::SolidLine, Qt::RoundCap));
        painter.drawPoint((left + right) / 2);
        break;
    case LegendEntry::Kind::Curve:
        painter.setPen(QPen(graph_colours::curve, 2));
        painter.drawLine(left, right);
        break;
    case LegendEntry::Kind::ExtremeLines:
        painter.setPen(QPen(graph_colours::extreme, 1.5, Qt::DashLine));
        painter.drawLine(left, right);
        break;
    }
}

// The legend, in the corner of the plot that hides the fewest points.
void drawLegend(QPainter& painter, const QRectF& main, const GraphPlot& plot)
{
    const std::vector<LegendEntry> entries = legendEntries(plot);
    if (entries.empty())
        return;
    const QFontMetricsF metrics(painter.font(), painter.device());
    constexpr qreal sample = 24;
    qreal widest = 0;
    for (const LegendEntry& entry : entries)
        widest = std::max(widest, metrics.horizontalAdvance(QString::fromStdString(entry.text)));
    const QSizeF size(padding * 3 + sample + widest,
                      padding + metrics.height() * static_cast<qreal>(entries.size()));
    const Corner corner = legendCorner(plot, (size.width() + padding) / main.width(),
                                       (size.height() + padding) / main.height());
    const bool right = corner == Corner::TopRight || corner == Corner::BottomRight;
    const bool top = corner == Corner::TopRight || corner == Corner::TopLeft;
    const QRectF box(
        QPointF(right ? main.right() - padding / 2 - size.width() : main.left() + padding / 2,
                top ? main.top() + padding / 2 : main.bottom() - padding / 2 - size.height()),
        size);
    painter.setPen(QPen(Qt::darkGray, 1));
    painter.setBrush(QColor(255, 255, 255, 230));
    painter.drawRect(box);
    painter.setBrush(Qt::NoBrush);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const qreal middle =
            box.top() + padding / 2 + metrics.height() * (static_cast<qreal>(i) + 0.5);
        drawLegendSample(painter, entries[i], QPointF(box.left() + padding, middle), sample);
        painter.setPen(Qt::black);
        painter.drawText(QPointF(box.left() + 2 * padding + sample,
                                 middle + (metrics.ascent() - metrics.descent()) / 2),
                         QString::fromStdString(entries[i].text));
    }
}

// A histogram's bars, from 0 to each bin's count, side by side: filled
// lightly and outlined, crisp on whole pixels.
void drawHistogramBars(QPainter& painter, const Frame& frame, const Histogram& histogram)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(graph_colours::point, 1));
    painter.setBrush(graph_colours::histogram);
    for (std::size_t i = 0; i < histogram.counts.size(); ++i) {
        if (histogram.counts[i] == 0)
            continue;
        const auto count = static_cast<double>(histogram.counts[i]);
        painter.drawRect(
            QRectF(frame.map({histogram.edges[i], count}), frame.map({histogram.edges[i + 1], 0}))
                .normalized());
    }
    painter.restore();
}

// Thin lines up the plot at the mean, and dashed at the mean ± s.
void drawSpreadLines(QPainter& painter, const Frame& frame, const Histogram& histogram)
{
    const auto upAt = [&](double x) {
        const double at = frame.x.fraction(x);
        painter.drawLine(frame.at(at, 0), frame.at(at, 1));
    };
    painter.setPen(QPen(graph_colours::curve, 1));
    upAt(histogram.mean);
    if (!(histogram.standardDeviation > 0))
        return;
    painter.setPen(QPen(graph_colours::curve, 1, Qt::DashLine));
    upAt(histogram.mean - histogram.standardDeviation);
    upAt(histogram.mean + histogram.standardDeviation);
}

// The points, their error bars, the fitted curve and the lines through
// the bars, inside the plot; the markers over its edge; the legend.
// The area under the curve between the reading's ends, shaded down to
// y = 0 (to the axis's foot on a log axis), in the points' colour.
void drawArea(QPainter& painter, const Frame& frame, const std::vector<Point>& points,
              const std::optional<AreaReading>& area, QColor colour)
{
    if (!area)
        return;
    const double base = frame.y.logarithmic ? frame.y.low : 0.0;
    QPolygonF shape;
    shape << frame.map({area->from, base});
    for (const Point& p : points)
        if (p.x >= area->from && p.x <= area->to)
            shape << frame.map(p);
    shape << frame.map({area->to, base});
    colour.setAlpha(70);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawPolygon(shape);
    painter.setBrush(Qt::NoBrush);
}

// The tangent across a fifth of the plot's width, centred where it touches
// the curve, with a dot there.
void drawTangent(QPainter& painter, const Frame& frame, const std::optional<TangentReading>& tangent,
                 const QColor& colour)
{
    if (!tangent || frame.x.logarithmic || frame.y.logarithmic)
        return;
    const double reach = (frame.x.high - frame.x.low) / 10;
    const QPointF touch = frame.map({tangent->x, tangent->y});
    painter.setPen(QPen(colour, 2, Qt::DashLine));
    painter.drawLine(frame.map({tangent->x - reach, tangent->y - tangent->slope * reach}),
                     frame.map({tangent->x + reach, tangent->y + tangent->slope * reach}));
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawEllipse(touch, 4, 4);
    painter.setBrush(Qt::NoBrush);
}

void drawPointsAndFit(QPainter& painter, const Frame& frame, const GraphPlot& plot, bool joinPoints)
{
    // Joined in row order, a dense plot's line may take each pixel
    // column's extremes; its markers never do.
    const bool markersOnly = dense(frame, plot.points.size()) && !joinPoints;
    const QList<QPointF> points = markersOnly ? QList<QPointF>() : pixelsOf(frame, plot.points);
    painter.save();
    painter.setClipRect(frame.area);
    drawArea(painter, frame, plot.points, plot.area, graph_colours::point);
    if (joinPoints)
        drawJoin(painter, points);
    drawBars(painter, frame, plot.bars);
    drawCurve(painter, frame, plot.curve);
    drawExtremeLines(painter, frame, plot);
    drawTangent(painter, frame, plot.tangent, graph_colours::extreme);
    painter.restore();
    DensityBuffers buffers;
    drawPointMarkers(painter, frame, plot.points, points, buffers);
    drawLegend(painter, frame.area, plot);
}

// Every run in its colour and marker: joined if asked, its bars, its own
// curve; the markers over the plot's edge; the legend of the runs.
void drawRuns(QPainter& painter, const Frame& frame, const GraphPlot& plot, bool joinPoints)
{
    std::vector<QList<QPointF>> pixels(plot.runs.size());
    painter.save();
    painter.setClipRect(frame.area);
    for (std::size_t r = 0; r < plot.runs.size(); ++r) {
        const RunPlot& run = plot.runs[r];
        drawArea(painter, frame, run.points, run.area, graph_colours::run(r));
        const bool markersOnly = dense(frame, run.points.size()) && !joinPoints;
        pixels[r] = markersOnly ? QList<QPointF>() : pixelsOf(frame, run.points);
        if (joinPoints)
            drawJoin(painter, pixels[r], graph_colours::run(r));
        drawBars(painter, frame, run.bars);
    }
    for (std::size_t r = 0; r < plot.runs.size(); ++r) {
        drawCurve(painter, frame, plot.runs[r].curve, graph_colours::run(r));
        drawTangent(painter, frame, plot.runs[r].tangent, graph_colours::run(r));
    }
    painter.restore();
    DensityBuffers buffers;
    for (std::size_t r = 0; r < plot.runs.size(); ++r)
        drawPointMarkers(painter, frame, plot.runs[r].points, pixels[r], buffers, runStyle(r));
    drawLegend(painter, frame.area, plot);
}

void drawHistogram(QPainter& painter, const Frame& frame, const GraphPlot& plot)
{
    painter.save();
    painter.setClipRect(frame.area);
    drawHistogramBars(painter, frame, *plot.histogram);
    drawCurve(painter, frame, plot.curve);
    drawSpreadLines(painter, frame, *plot.histogram);
    painter.restore();
}

} // namespace

QColor graph_colours::run(std::size_t k)
{
    static const QColor palette[] = {QColor(0x00, 0x72, 0xb2), QColor(0xd5, 0x5e, 0x00),
                                     QColor(0x00, 0x9e, 0x73), QColor(0xcc, 0x79, 0xa7),
                                     QColor(0xe6, 0x9f, 0x00), QColor(0x56, 0xb4, 0xe9),
                                     QColor(0x00, 0x00, 0x00), QColor(0xf0, 0xe4, 0x42)};
    return palette[k % std::size(palette)];
}

QRectF drawGraph(QPainter& painter, const QRectF& area, const GraphPlot& plot, bool joinPoints)
{
    const QFontMetricsF metrics(painter.font(), painter.device());
    // Room for the titles and the tick labels; a label of many digits may
    // take at most a third of the width.
    qreal widest = widestLabel(metrics, plot.y.labels);
    const bool withResiduals =
        !plot.residuals.empty() ||
        std::any_of(plot.runs.begin(), plot.runs.end(),
                    [](const RunPlot& run) { return !run.residuals.empty(); });
    if (withResiduals)
        widest = std::max(widest, widestLabel(metrics, plot.residualAxis.labels));
    const qreal left =
        padding + metrics.height() + std::min(widest, area.width() / 3) + tickLength + 2;
    // Room under the x labels for the x title, and for the x axis's power of
    // ten; over the plot for the title and the y axis's power of ten.
    const qreal bottom = padding + (plot.x.powerOfTen != 0 ? 3 : 2) * metrics.height() + tickLength;
    const qreal top = padding + metrics.height() * ((plot.title.empty() ? 0.5 : 1.6) +
                                                    (plot.y.powerOfTen != 0 ? 1 : 0));
    const QRectF plots = area.adjusted(left, top, -padding - metrics.height(), -bottom);
    if (plots.width() <= 0 || plots.height() <= 0)
        return {};
    QRectF main = plots, residuals;
    if (withResiduals) {
        const qreal gap = metrics.height() / 2;
        main.setBottom(plots.bottom() - plots.height() * residualShare);
        residuals = plots.adjusted(0, main.height() + gap, 0, 0);
    }
    const Frame frame{main, plot.x, plot.y};
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    drawRange(painter, frame, plot);
    drawGrid(painter, frame);
    painter.setPen(Qt::black);
    painter.drawRect(main);
    drawYLabels(painter, frame);
    drawXLabels(painter, Frame{plots, plot.x, plot.y});
    drawTitles(painter, area, plots, main, residuals, plot);
    drawPowerLabels(painter, plots, main, plot);
    if (plot.histogram)
        drawHistogram(painter, frame, plot);
    else if (!plot.runs.empty())
        drawRuns(painter, frame, plot, joinPoints);
    else
        drawPointsAndFit(painter, frame, plot, joinPoints);
    if (!residuals.isEmpty())
        drawResiduals(painter, residuals, plot);
    painter.restore();
    return main;
}
