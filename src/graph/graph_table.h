#pragma once

#include "data/field_problems.h"
#include "graph/packed_rows.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The graph plots every data row of a block, and columns up to this one.
inline constexpr int mostPlottedColumns = 100;

// A data row's numbers: field k (counted from 0) holds its number, or nothing.
class RowNumbers {
public:
    explicit RowNumbers(std::span<const double> values) : values_(values) {}
    std::size_t size() const { return values_.size(); }
    std::optional<double> operator[](std::size_t k) const
    {
        return std::isnan(values_[k]) ? std::nullopt : std::optional<double>(values_[k]);
    }

private:
    std::span<const double> values_; // NaN where a field holds no number
};

// The numbers of the box as the graph sees them. Lines are split at the
// delimiter in force; a field holds a number as readDataField reads it
// (strictly, the whole field: "l.417", "1O.2" and "1,294" hold none). A data
// row is a line whose first field begins with a number; other lines
// (headers, the commands' star lines, empty lines) are not plotted, and they
// part the box into blocks: runs of data rows, each plotted on its own (the
// data, then what Difference Quotient put below it). Where most rows have as
// many fields as the header names, a row with more (a decimal comma in a
// comma file: "7,14,0" under "t,x") is left out whole.
struct GraphTable {
    // "t (s),T (°C)": the nearest non-empty line above the block, trimmed
    // and cut at 40 characters; "lines N to M" without one.
    std::string name;
    // The data rows in box order: their numbers (NaN where a field holds
    // none, which the number reading never gives) and texts, packed, since a
    // recording may bring a million rows.
    PackedRows<double> numbers;
    PackedRows<char> texts;
    // Where each kept row stands, counted as the commands' messages count
    // lines (the box's non-empty lines from 1).
    std::vector<int> lineNumbers;
    int firstLine = 0; // where the block begins, as lineNumbers count
    int dataRows = 0;
    int columns = 0; // fields of the widest kept row, at most mostPlottedColumns
    // The fields of the nearest non-empty line above the block, trimmed;
    // empty when there is none.
    std::vector<std::string> columnNames;
    // The non-empty line above the column names, trimmed, when it is neither
    // a data row nor a command's star line ("L = 0.50 m"): the block's
    // heading as a run. Empty otherwise.
    std::string heading;
    // The commands' sentence when no row holds the delimiter in force and
    // another delimiter would split them.
    std::optional<std::string> delimiterHint;
    // Fields that write a decimal comma ("1,294"), which hold no number, and
    // the row of the first; the sentence that names them.
    int decimalCommaFields = 0;
    std::size_t firstDecimalComma = 0;
    std::optional<std::string> decimalCommaNote;
    // Fields that begin as a number but are none, and rows with more fields
    // than the header names (left out when most rows have as many as it
    // names): what they are, for the notes.
    FieldProblems malformed;
    std::vector<std::size_t> widerRows; // in row order
    int firstWiderFields = 0;
    int rowsOfHeaderWidth = 0;
    int columnsOfAllRows = 0;    // fields of the widest row, at most mostPlottedColumns
    int columnsWithinHeader = 0; // of the widest row that is not wider than the header
    bool widerRowsLeftOut = false;
    std::vector<std::string> fieldNotes;

    std::size_t rowCount() const { return lineNumbers.size(); }
    // Whether row r is left out whole: it has more fields than its header names.
    bool leftOut(std::size_t r) const
    {
        return widerRowsLeftOut && std::binary_search(widerRows.begin(), widerRows.end(), r);
    }
    RowNumbers row(std::size_t r) const { return RowNumbers(numbers[r]); }
    std::string_view lineText(std::size_t r) const
    {
        const std::span<const char> text = texts[r];
        return {text.data(), text.size()};
    }
};

// Every block of the box, in box order.
std::vector<GraphTable> readGraphBlocks(std::string_view boxText, char delimiter);

// The same reading as text comes in: the whole box at once, or a box that
// grows at its end (a recording), reading only what was added.
class GraphBlockReader {
public:
    explicit GraphBlockReader(char delimiter);

    // More of the box's text, from where the last ended (CR LF, CR or LF
    // line breaks; the text's last line is read as it stands). False, having
    // read nothing, when the new text goes on with that last line instead of
    // starting a new one: then the whole box is to be read again.
    bool add(std::string_view text);

    const std::vector<GraphTable>& blocks() const& { return blocks_; }
    std::vector<GraphTable> blocks() && { return std::move(blocks_); }

private:
    void readLine(std::string_view line);

    char delimiter_;
    std::vector<GraphTable> blocks_;
    std::string lastNonEmpty_; // the nearest non-empty line above, when it is no data row
    std::string aboveLastNonEmpty_; // the one above that, likewise
    bool inBlock_ = false;
    bool lastLineOpen_ = false;
    int nonEmpty_ = 0;
    int lastDataLine_ = 0;
};

// The first block, or an empty table when the box holds no data row.
GraphTable readGraphTable(std::string_view boxText, char delimiter);

// When the box holds more blocks than the one shown: the sentence that says
// so and names the block after it ("the data go on after line 17, "--
// battery changed --": choose them in the data list"), or, for the last,
// the one before it; nothing for a box of one block.
std::optional<std::string> otherBlocksNote(const std::vector<GraphTable>& blocks,
                                           std::size_t shown);
