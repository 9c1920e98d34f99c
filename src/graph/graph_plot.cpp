#include "graph/graph_plot.h"

#include <algorithm>

namespace {

std::optional<double> valueAt(const std::vector<std::optional<double>>& row, int column,
                              int lineNumber)
{
    if (column == 0)
        return lineNumber;
    if (column > static_cast<int>(row.size()))
        return std::nullopt;
    return row[static_cast<std::size_t>(column - 1)];
}

std::string rowsWithout(int rows, const std::string& columns)
{
    return std::to_string(rows) + (rows == 1 ? " row has" : " rows have") + " no number in " +
           columns;
}

std::string columnName(int column) { return "column " + std::to_string(column); }

Axis axisOver(const std::vector<Point>& points, double Point::*coordinate, bool fromZero)
{
    if (points.empty())
        return makeAxis(0, 1, fromZero);
    const auto [low, high] = std::minmax_element(
        points.begin(), points.end(),
        [coordinate](const Point& a, const Point& b) { return a.*coordinate < b.*coordinate; });
    return makeAxis((*low).*coordinate, (*high).*coordinate, fromZero);
}

} // namespace

GraphChoice defaultChoice(const GraphTable& table)
{
    GraphChoice choice;
    if (table.columns >= 2) {
        choice.xColumn = 1;
        choice.yColumn = 2;
    }
    return choice;
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

GraphPlot plotGraph(const GraphTable& table, const GraphChoice& choice)
{
    GraphPlot plot;
    int withoutX = 0, withoutY = 0, withoutEither = 0;
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
        const int lineNumber = static_cast<int>(r) + 1;
        const std::optional<double> x = valueAt(table.rows[r], choice.xColumn, lineNumber);
        const std::optional<double> y = valueAt(table.rows[r], choice.yColumn, lineNumber);
        if (x && y) {
            plot.points.push_back({*x, *y});
            continue;
        }
        ++withoutEither;
        withoutX += !x;
        withoutY += !y;
    }
    plot.x = axisOver(plot.points, &Point::x, choice.fromZero);
    plot.y = axisOver(plot.points, &Point::y, choice.fromZero);
    plot.xTitle = columnTitle(table, choice.xColumn);
    plot.yTitle = columnTitle(table, choice.yColumn);

    if (table.dataRows == 0)
        plot.notes.push_back("nothing to plot: no line begins with a number");
    if (withoutEither > 0) {
        if (withoutX == 0)
            plot.notes.push_back(rowsWithout(withoutY, columnName(choice.yColumn)));
        else if (withoutY == 0)
            plot.notes.push_back(rowsWithout(withoutX, columnName(choice.xColumn)));
        else
            plot.notes.push_back(rowsWithout(withoutEither, columnName(choice.xColumn) + " or " +
                                                                columnName(choice.yColumn)));
    }
    if (table.dataRows > mostPlottedRows)
        plot.notes.push_back("the box holds " + std::to_string(table.dataRows) +
                             " data rows; the graph shows the first " +
                             std::to_string(mostPlottedRows));
    if (choice.fit)
        plot.fit = fitLine(plot.points);
    return plot;
}
