#include "commands/select_column.h"

#include "commands/command_text.h"
#include "data/fields.h"
#include "data/number_reading.h"
#include "data/read_as_zero.h"
#include "data/text_intake.h"
#include "format/default_text.h"

#include <cmath>
#include <optional>

namespace {

constexpr const char* prompt = "Number of the column you wish to select:  ";
constexpr const char* header = "**********  Your selected column is: ";
constexpr const char* overTenMessage = "You do not have 10 columns of data in the box";

// Halves go to the even neighbour: 2.5 gives 2, 3.5 gives 4.
double roundHalfToEven(double value)
{
    const double rounded = std::round(value);
    if (std::fabs(value - std::trunc(value)) == 0.5)
        return 2 * std::round(value / 2);
    return rounded;
}

// The column number as the student would write it: "0", "12", "-3".
std::string columnName(double column)
{
    std::string text = defaultNumberText(column);
    return text[0] == ' ' ? text.substr(1) : text;
}

// The column asked for, once it is known to be one the data can have.
std::optional<int> askColumn(CommandContext& context)
{
    const std::optional<double> answer = readAnswer(context.ui.askText(prompt));
    if (!answer)
        return std::nullopt;
    if (*answer > 10) {
        context.ui.showMessage(overTenMessage);
        return std::nullopt;
    }
    const double column = roundHalfToEven(*answer);
    const bool hasData = context.state.lineCount > 0;
    if (column < 1 || (hasData && column > widestLine(context.state))) {
        context.ui.showMessage("there is no column " + columnName(column) + " in the data");
        return std::nullopt;
    }
    return static_cast<int>(column);
}

} // namespace

void selectColumn(CommandContext& context)
{
    if (!readText(context) || !createDataArray(context))
        return;
    const std::optional<int> column = askColumn(context);
    if (!column)
        return;

    const WorkingState& state = context.state;
    std::string piece = header;
    piece += lineBreak;
    for (int r = 1; r <= state.lineCount; ++r) {
        const Cell& cell = state.dataTable[r][*column];
        if (cell.isNumber())
            piece += defaultNumberText(cell.value());
        piece += lineBreak;
    }
    appendToBox(context.ui, piece);
    reportFieldsReadAsZero(context, *column, [&state, k = *column](int r, int field) {
        return field == k ? &state.dataTable[r][k] : nullptr;
    });
}
