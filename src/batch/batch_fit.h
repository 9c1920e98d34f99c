#pragma once

#include "batch/batch_run.h"

#include "fit/model.h"
#include "graph/graph_plot.h"

#include <istream>
#include <map>
#include <optional>
#include <string>
#include <variant>
#include <vector>

// What the fit and report commands were asked for.
struct GraphOptions {
    char delimiter = ',';
    BatchInputChoice input;
    std::optional<int> x, y;
    std::optional<int> sigmaX, sigmaY; // the columns of the uncertainties
    std::optional<ModelChoice> model;
    std::map<std::string, double> starts;
    std::optional<double> from, to;
    std::string results; // the --result formulas, separated by ";"
    bool json = false;
    bool runs = false;  // fit every run whose columns are the first run's
    bool table = false; // the results block of the runs' fits, as the window puts it in the box
    std::optional<std::string> file;
    // The report's:
    std::string pdf;
    std::string title;
    std::string name;
    std::optional<std::string> paper; // "a4" or "letter"; the locale's without
    bool logX = false;
    bool logY = false;
    bool residuals = false;    // the plot of y - f(x) under the graph
    bool extremeLines = false; // the steepest and shallowest lines, with a line and y bars
    // The histogram's:
    bool histogram = false;
    BinChoice bins;
    // The tangent's: where, and through how many rows.
    std::optional<double> at;
    std::optional<int> points;
    // The workbook's.
    std::string xlsx;
    // The spectrum's window.
    std::optional<SpectrumWindow> window;
};

// The commands that take the graph window's choices.
enum class GraphCommand { Fit, Report, Histogram, Integral, Tangent, Stats, Export, Spectrum };

// The options of fit; of report (fit's, without --json and the model
// optional, and its own); of histogram (--y, --bins and --json); of the
// readings integral, tangent and stats (--x, --y, --json and their own);
// of export (fit's, the model optional, and --xlsx); of spectrum (--x, --y,
// --from, --to, --window and --json); the explanation of what is wrong with them.
std::variant<GraphOptions, std::string> parseGraphArguments(const std::vector<std::string>& arguments,
                                                            GraphCommand command);

// The graph window's choice for these options on this table: the choice a
// session kept for it (or the defaults), the options given over it.
GraphChoice choiceOf(const GraphOptions& options, const GraphTable& table,
                     const std::optional<GraphChoice>& kept = std::nullopt);

// What a graph command starts from: its options, the data read, the box's
// blocks and the one the graph window would show: the first, or the one a
// session showed, with the choices it kept.
struct GraphInput {
    GraphOptions options;
    BatchInput read;
    std::vector<GraphTable> blocks;
    std::size_t block = 0;
    std::optional<GraphChoice> kept;

    const GraphTable& table() const
    {
        static const GraphTable none;
        return block < blocks.size() ? blocks[block] : none;
    }
    GraphChoice choice() const { return choiceOf(options, table(), kept); }
};

// The arguments parsed and the data read; the command's failure (usage, a
// file that cannot be read) when that does not work.
std::variant<GraphInput, BatchResult> readGraphInput(const std::vector<std::string>& arguments,
                                                     std::istream& input, GraphCommand command);

// "message: NOTE" lines: the notes of reading, then those of the plot in the
// batch's words.
std::string graphMessages(const std::vector<std::string>& readNotes,
                          const std::vector<std::string>& plotNotes);

// benchtabler-batch [--delimiter NAME] fit [--x K] [--y K] (--model NAME |
// --equation TEXT) [--start NAME=VALUE]... [--from A] [--to B] [--json] [FILE]:
// the rows and columns as the graph window takes them, fitted as it fits
// them; its fit text, or with --json one JSON object for scripts.
BatchResult runFit(const std::vector<std::string>& arguments, std::istream& input);
