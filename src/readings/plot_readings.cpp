#include "readings/plot_readings.h"

#include "data/column_heads.h"
#include "readings/reading_text.h"

#include <utility>

ReadingRows readingRows(const GraphPlot& plot, const GraphTable& table,
                        std::optional<double> from, std::optional<double> to)
{
    if (from && to && *from > *to)
        std::swap(from, to);
    ReadingRows rows;
    const bool bars = !plot.bars.empty();
    for (std::size_t i = 0; i < plot.points.size(); ++i) {
        const Point& p = plot.points[i];
        if ((from && !(p.x >= *from)) || (to && !(p.x <= *to)))
            continue;
        rows.points.push_back(p);
        if (bars)
            rows.uy.push_back(plot.bars[i].uy);
        const std::size_t row = plot.rows[i];
        rows.lines.push_back(row < table.lineNumbers.size() ? table.lineNumbers[row] : 0);
    }
    return rows;
}

ReadingUnits readingUnits(const GraphPlot& plot)
{
    return {unitOfHeader(plot.xTitle), unitOfHeader(plot.yTitle)};
}

void addReadings(GraphPlot& plot, const GraphTable& table, const GraphChoice& choice)
{
    const bool selected = choice.fitFrom || choice.fitTo;
    if (!selected && !choice.area && !choice.tangentAt)
        return;
    const ReadingUnits units = readingUnits(plot);
    const ReadingRows rows = readingRows(plot, table, choice.fitFrom, choice.fitTo);
    if (selected) {
        plot.selection = selectionStats(rows);
        plot.readingsText.push_back(plot.selection ? statsText(*plot.selection, units)
                                                   : "no statistics: there are no rows in the range");
    }
    if (choice.area) {
        const auto area = areaUnder(rows);
        if (const auto* made = std::get_if<AreaReading>(&area)) {
            plot.area = *made;
            plot.readingsText.push_back(areaText(*made, units));
        } else {
            plot.readingsText.push_back(std::get<std::string>(area));
        }
    }
    if (choice.tangentAt) {
        const ReadingRows all = selected ? readingRows(plot, table, {}, {}) : rows;
        const auto tangent = tangentAt(all, *choice.tangentAt, choice.tangentRows);
        if (const auto* made = std::get_if<TangentReading>(&tangent)) {
            plot.tangent = *made;
            plot.readingsText.push_back(tangentText(*made, units));
        } else {
            plot.readingsText.push_back(std::get<std::string>(tangent));
        }
    }
}
