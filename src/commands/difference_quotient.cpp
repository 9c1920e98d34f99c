#include "commands/difference_quotient.h"

#include "commands/command_text.h"
#include "data/fields.h"
#include "data/read_as_zero.h"
#include "data/text_intake.h"
#include "data/text_status.h"
#include "format/decimal_number.h"

#include <optional>
#include <vector>

namespace {

constexpr const char* pointsHeader =
    "********* Difference Quotients appear in Third Column, then below as Single Column.";
constexpr const char* quotientsHeader = "********* Difference Quotients in Single Column.";
constexpr const char* midpointsHeader = "********* Difference Quotients vs. Midpoint Values";
constexpr const char* zeroDifferenceMessage = "first column difference is 0; cannot divide by 0";

struct Quotient {
    double x;
    double y;
    double quotient;
    double midpoint;
};

// One entry per line from the second on; nothing where x does not change.
std::vector<std::optional<Quotient>> quotients(const WorkingState& state)
{
    std::vector<std::optional<Quotient>> result;
    for (int i = 2; i <= state.lineCount; ++i) {
        const double x = state.pairedData[i][1].value();
        const double y = state.pairedData[i][2].value();
        const double previousX = state.pairedData[i - 1][1].value();
        const double previousY = state.pairedData[i - 1][2].value();
        const double dx = x - previousX;
        if (dx == 0)
            result.emplace_back();
        else
            result.push_back(Quotient{x, y, (y - previousY) / dx, (x + previousX) / 2});
    }
    return result;
}

bool allQuotientsFit(const std::vector<std::optional<Quotient>>& rows)
{
    for (const auto& row : rows)
        if (row && !allFinite({row->quotient, row->midpoint}))
            return false;
    return true;
}

// The first line (counted from 1) without a y value, 0 if every line has one.
int firstLineWithoutY(const WorkingState& state)
{
    for (int r = 1; r <= state.lineCount; ++r)
        if (state.fieldCounts[r] < 2)
            return r;
    return 0;
}

std::string quotientBlocks(const WorkingState& state,
                           const std::vector<std::optional<Quotient>>& rows)
{
    const std::string delimiter(1, state.delimiter);
    std::string text = lineBreak;
    text += pointsHeader;
    text += lineBreak;
    if (state.lineCount >= 1)
        text += decimalNumber(state.pairedData[1][1].value()) + delimiter +
                decimalNumber(state.pairedData[1][2].value()) + lineBreak;
    for (const auto& row : rows)
        if (row)
            text += decimalNumber(row->x) + delimiter + decimalNumber(row->y) + delimiter +
                    decimalNumber(row->quotient) + lineBreak;

    text += lineBreak;
    text += quotientsHeader;
    text += lineBreak;
    for (const auto& row : rows)
        if (row)
            text += decimalNumber(row->quotient) + lineBreak;

    text += lineBreak;
    text += midpointsHeader;
    text += lineBreak;
    for (const auto& row : rows)
        if (row)
            text +=
                decimalNumber(row->midpoint) + delimiter + decimalNumber(row->quotient) + lineBreak;
    return text;
}

} // namespace

void differenceQuotient(CommandContext& context)
{
    // The lines are parsed before the question, so the parse stays even when
    // the student declines.
    if (!readText(context) || !sortPairedData(context))
        return;
    if (!confirmsDataFormat(TextStatus(context.ui, context.state)))
        return;
    if (!readText(context))
        return;

    const WorkingState& state = context.state;
    if (const int line = firstLineWithoutY(state)) {
        context.ui.showMessage("line " + std::to_string(line) +
                               " has only one number; difference quotients need two numbers "
                               "on every line");
        // Most often the lines are split by another delimiter than the one in force.
        if (const std::optional<std::string> hint = delimiterHint(state))
            context.ui.showMessage(*hint);
        return;
    }
    const auto rows = quotients(state);
    if (!allQuotientsFit(rows)) {
        context.ui.showMessage(tooLargeMessage);
        return;
    }
    appendToBox(context.ui, quotientBlocks(state, rows));
    for (const auto& row : rows) {
        if (!row) {
            context.ui.showMessage(zeroDifferenceMessage);
            break;
        }
    }
    reportFieldsReadAsZero(context, 2, [&state](int r, int k) { return &state.pairedData[r][k]; });
}
