#include "commands/first_difference.h"

#include "commands/command_text.h"
#include "commands/line_values.h"
#include "data/read_as_zero.h"
#include "format/decimal_number.h"

namespace {

constexpr const char* pairedHeader =
    "********  Differences are displayed below with original data ****";
constexpr const char* singleColumnHeader =
    "********  Differences are displayed below in a single column ****";

bool differencesFit(const WorkingState& state)
{
    for (int j = 1; j < state.lineCount; ++j)
        if (!allFinite({state.columnResults[j].value()}))
            return false;
    return true;
}

std::string differencesText(const WorkingState& state)
{
    const int n = state.lineCount;
    const std::string delimiter(1, state.delimiter);
    std::string text = pairedHeader;
    if (n >= 1)
        text += decimalNumber(state.columnValues[1].value());
    text += lineBreak;
    for (int k = 2; k <= n; ++k)
        text += decimalNumber(state.columnValues[k].value()) + delimiter +
                decimalNumber(state.columnResults[k - 1].value()) + lineBreak;
    text += singleColumnHeader;
    for (int m = 1; m < n; ++m)
        text += decimalNumber(state.columnResults[m].value()) + lineBreak;
    return text;
}

} // namespace

void firstDifference(CommandContext& context)
{
    if (!readConfirmedLineValues(context))
        return;

    WorkingState& state = context.state;
    for (int j = 2; j <= state.lineCount; ++j)
        state.columnResults[j - 1] =
            Cell::number(state.columnValues[j].value() - state.columnValues[j - 1].value());

    if (!differencesFit(state)) {
        context.ui.showMessage(tooLargeMessage);
        return;
    }
    context.ui.replaceBox(differencesText(state));
    reportLinesReadAsZero(context);
}
