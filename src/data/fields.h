#pragma once

#include "data/command_context.h"

#include <string_view>

// The number a line or field begins with, after a leading point gets its
// zero: "-.5" gives -0.5, "3,4" gives 3, "abc" gives 0.
double leadingValue(std::string_view text);

// columnValues(1..lineCount) = the number each line of textLines begins with.
void readLineValues(WorkingState& state);

// Splits `line` at the delimiter and writes each field's number into
// dataTable(row, 1..count); returns count, the number of fields (at least 1).
// An empty or non-numeric field reads as 0. The line must have at most 100
// fields.
int extractFields(WorkingState& state, std::string_view line, int row);

// Clears dataTable and fieldCounts and fills them from textLines(1..lineCount).
// With more than 100 lines, or a line of more than 100 fields, it shows a
// message naming the limit, changes nothing and returns false.
bool createDataArray(CommandContext& context);

// The largest field count of any line; 0 when there is no line.
int widestLine(const WorkingState& state);

// createDataArray, then moves the first two fields of every line into
// pairedData(r, 1..2), leaving those cells of dataTable empty text. A line
// with one field gives empty text in pairedData(r, 2). Returns false, having
// changed nothing, when createDataArray refuses.
bool sortPairedData(CommandContext& context);
