#include "commands/rows_to_columns.h"

#include "commands/command_text.h"
#include "data/fields.h"
#include "data/read_as_zero.h"
#include "data/text_intake.h"
#include "format/default_text.h"

namespace {

// Exchanges the rows and columns of the whole table in place, through
// transposedTable, which keeps the exchanged copy.
void transposeDataTable(WorkingState& state)
{
    for (int r = 0; r <= maxTableRows; ++r)
        for (int k = 0; k <= maxTableColumns; ++k)
            state.transposedTable[k][r] = state.dataTable[r][k];
    state.dataTable = state.transposedTable;
}

// A value in its default text; a field the line lacks as two blanks.
void appendCell(std::string& text, const Cell& cell)
{
    if (cell.isNumber())
        appendDefaultNumberText(text, cell.value());
    else
        text += "  ";
}

std::string exchangedText(const WorkingState& state, int outputLines)
{
    std::string text;
    text.reserve(static_cast<std::size_t>(outputLines) * (state.lineCount + 1) * 8);
    for (int i = 1; i <= outputLines; ++i) {
        for (int j = 1; j < state.lineCount; ++j) {
            appendCell(text, state.dataTable[i][j]);
            text += state.delimiter;
        }
        appendCell(text, state.dataTable[i][state.lineCount]);
        text += lineBreak;
    }
    return text;
}

} // namespace

void rowsToColumns(CommandContext& context)
{
    if (!readText(context) || !createDataArray(context))
        return;
    WorkingState& state = context.state;
    transposeDataTable(state);
    const int fields = widestLine(state);
    context.ui.replaceBox(exchangedText(state, fields));
    // After the exchange, field k of line r stands in dataTable(k, r).
    reportFieldsReadAsZero(context, fields, [&state](int r, int k) {
        return k <= state.fieldCounts[r] ? &state.dataTable[k][r] : nullptr;
    });
}
