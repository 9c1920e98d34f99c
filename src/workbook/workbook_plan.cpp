#include "workbook/workbook_plan.h"

#include "format/report_number.h"
#include "workbook/sheet_names.h"

#include <algorithm>

namespace {

std::string sheetNameOf(const std::vector<GraphTable>& blocks, std::size_t b)
{
    const GraphTable& block = blocks[b];
    if (!block.heading.empty())
        return block.heading;
    if (blocks.size() == 1)
        return "data";
    return "lines " + std::to_string(block.lineNumbers.front()) + " to " +
           std::to_string(block.lineNumbers.back());
}

// "the rows of "pendulum" go on in the sheet "pendulum (2)": a sheet holds
// 1 048 575 rows under its column names".
std::string goesOnNote(const std::string& first, const std::string& next, bool rows,
                       const SheetLimits& limits, bool namesRow)
{
    const std::string limit =
        rows ? groupedCount(limits.rows - (namesRow ? 1 : 0)) + " rows" +
                   (namesRow ? " under its column names" : "")
             : groupedCount(limits.columns) + " columns";
    return std::string(rows ? "the rows" : "the fields") + " of \"" + first +
           "\" go on in the sheet \"" + next + "\": a sheet holds " + limit;
}

} // namespace

std::size_t widestRow(const GraphTable& block, char delimiter)
{
    std::size_t widest = block.columnNames.size();
    for (std::size_t r = 0; r < block.rowCount(); ++r) {
        const std::string_view line = block.lineText(r);
        widest = std::max<std::size_t>(widest, std::count(line.begin(), line.end(), delimiter) + 1);
    }
    return widest;
}

WorkbookPlan planWorkbook(const std::vector<GraphTable>& blocks, char delimiter, bool withFits,
                          const SheetLimits& limits)
{
    WorkbookPlan plan;
    SheetNames names;
    if (withFits)
        plan.fitsSheet = names.unique("fits");
    for (std::size_t b = 0; b < blocks.size(); ++b) {
        const GraphTable& block = blocks[b];
        plan.rows += block.rowCount();
        const bool namesRow = !block.columnNames.empty();
        const std::size_t rowsASheet = limits.rows - (namesRow ? 1 : 0);
        const std::size_t fields = widestRow(block, delimiter);
        const std::string wanted = sheetNameOf(blocks, b);
        std::string first;
        for (std::size_t field = 0; field < fields; field += limits.columns)
            for (std::size_t row = 0; row == 0 || row < block.rowCount(); row += rowsASheet) {
                SheetPart part{names.unique(wanted), b, row,
                               std::min(block.rowCount(), row + rowsASheet), field,
                               std::min(fields, field + limits.columns), namesRow};
                if (first.empty())
                    first = part.name;
                else
                    plan.notes.push_back(
                        goesOnNote(first, part.name, row > 0, limits, namesRow));
                plan.sheets.push_back(std::move(part));
            }
    }
    return plan;
}
