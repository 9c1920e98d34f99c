// Arbitrary bytes as the box, with the delimiter chosen by the first byte:
// the graph's rows and columns keep to their bounds, and everything the
// graph draws or prints is finite and free of exponents, with and without a
// straight-line fit and axes from zero; the lab report's table holds every
// point's row, its fields as the line holds them; the box read in two parts,
// as a recording comes, plots as the box read whole, one block or all runs.

#include "data/data_field.h"
#include "data/fields.h"
#include "data/number_reading.h"
#include "fuzz_check.h"
#include "graph/graph_plot.h"
#include "graph/growing_plot.h"
#include "graph/growing_runs.h"
#include "graph/report_table.h"

#include <cmath>
#include <cstdint>

namespace {

void checkAxis(const Axis& axis)
{
    fuzzCheck(std::isfinite(axis.low) && std::isfinite(axis.high) && axis.low < axis.high,
              "an axis range is not finite or empty");
    fuzzCheck(axis.ticks.size() == axis.labels.size() && axis.ticks.size() <= 20,
              "ticks and labels disagree");
    for (std::size_t i = 0; i < axis.ticks.size(); ++i) {
        fuzzCheck(axis.ticks[i] >= axis.low && axis.ticks[i] <= axis.high, "a tick off the axis");
        fuzzCheck(axis.labels[i].find_first_of("eEn") == std::string::npos,
                  "a tick label with an exponent, inf or nan");
    }
}

// A fitted fit's values and uncertainties, and the numbers of its text.
bool printsOnlyFiniteNumbers(const CurveFit& fit)
{
    for (const double value : fit.values)
        if (!std::isfinite(value))
            return false;
    for (const double value : fit.uncertainties)
        if (!std::isfinite(value))
            return false;
    const std::string text = describeFit(fit);
    return text.find("∞") == std::string::npos && text.find("not a number") == std::string::npos;
}

// One row a point, numbered in order; x and y as the line writes them.
void checkReportTable(const GraphTable& table, const GraphChoice& choice, const GraphPlot& plot,
                      char delimiter)
{
    const ReportTable report = reportTable(table, choice, plot, delimiter);
    const bool shortened = plot.points.size() > longestReportTable;
    fuzzCheck(report.rows.size() ==
                  (shortened ? firstReportRows + 1 + lastReportRows : plot.points.size()),
              "the report's table is not one row a point, or its first and last rows");
    fuzzCheck(shortened != report.note.empty(), "a shortened table without its note");
    for (std::size_t shown = 0; shown < report.rows.size(); ++shown) {
        if (shortened && shown == firstReportRows)
            continue; // the row of "..."
        const std::size_t i = shortened && shown > firstReportRows
                                  ? plot.points.size() - report.rows.size() + shown
                                  : shown;
        const std::vector<std::string>& row = report.rows[shown];
        fuzzCheck(row.size() == report.heads.size() && row[0] == std::to_string(i + 1),
                  "a report row out of its columns or order");
        const std::string_view line = table.lineText(plot.rows[i]);
        for (std::size_t k = 1; k < row.size(); ++k)
            fuzzCheck((k == 1 && choice.xColumn == 0) || line.find(row[k]) != line.npos,
                      "a report value that its line does not hold");
        fuzzCheck(!row[1].empty() && !row[2].empty(), "a plotted row without its x or y");
    }
}

// The box's first block read in two parts, cut at a line break in its
// middle, each part plotted as it comes: the last plot is the whole one.
void checkGrowingPlot(std::string_view box, char delimiter, const GraphTable& whole,
                      GraphChoice choice)
{
    std::size_t cut = box.find('\n', box.size() / 2);
    if (cut == box.npos)
        return;
    if (cut > 0 && box[cut - 1] == '\r')
        --cut;
    GraphBlockReader reader(delimiter);
    GrowingPlot growing;
    GrowingRuns growingRuns;
    GraphPlot shown, shownRuns;
    GraphChoice allRuns = choice;
    allRuns.allRuns = true;
    for (const std::string_view part : {box.substr(0, cut), box.substr(cut)}) {
        if (!reader.add(part))
            return;
        if (reader.blocks().empty())
            continue;
        shown = growing.plot(reader.blocks().front(), choice, std::move(shown));
        shownRuns = growingRuns.plot(reader.blocks(), 0, allRuns, std::move(shownRuns));
    }
    if (reader.blocks().empty()) // no data row: nothing was plotted
        return;
    const GraphPlot expected = plotGraph(whole, choice);
    fuzzCheck(shown.rows == expected.rows && shown.text() == expected.text() &&
                  shown.y.labels == expected.y.labels,
              "a box read in two parts plots otherwise than the box read whole");
    const GraphPlot expectedRuns = plotRuns(reader.blocks(), 0, allRuns);
    fuzzCheck(shownRuns.runs.size() == expectedRuns.runs.size() &&
                  shownRuns.text() == expectedRuns.text() &&
                  shownRuns.y.labels == expectedRuns.y.labels,
              "a box read in two parts plots its runs otherwise than the box read whole");
    for (std::size_t r = 0; r < expectedRuns.runs.size(); ++r)
        fuzzCheck(shownRuns.runs[r].rows == expectedRuns.runs[r].rows,
                  "a run read in two parts holds other rows");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    static const char delimiters[] = {',', '\t', ';', ' '};
    const std::string_view box(reinterpret_cast<const char*>(data) + 1, size - 1);
    const GraphTable table = readGraphTable(box, delimiters[data[0] % 4]);
    fuzzCheck(table.rowCount() == static_cast<std::size_t>(table.dataRows) &&
                  table.columns <= mostPlottedColumns,
              "the table is larger than the graph plots");
    for (std::size_t r = 0; r < table.rowCount(); ++r) {
        const RowNumbers row = table.row(r);
        const std::string_view line = table.lineText(r);
        fuzzCheck(
            row.size() > 0 &&
                readDataField(line.substr(0, line.find(delimiters[data[0] % 4]))).beginsWithNumber,
            "a data row whose first field does not begin with a number");
        // The packed numbers are the row's own fields, read again from its text.
        // A number is the whole field's, never the number a field begins with.
        std::size_t fields = 0;
        forEachField(line, delimiters[data[0] % 4], [&](int k, std::string_view field) {
            if (k > mostPlottedColumns)
                return;
            const std::optional<double> number = readDataField(field).number;
            fuzzCheck(fields < row.size() && row[fields] == number,
                      "a packed number that is not its field's");
            const std::string_view whole = withoutBlanks(field);
            fuzzCheck(!number || whole.starts_with('&') || readAnswer(whole) == number,
                      "a number that is not the whole field");
            ++fields;
        });
        fuzzCheck(fields == row.size(), "a packed row with more numbers than fields");
        for (std::size_t k = 0; k < row.size(); ++k)
            fuzzCheck(!row[k] || std::isfinite(*row[k]), "a value that is not finite");
    }
    checkGrowingPlot(box, delimiters[data[0] % 4], table, defaultChoice(table));
    for (const bool fromZero : {false, true}) {
        GraphChoice choice = defaultChoice(table);
        choice.fromZero = fromZero;
        // Every built-in model, chosen by the first byte.
        choice.model.kind = modelKinds()[1 + data[0] / 4 % (modelKinds().size() - 2)];
        choice.residuals = true;
        const GraphPlot plot = plotGraph(table, choice);
        for (const std::size_t r : plot.rows)
            fuzzCheck(!table.leftOut(r), "a point from a row with more fields than its header");
        checkReportTable(table, choice, plot, delimiters[data[0] % 4]);
        checkAxis(plot.x);
        checkAxis(plot.y);
        // The fit's own text: the notes quote the box's lines, which may hold
        // any words.
        fuzzCheck(!plot.fit->fitted() || printsOnlyFiniteNumbers(*plot.fit),
                  "the fit text prints a number that is not finite");
        for (const auto& piece : plot.curve)
            for (const Point& p : piece)
                fuzzCheck(std::isfinite(p.x) && std::isfinite(p.y), "a curve point not finite");
    }
    return 0;
}
