#include "commands/running_sum.h"

#include "commands/command_text.h"
#include "commands/line_values.h"
#include "data/read_as_zero.h"
#include "format/decimal_number.h"

namespace {

constexpr const char* pairedHeader =
    "********  Running Sums are displayed below with original data ****";
constexpr const char* singleColumnHeader =
    "********  Running Sums are displayed below in a single column ****";
constexpr const char* doneMessage =
    "running sums are displayed in the text box; note: option to display original numbers "
    "with differences, save as comma-delimited file, etc.";

std::string sumsText(const WorkingState& state)
{
    const int n = state.lineCount;
    const std::string delimiter(1, state.delimiter);
    std::string text = pairedHeader;
    for (int k = 1; k <= n; ++k)
        text += decimalNumber(state.columnValues[k].value()) + delimiter +
                decimalNumber(state.columnResults[k].value()) + lineBreak;
    text += singleColumnHeader;
    text += lineBreak;
    for (int k = 1; k <= n; ++k)
        text += decimalNumber(state.columnResults[k].value()) + lineBreak;
    return text;
}

} // namespace

void runningSum(CommandContext& context)
{
    if (!readConfirmedLineValues(context))
        return;

    WorkingState& state = context.state;
    state.columnResults[0] = Cell::number(0);
    for (int i = 1; i <= state.lineCount; ++i)
        state.columnResults[i] =
            Cell::number(state.columnValues[i].value() + state.columnResults[i - 1].value());

    // Once a sum overflows, the last one does too.
    if (!allFinite({state.columnResults[state.lineCount].value()})) {
        context.ui.showMessage(tooLargeMessage);
        return;
    }
    context.ui.replaceBox(sumsText(state));
    context.ui.showMessage(doneMessage);
    reportLinesReadAsZero(context);
}
