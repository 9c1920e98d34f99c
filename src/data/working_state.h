#pragma once

#include <array>
#include <string>

// One value of a table: never set, empty text, or a number. A cell never set
// counts as 0 in arithmetic and as empty text where text is compared. A
// number read from text that holds none is 0 and remembers that it was read
// so, for the note that tells the student.
class Cell {
public:
    Cell() = default;
    static Cell emptyText() { return Cell(Kind::EmptyText, 0.0); }
    static Cell number(double value) { return Cell(Kind::Number, value); }
    static Cell readAsZero() { return Cell(Kind::ReadAsZero, 0.0); }

    bool isNumber() const { return kind_ == Kind::Number || kind_ == Kind::ReadAsZero; }
    bool isText() const { return !isNumber(); }
    bool wasReadAsZero() const { return kind_ == Kind::ReadAsZero; }
    double value() const { return kind_ == Kind::Number ? value_ : 0.0; }

private:
    enum class Kind { Nothing, EmptyText, Number, ReadAsZero };
    Cell(Kind kind, double value) : kind_(kind), value_(value) {}

    Kind kind_ = Kind::Nothing;
    double value_ = 0.0;
};

inline constexpr int maxLines = 1000;       // non-empty lines readText can hold
inline constexpr int maxTableRows = 100;    // lines the field table can hold
inline constexpr int maxTableColumns = 100; // fields per line in the field table

template <int Rows, int Columns>
using CellTable = std::array<std::array<Cell, Columns + 1>, Rows + 1>;

// Everything the commands share for the life of the window. Every array is
// indexed from 0 to its bound inclusive; index 0 is not filled by parsing.
// Entries above the ones a command writes keep what an earlier command left.
struct WorkingState {
    std::array<std::string, maxLines + 1> textLines;
    int lineCount = 0;

    CellTable<maxTableRows, maxTableColumns> dataTable;
    std::array<int, maxTableRows + 1> fieldCounts{};
    CellTable<maxLines, 2> pairedData;

    std::array<Cell, maxLines + 1> columnValues;
    std::array<Cell, maxLines + 1> columnResults;
    // As long as columnValues, so a report covers every line readText holds.
    std::array<Cell, maxLines + 1> deviations;
    CellTable<maxTableRows, maxTableColumns> transposedTable;

    char delimiter = ',';
    std::string delimiterName = "comma";
    // The formula "calculate column" was given last, offered again next time.
    std::string lastFormula;
};
