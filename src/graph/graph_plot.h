#pragma once

#include "fit/curve_fit.h"
#include "fit/fit_results.h"
#include "fit/fit_text.h"
#include "graph/axis.h"
#include "graph/error_bars.h"
#include "graph/graph_table.h"
#include "graph/histogram.h"
#include "graph/point_tally.h"
#include "graph/runs.h"
#include "readings/area.h"
#include "readings/selection_stats.h"
#include "readings/tangent.h"
#include "spectrum/spectrum.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

// What the student chose to see. Columns count from 1; an x column of 0 is
// the line number (1, 2, ... for the data rows).
struct GraphChoice {
    int xColumn = 0;
    int yColumn = 1;
    bool fromZero = false;
    bool logX = false; // base-10 logarithmic axes; rows with a value of 0 or less left out
    bool logY = false;
    std::string title;             // drawn above the plot
    ModelChoice model;             // kind None: no fit
    std::optional<double> fitFrom; // the fit takes the points with x from here
    std::optional<double> fitTo;   // to here; open ends take every point
    bool residuals = false;
    UncertaintyChoice xUncertainty; // error bars, and the weights of the fit
    UncertaintyChoice yUncertainty;
    bool extremeLines = false; // the steepest and shallowest lines, with a straight line
    // Formulas in the fit's parameters, separated by ";": their values and
    // uncertainties follow the fit's text.
    std::string results;
    // The values of the y column counted in bins instead of points plotted;
    // x, the fit, error bars and log axes then play no part.
    bool histogram = false;
    BinChoice bins;
    bool normalCurve = true; // over the histogram, with its mean and s
    // The amplitude spectrum of y against x instead of the points, through
    // this window; its peaks are looked for over the fit range (a drag).
    // The fit, error bars and readings then play no part.
    bool spectrum = false;
    SpectrumWindow window = SpectrumWindow::Hann;
    // Every run whose columns are those of the block chosen, each in its
    // own colour, each fitted on its own; not with a histogram.
    bool allRuns = false;
    // The readings: the area under the curve over the fit range (the
    // selection; the whole block without one), and the tangent at an x
    // through this many rows. The selection's statistics come with it.
    bool area = false;
    std::optional<double> tangentAt;
    int tangentRows = defaultTangentRows;
    // Points joined in row order: by the rule (nothing: joined up to 100
    // points) or as the student set it.
    std::optional<bool> joinPoints;
    // The plot's size in pixels, for about one tick per 80 pixels; 0: four
    // ticks at least.
    int widthPixels = 0;
    int heightPixels = 0;

    bool operator==(const GraphChoice&) const = default;
};

// Column 1 against the line number for one field per row; for more, the
// first column after column 1 that does not hold an uncertainty (u(NAME),
// ΔNAME, ...) against column 1.
GraphChoice defaultChoice(const GraphTable& table);

// The samples of the fitted curve across the x axis, this many.
inline constexpr int curveSamples = 400;

// One run of "all runs": its points, error bars, fit, curve and residuals.
struct RunPlot {
    std::string name; // the run's heading, or "run N"
    std::vector<RunValue> values;
    std::size_t block = 0;
    std::vector<Point> points;
    std::vector<std::size_t> rows; // the block's row of each point
    std::vector<ErrorBox> bars;
    std::optional<CurveFit> fit;
    std::optional<FitRange> range;
    std::vector<FitResult> results;
    std::vector<std::vector<Point>> curve;
    std::vector<Point> residuals;
    std::optional<AreaReading> area;
    std::optional<TangentReading> tangent;
};

// Everything the graph shows, worked out without drawing anything.
struct GraphPlot {
    std::vector<Point> points; // in row order; in a histogram, (line number, value counted)
    std::vector<std::size_t> rows; // the table row of each point
    // Each point's error bars, x ± ux and y ± uy (NaN where it has none),
    // when uncertainties are chosen; empty otherwise.
    std::vector<ErrorBox> bars;
    Axis x;
    Axis y;
    std::string xTitle;
    std::string yTitle;
    std::string title;
    std::string residualTitle;      // "residual (°C)"
    std::vector<std::string> notes; // rows left out and why
    std::optional<CurveFit> fit;    // when asked for
    std::optional<FitRange> range;  // when the fit takes part of the points
    std::vector<FitResult> results; // of the choice's formulas, when fitted
    // The fitted curve as pieces to draw joined, across the whole x axis;
    // broken where it gives no finite number or leaps across the plot.
    std::vector<std::vector<Point>> curve;
    // y - f(x) of the fitted points, and their axis, when asked for.
    std::vector<Point> residuals;
    Axis residualAxis;
    // The steepest and shallowest lines through every error bar, and what
    // the text says of them, when asked for.
    std::optional<ExtremeLines> extremes;
    std::vector<std::string> extremesText;
    // The bars, when the graph is a histogram (none when its width is
    // refused; a note says why), and what its text says of them. Its curve,
    // the normal distribution, is `curve`.
    std::optional<Histogram> histogram;
    std::vector<std::string> histogramText;
    // The spectrum (its bins are the points, joined; the rows read stay in
    // `rows`), without its samples and amplitudes, and what its text says.
    std::optional<Spectrum> spectrum;
    std::vector<std::string> spectrumText;
    // The readings asked for, and the lines that give them or say why there
    // are none.
    std::optional<SelectionStats> selection;
    std::optional<AreaReading> area;
    std::optional<TangentReading> tangent;
    std::vector<std::string> readingsText;
    // "All runs": each run on the same axes (the fields above then hold
    // nothing of the points), and the table of their fits.
    std::vector<RunPlot> runs;
    std::vector<std::string> runsText;

    // The text under the graph: the notes, then the fit, one per line.
    std::string text() const;
};

GraphPlot plotGraph(const GraphTable& table, const GraphChoice& choice);

// Every run whose columns are those of block `like`, on axes that take them
// all in, each fitted on its own when a fit is chosen: the notes (a block
// with other columns left out, each run's own), and the table of the fits.
GraphPlot plotRuns(const std::vector<GraphTable>& blocks, std::size_t like,
                   const GraphChoice& choice);

// One block plotted alone for "all runs", and the extent of its points and
// their error bars on each axis. The runs' plot takes the points, error bars
// and fit out of `plot` and leaves the rest.
struct AlonePlot {
    GraphPlot& plot;
    const Extent& x;
    const Extent& y;
};

// The same plot of the runs, each block's plot alone made by `alone`.
GraphPlot plotRunsOf(const std::vector<GraphTable>& blocks, std::size_t like,
                     const GraphChoice& choice,
                     const std::function<AlonePlot(std::size_t block)>& alone);

// Brings a plot of points (not a histogram) up to date with the rows added
// at the end of its table since `tally` counted: reads those rows only, then
// makes the axes, titles, notes and fit anew. An empty plot and tally read
// the table whole.
void extendPlot(GraphPlot& plot, PointTally& tally, const GraphTable& table,
                const GraphChoice& choice);

// Points are joined, at first, up to this many; more joined look like a
// solid block.
inline constexpr std::size_t mostJoinedPoints = 100;

// "line" for the line number; the column's name from the header line, or
// "column K".
std::string columnTitle(const GraphTable& table, int column);

// The column's name without its unit when a formula can use it ("t" for
// "t (s)"); empty otherwise (the line number, "column 2", "T^2").
std::string variableNameOfColumn(const GraphTable& table, int column);
