#include "data/fields.h"

#include "data/leading_zero.h"
#include "data/number_reading.h"

#include <algorithm>
#include <string>

namespace {

Cell fieldCell(std::string_view field) { return Cell::number(leadingValue(field)); }

// The first line (counted from 1) with more fields than the table holds, 0 if none.
int firstLineWithTooManyFields(const WorkingState& state)
{
    for (int r = 1; r <= state.lineCount; ++r) {
        const std::string& line = state.textLines[r];
        if (std::count(line.begin(), line.end(), state.delimiter) >= maxTableColumns)
            return r;
    }
    return 0;
}

bool fitsTheTable(CommandContext& context)
{
    if (context.state.lineCount > maxTableRows) {
        context.ui.showMessage("there are more than 100 lines of data in the textbox; "
                               "this command can use at most 100");
        return false;
    }
    if (const int line = firstLineWithTooManyFields(context.state)) {
        context.ui.showMessage("line " + std::to_string(line) +
                               " has more than 100 fields; this command can use at most 100");
        return false;
    }
    return true;
}

} // namespace

double leadingValue(std::string_view text)
{
    // A new text is made only for the few fields that need a leading zero.
    return leadingPoint(text) ? readNumber(addLeadingZero(text)) : readNumber(text);
}

void readLineValues(WorkingState& state)
{
    for (int i = 1; i <= state.lineCount; ++i)
        state.columnValues[i] = Cell::number(leadingValue(state.textLines[i]));
}

int extractFields(WorkingState& state, std::string_view line, int row)
{
    int count = 0;
    std::size_t fieldStart = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] != state.delimiter)
            continue;
        ++count;
        state.dataTable[row][count] = fieldCell(line.substr(fieldStart, i - fieldStart));
        fieldStart = i + 1;
    }
    state.dataTable[row][count + 1] = fieldCell(line.substr(fieldStart));
    return count + 1;
}

bool createDataArray(CommandContext& context)
{
    if (!fitsTheTable(context))
        return false;
    WorkingState& state = context.state;
    for (auto& row : state.dataTable)
        row.fill(Cell::emptyText());
    state.fieldCounts.fill(0);
    for (int r = 1; r <= state.lineCount; ++r)
        state.fieldCounts[r] = extractFields(state, state.textLines[r], r);
    return true;
}

int widestLine(const WorkingState& state)
{
    return *std::max_element(state.fieldCounts.begin(), state.fieldCounts.end());
}

bool sortPairedData(CommandContext& context)
{
    if (!createDataArray(context))
        return false;
    WorkingState& state = context.state;
    for (int r = 1; r <= state.lineCount; ++r) {
        state.pairedData[r][1] = state.dataTable[r][1];
        state.pairedData[r][2] = state.dataTable[r][2];
        state.dataTable[r][1] = Cell::emptyText();
        state.dataTable[r][2] = Cell::emptyText();
    }
    return true;
}
