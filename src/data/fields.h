#pragma once

#include "data/command_context.h"

#include <optional>
#include <string_view>

// The number a line or field begins with, after a leading point gets its
// zero: "-.5" gives -0.5, "3,4" gives 3, "abc" gives 0.
double leadingValue(std::string_view text);

// The same number, or nothing when the text holds no number: the reading
// takes no digit from it ("abc", "", "-", "x."; the zero put before a
// leading point is not the text's own), or the number is too large
// ("1e999"). "12.5 cm" holds 12.5 and "t=.5" holds 0.5.
std::optional<double> leadingNumber(std::string_view text);

// The cell for a line or field: its number, or a 0 that remembers it was
// read from text that holds no number.
Cell cellOfText(std::string_view text);

// The text without the blanks (spaces and tabs) at its ends.
std::string_view withoutBlanks(std::string_view text);

// Calls visit(k, text) for each field k (counted from 1) of the line split at
// the delimiter; a line without the delimiter is one field.
template <typename Visit> void forEachField(std::string_view line, char delimiter, Visit visit)
{
    int k = 0;
    std::size_t start = 0;
    for (std::size_t i = line.find(delimiter); i != std::string_view::npos;
         start = i + 1, i = line.find(delimiter, start))
        visit(++k, line.substr(start, i - start));
    visit(++k, line.substr(start));
}

// columnValues(1..lineCount) = the cell of each line of textLines.
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
