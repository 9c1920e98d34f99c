#pragma once

#include "data/command_context.h"

#include <string_view>

// Splits `line` at the delimiter and writes each field's number into
// dataTable(row, 1..count); returns count, the number of fields (at least 1).
// An empty or non-numeric field reads as 0. The line must have at most 100
// fields.
int extractFields(WorkingState& state, std::string_view line, int row);

// Clears dataTable and fieldCounts and fills them from textLines(1..lineCount).
// With more than 100 lines, or a line of more than 100 fields, it shows a
// message naming the limit, changes nothing and returns false.
bool createDataArray(CommandContext& context);

// createDataArray, then moves the first two fields of every line into
// pairedData(r, 1..2), leaving those cells of dataTable empty text. A line
// with one field gives empty text in pairedData(r, 2). Returns false, having
// changed nothing, when createDataArray refuses.
bool sortPairedData(CommandContext& context);
