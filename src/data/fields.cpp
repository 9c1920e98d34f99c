#include "data/fields.h"

#include "data/leading_zero.h"
#include "data/number_reading.h"

#include <algorithm>
#include <string>

namespace {

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

std::string_view withoutBlanks(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

double leadingValue(std::string_view text) { return leadingNumber(text).value_or(0.0); }

std::optional<double> leadingNumber(std::string_view text)
{
    // A plain number reads the same with or without a zero before its point.
    if (const std::optional<double> plain = readPlainNumber(text))
        return plain;
    const std::optional<std::size_t> point = leadingPoint(text);
    if (!point)
        return readNumberIfAny(text);
    // Only a digit after the point is the text's own.
    const std::size_t next = text.find_first_not_of(" \t\n", *point + 1);
    if (next == std::string_view::npos || text[next] < '0' || text[next] > '9')
        return std::nullopt;
    return readNumberIfAny(addLeadingZero(text));
}

Cell cellOfText(std::string_view text)
{
    const std::optional<double> number = leadingNumber(text);
    return number ? Cell::number(*number) : Cell::readAsZero();
}

void readLineValues(WorkingState& state)
{
    for (int i = 1; i <= state.lineCount; ++i)
        state.columnValues[i] = cellOfText(state.textLines[i]);
}

int extractFields(WorkingState& state, std::string_view line, int row)
{
    // Most fields are a plain number ending at the delimiter: read as the
    // line is scanned. Any other field is found whole and read by the rule.
    int count = 0;
    std::size_t start = 0;
    while (true) {
        const std::string_view rest = line.substr(start);
        const PlainNumber plain = readPlainNumberPrefix(rest);
        std::size_t end = start + plain.length;
        if (plain.length > 0 && (end == line.size() || line[end] == state.delimiter)) {
            state.dataTable[row][++count] = Cell::number(plain.value);
        } else {
            end = std::min(line.find(state.delimiter, start), line.size());
            state.dataTable[row][++count] = cellOfText(line.substr(start, end - start));
        }
        if (end == line.size())
            return count;
        start = end + 1;
    }
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
