#include "graph/graph_plot.h"

#include "data/column_heads.h"
#include "data/read_as_zero.h"
#include "fit/parameter_units.h"
#include "formula/equation.h"
#include "graph/growing_plot.h"
#include "graph/histogram_plot.h"
#include "graph/spectrum_plot.h"
#include "graph/run_results.h"
#include "readings/plot_readings.h"

#include <algorithm>
#include <cmath>

namespace {

std::optional<double> valueAt(const RowNumbers& row, int column, int lineNumber)
{
    if (column == 0)
        return lineNumber;
    if (column > static_cast<int>(row.size()))
        return std::nullopt;
    return row[static_cast<std::size_t>(column - 1)];
}

// "2 rows have no number in column 2; the first is line 7: "TEXT"".
std::string rowsWithout(int rows, const std::string& columns, int firstLine,
                        std::string_view firstText)
{
    const std::string where = "line " + std::to_string(firstLine) + ": " + quotedLine(firstText);
    if (rows == 1)
        return "1 row has no number in " + columns + "; it is " + where;
    return std::to_string(rows) + " rows have no number in " + columns + "; the first is " + where;
}

std::string columnName(int column) { return "column " + std::to_string(column); }

// An axis over the points' extent, bars included.
Axis axisOver(const Extent& extent, bool fromZero, bool logarithmic, int ticks)
{
    if (extent.low > extent.high)
        return logarithmic ? makeLogAxis(1, 10) : makeAxis(0, 1, fromZero, ticks);
    return logarithmic ? makeLogAxis(extent.low, extent.high)
                       : makeAxis(extent.low, extent.high, fromZero, ticks);
}

// What a log axis reminds the student of.
std::string logAxesNote(const GraphChoice& choice)
{
    if (choice.logX && choice.logY)
        return "log-log axes: a power law y = A x^B is a straight line on them";
    if (choice.logY)
        return "log y axis: an exponential y = A e^(B x) is a straight line on it";
    return "log x axis: a logarithm y = A + B ln x is a straight line on it";
}

// A range typed or dragged from its high end to its low one is the same range.
GraphChoice withOrderedRange(const GraphChoice& choice)
{
    GraphChoice ordered = choice;
    if (ordered.fitFrom && ordered.fitTo && *ordered.fitFrom > *ordered.fitTo)
        std::swap(ordered.fitFrom, ordered.fitTo);
    return ordered;
}

bool insideRange(const GraphChoice& choice, double x)
{
    return (!choice.fitFrom || x >= *choice.fitFrom) && (!choice.fitTo || x <= *choice.fitTo);
}

// Where a value lies on the y axis: below 0 under the plot, above 1 over it.
enum class Side { Below, Inside, Above };

Side sideOf(const Axis& axis, double y)
{
    const double f = axis.fraction(y);
    return f < 0 ? Side::Below : f > 1 ? Side::Above : Side::Inside;
}

// The curve sampled evenly across the x axis, cut into pieces where it
// gives no finite number and where it leaps from beyond one edge of the plot
// to beyond the other (a pole), so that no line is drawn across the plot.
std::vector<std::vector<Point>> sampledCurve(const CurveFit& fit, const Axis& x, const Axis& y)
{
    std::vector<double> xs(curveSamples), ys(curveSamples);
    for (int i = 0; i < curveSamples; ++i)
        xs[static_cast<std::size_t>(i)] = x.valueAt(static_cast<double>(i) / (curveSamples - 1));
    xs.back() = x.high;
    fit.curve(xs.data(), xs.size(), ys.data());
    std::vector<std::vector<Point>> pieces(1);
    for (std::size_t i = 0; i < xs.size(); ++i) {
        if (!std::isfinite(ys[i]) || (y.logarithmic && !(ys[i] > 0))) {
            if (!pieces.back().empty())
                pieces.emplace_back();
            continue;
        }
        if (!pieces.back().empty()) {
            const Side before = sideOf(y, pieces.back().back().y), now = sideOf(y, ys[i]);
            if (before != Side::Inside && now != Side::Inside && before != now)
                pieces.emplace_back();
        }
        pieces.back().push_back({xs[i], ys[i]});
    }
    std::erase_if(pieces, [](const std::vector<Point>& piece) { return piece.size() < 2; });
    return pieces;
}

bool hasUncertainties(const GraphChoice& choice)
{
    return choice.xUncertainty.kind != UncertaintyChoice::Kind::None ||
           choice.yUncertainty.kind != UncertaintyChoice::Kind::None;
}

// The steepest and shallowest lines through the bars of the fitted points
// that have bars.
void addExtremeLines(GraphPlot& plot, const GraphChoice& choice)
{
    std::vector<ErrorBox> boxes;
    for (const ErrorBox& bar : plot.bars) {
        const bool hasX = choice.xUncertainty.kind != UncertaintyChoice::Kind::None;
        const bool hasY = choice.yUncertainty.kind != UncertaintyChoice::Kind::None;
        if (!insideRange(choice, bar.x) || (hasX && !std::isfinite(bar.ux)) ||
            (hasY && !std::isfinite(bar.uy)))
            continue;
        boxes.push_back({bar.x, bar.y, hasX ? bar.ux : 0, hasY ? bar.uy : 0});
    }
    ExtremeLinesResult result = extremeLinesThrough(boxes, plot.fit);
    plot.extremes = result.lines;
    plot.extremesText = std::move(result.text);
}

void addFit(GraphPlot& plot, const GraphChoice& choice)
{
    std::vector<Point> fitted;
    FitUncertainties uncertainties;
    for (std::size_t i = 0; i < plot.points.size(); ++i) {
        const Point& p = plot.points[i];
        if (!insideRange(choice, p.x))
            continue;
        fitted.push_back(p);
        if (choice.xUncertainty.kind != UncertaintyChoice::Kind::None)
            uncertainties.x.push_back(plot.bars[i].ux);
        if (choice.yUncertainty.kind != UncertaintyChoice::Kind::None)
            uncertainties.y.push_back(plot.bars[i].uy);
    }
    if (choice.fitFrom || choice.fitTo)
        plot.range = FitRange{choice.fitFrom, choice.fitTo, static_cast<int>(fitted.size()),
                              static_cast<int>(plot.points.size())};
    plot.fit = fitCurve(fitted, choice.model, uncertainties);
    if (plot.fit->fitted())
        plot.fit->units =
            parameterUnits(choice.model, unitOfHeader(plot.xTitle), unitOfHeader(plot.yTitle));
    if (choice.extremeLines && choice.model.kind == ModelKind::Line && hasUncertainties(choice))
        addExtremeLines(plot, choice);
    if (!plot.fit->fitted())
        return;
    plot.results = fitResults(*plot.fit, choice.results);
    plot.curve = sampledCurve(*plot.fit, plot.x, plot.y);
    if (!choice.residuals)
        return;
    std::vector<double> xs, ys(fitted.size());
    for (const Point& p : fitted)
        xs.push_back(p.x);
    plot.fit->curve(xs.data(), xs.size(), ys.data());
    double low = 0, high = 0;
    for (std::size_t i = 0; i < fitted.size(); ++i) {
        const double residual = fitted[i].y - ys[i];
        if (!std::isfinite(residual))
            continue;
        plot.residuals.push_back({fitted[i].x, residual});
        low = std::min(low, residual);
        high = std::max(high, residual);
    }
    // At least three labels in the residual plot's quarter of the height.
    plot.residualAxis = makeAxis(low, high, false, std::max(3, choice.heightPixels / 240));
}

} // namespace

std::string GraphPlot::text() const
{
    std::vector<std::string> lines = notes;
    if (fit)
        lines.push_back(describeFit(*fit, range));
    for (const FitResult& result : results)
        lines.push_back(describeResult(result));
    lines.insert(lines.end(), extremesText.begin(), extremesText.end());
    lines.insert(lines.end(), histogramText.begin(), histogramText.end());
    lines.insert(lines.end(), spectrumText.begin(), spectrumText.end());
    lines.insert(lines.end(), readingsText.begin(), readingsText.end());
    lines.insert(lines.end(), runsText.begin(), runsText.end());
    std::string text;
    for (const std::string& line : lines)
        text.append(text.empty() ? "" : "\n").append(line);
    return text;
}

GraphChoice defaultChoice(const GraphTable& table)
{
    GraphChoice choice;
    if (table.columns < 2)
        return choice;
    // y is the first column after x that does not hold another column's
    // uncertainty: T, not u(L), under "L,u(L),T,u(T)".
    const ColumnHeads heads = readColumnHeads(table.columnNames);
    const auto holdsUncertainty = [&heads](int column) {
        return std::find(heads.uncertaintyColumns.begin(), heads.uncertaintyColumns.end(),
                         column - 1) != heads.uncertaintyColumns.end();
    };
    for (int column = 2; column <= table.columns; ++column)
        if (!holdsUncertainty(column)) {
            choice.xColumn = 1;
            choice.yColumn = column;
            return choice;
        }
    return choice; // column 1 and its uncertainty: against the line number
}

std::string variableNameOfColumn(const GraphTable& table, int column)
{
    const ColumnHeads heads = readColumnHeads(table.columnNames);
    const auto k = static_cast<std::size_t>(column - 1);
    if (column < 1 || k >= heads.names.size() || !isVariableName(heads.names[k]))
        return {};
    return heads.names[k];
}

std::string columnTitle(const GraphTable& table, int column)
{
    if (column == 0)
        return "line";
    if (column <= static_cast<int>(table.columnNames.size()) &&
        !table.columnNames[static_cast<std::size_t>(column - 1)].empty())
        return table.columnNames[static_cast<std::size_t>(column - 1)];
    return columnName(column);
}

namespace {

// The points of the chosen columns, with their error bars, from the rows the
// tally has not read yet; what was left out.
void readPoints(const GraphTable& table, const GraphChoice& choice, GraphPlot& plot,
                PointTally& tally)
{
    const bool bars = hasUncertainties(choice);
    if (tally.rowsRead == 0) { // rows added later grow the vectors as they come
        plot.points.reserve(table.rowCount());
        plot.rows.reserve(table.rowCount());
        if (bars)
            plot.bars.reserve(table.rowCount());
    }
    for (std::size_t r = tally.rowsRead; r < table.rowCount(); ++r) {
        if (table.leftOut(r)) // named in the table's own notes
            continue;
        const int lineNumber = static_cast<int>(r) + 1;
        const RowNumbers row = table.row(r);
        const std::optional<double> x = valueAt(row, choice.xColumn, lineNumber);
        const std::optional<double> y = valueAt(row, choice.yColumn, lineNumber);
        if (!x || !y) {
            tally.withoutEither.add(r);
            tally.withoutX += !x;
            tally.withoutY += !y;
            continue;
        }
        if ((choice.logX && !(*x > 0)) || (choice.logY && !(*y > 0))) {
            tally.offLogAxes.add(r);
            continue;
        }
        plot.points.push_back({*x, *y});
        plot.rows.push_back(r);
        if (!bars) {
            tally.x.add(*x, NAN, choice.logX);
            tally.y.add(*y, NAN, choice.logY);
            continue;
        }
        const double ux = uncertaintyOf(choice.xUncertainty, row, *x);
        const double uy = uncertaintyOf(choice.yUncertainty, row, *y);
        tally.withoutUx +=
            std::isnan(ux) && choice.xUncertainty.kind != UncertaintyChoice::Kind::None;
        tally.withoutUy +=
            std::isnan(uy) && choice.yUncertainty.kind != UncertaintyChoice::Kind::None;
        plot.bars.push_back({*x, *y, ux, uy});
        tally.x.add(*x, ux, choice.logX);
        tally.y.add(*y, uy, choice.logY);
    }
    tally.rowsRead = table.rowCount();
}

void addNotes(const GraphTable& table, const GraphChoice& choice, const PointTally& left,
              GraphPlot& plot)
{
    if (table.dataRows == 0)
        plot.notes.push_back("nothing to plot: no line begins with a number");
    if (table.delimiterHint)
        plot.notes.push_back(*table.delimiterHint);
    if (table.decimalCommaNote)
        plot.notes.push_back(*table.decimalCommaNote);
    plot.notes.insert(plot.notes.end(), table.fieldNotes.begin(), table.fieldNotes.end());
    if (left.withoutEither.rows > 0) {
        const std::string columns =
            left.withoutX == 0   ? columnName(choice.yColumn)
            : left.withoutY == 0 ? columnName(choice.xColumn)
                                 : columnName(choice.xColumn) + " or " + columnName(choice.yColumn);
        const std::size_t first = left.withoutEither.first;
        plot.notes.push_back(rowsWithout(left.withoutEither.rows, columns, table.lineNumbers[first],
                                         table.lineText(first)));
    }
    for (const auto& [rows, uncertainty] : {std::pair{left.withoutUx, choice.xUncertainty},
                                            std::pair{left.withoutUy, choice.yUncertainty}})
        if (const std::string note = rowsWithoutUncertainty(rows, uncertainty); !note.empty())
            plot.notes.push_back(note);
    if (left.offLogAxes.rows > 0) {
        const std::size_t first = left.offLogAxes.first;
        const std::string where = "line " + std::to_string(table.lineNumbers[first]) + ": " +
                                  quotedLine(table.lineText(first));
        plot.notes.push_back(left.offLogAxes.rows == 1
                                 ? "1 row has a value of 0 or less, which a log axis cannot "
                                   "show; it is " +
                                       where
                                 : std::to_string(left.offLogAxes.rows) +
                                       " rows have a value of 0 or less, which a log axis cannot "
                                       "show; the first is " +
                                       where);
    }
    if (choice.logX || choice.logY)
        plot.notes.push_back(logAxesNote(choice));
}

// The y column's values, each with its line number, and the notes on the
// rows without one; then the histogram of them.
GraphPlot plotHistogram(const GraphTable& table, const GraphChoice& choice)
{
    GraphPlot plot;
    plot.title = choice.title;
    GraphChoice values;
    values.xColumn = 0;
    values.yColumn = choice.yColumn;
    PointTally tally;
    readPoints(table, values, plot, tally);
    addNotes(table, values, tally, plot);
    addHistogram(plot, choice, columnTitle(table, choice.yColumn));
    return plot;
}

// The rows' points read as for a plot of points, without uncertainties or
// log axes; then their spectrum.
GraphPlot plotSpectrum(const GraphTable& table, const GraphChoice& choice)
{
    GraphPlot plot;
    plot.title = choice.title;
    GraphChoice values;
    values.xColumn = choice.xColumn;
    values.yColumn = choice.yColumn;
    PointTally tally;
    readPoints(table, values, plot, tally);
    addNotes(table, values, tally, plot);
    addSpectrum(plot, withOrderedRange(choice), columnTitle(table, choice.xColumn),
                columnTitle(table, choice.yColumn));
    return plot;
}

} // namespace

GraphPlot plotGraph(const GraphTable& table, const GraphChoice& choice)
{
    if (choice.histogram)
        return plotHistogram(table, choice);
    if (choice.spectrum)
        return plotSpectrum(table, choice);
    GraphPlot plot;
    PointTally tally;
    extendPlot(plot, tally, table, choice);
    return plot;
}

void extendPlot(GraphPlot& plot, PointTally& tally, const GraphTable& table,
                const GraphChoice& choice)
{
    GraphPlot made;
    made.points = std::move(plot.points);
    made.rows = std::move(plot.rows);
    made.bars = std::move(plot.bars);
    readPoints(table, choice, made, tally);
    made.title = choice.title;
    made.x = axisOver(tally.x, choice.fromZero, choice.logX, ticksForPixels(choice.widthPixels));
    made.y = axisOver(
        tally.y, choice.fromZero, choice.logY,
        ticksForPixels(choice.residuals ? choice.heightPixels * 3 / 4 : choice.heightPixels));
    made.xTitle = columnTitle(table, choice.xColumn);
    made.yTitle = columnTitle(table, choice.yColumn);
    const std::string yUnit = unitOfHeader(made.yTitle);
    made.residualTitle = yUnit.empty() ? "residual" : "residual (" + yUnit + ")";
    addNotes(table, choice, tally, made);
    if (choice.model.kind != ModelKind::None) {
        GraphChoice fitted = withOrderedRange(choice);
        fitted.model.xName = variableNameOfColumn(table, choice.xColumn);
        addFit(made, fitted);
    }
    addReadings(made, table, choice);
    plot = std::move(made);
}

namespace {

// A run plotted on its own, its axes to be made anew with the others': its
// points, error bars and fit moved out of its plot alone.
RunPlot runPlotOf(const Run& run, GraphPlot& alone)
{
    RunPlot plot;
    plot.name = run.name;
    plot.values = run.values;
    plot.block = run.block;
    plot.points = std::move(alone.points);
    plot.rows = std::move(alone.rows);
    plot.bars = std::move(alone.bars);
    plot.fit = std::move(alone.fit);
    plot.range = alone.range;
    plot.results = std::move(alone.results);
    plot.residuals = std::move(alone.residuals);
    plot.area = alone.area;
    plot.tangent = alone.tangent;
    return plot;
}

void addExtent(Extent& all, const Extent& run)
{
    all.low = std::fmin(all.low, run.low);
    all.high = std::fmax(all.high, run.high);
}

} // namespace

GraphPlot plotRuns(const std::vector<GraphTable>& blocks, std::size_t like,
                   const GraphChoice& choice)
{
    GrowingPlot growing;
    GraphPlot alone;
    return plotRunsOf(blocks, like, choice, [&](std::size_t block) {
        growing.restart();
        alone = growing.plot(blocks[block], choice, GraphPlot{});
        return AlonePlot{alone, growing.tally().x, growing.tally().y};
    });
}

GraphPlot plotRunsOf(const std::vector<GraphTable>& blocks, std::size_t like,
                     const GraphChoice& choice,
                     const std::function<AlonePlot(std::size_t block)>& alone)
{
    GraphPlot made;
    if (like >= blocks.size())
        return plotGraph(GraphTable{}, choice);
    if (choice.histogram)
        return plotGraph(blocks[like], choice);
    if (choice.spectrum)
        return plotSpectrumRuns(blocks, like, choice);
    const std::vector<Run> runs = runsOf(blocks);
    const RunSelection selection = runsLike(blocks, like);
    if (selection.firstOther)
        made.notes.push_back(otherColumnsNote(blocks[*selection.firstOther]));
    Extent x, y;
    double lowResidual = 0, highResidual = 0;
    for (const std::size_t b : selection.blocks) {
        const AlonePlot plot = alone(b);
        for (const std::string& note : plot.plot.notes)
            if (note.rfind("log ", 0) != 0) // the log axes' reminder comes once, below
                made.notes.push_back(runs[b].name + ": " + note);
        for (const std::string& line : plot.plot.readingsText)
            made.readingsText.push_back(runs[b].name + ": " + line);
        made.runs.push_back(runPlotOf(runs[b], plot.plot));
        addExtent(x, plot.x);
        addExtent(y, plot.y);
        for (const Point& r : made.runs.back().residuals) {
            lowResidual = std::min(lowResidual, r.y);
            highResidual = std::max(highResidual, r.y);
        }
    }
    made.title = choice.title;
    made.x = axisOver(x, choice.fromZero, choice.logX, ticksForPixels(choice.widthPixels));
    made.y = axisOver(
        y, choice.fromZero, choice.logY,
        ticksForPixels(choice.residuals ? choice.heightPixels * 3 / 4 : choice.heightPixels));
    made.xTitle = columnTitle(blocks[like], choice.xColumn);
    made.yTitle = columnTitle(blocks[like], choice.yColumn);
    const std::string yUnit = unitOfHeader(made.yTitle);
    made.residualTitle = yUnit.empty() ? "residual" : "residual (" + yUnit + ")";
    if (choice.logX || choice.logY)
        made.notes.push_back(logAxesNote(choice));
    bool anyResiduals = false;
    for (RunPlot& run : made.runs) {
        if (run.fit && run.fit->fitted())
            run.curve = sampledCurve(*run.fit, made.x, made.y);
        anyResiduals = anyResiduals || !run.residuals.empty();
    }
    if (anyResiduals)
        made.residualAxis = makeAxis(lowResidual, highResidual, false,
                                     std::max(3, choice.heightPixels / 240));
    made.runsText = runsTableText(made.runs, choice.model);
    return made;
}
