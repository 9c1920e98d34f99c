#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The graph plots at most this many data rows, and columns up to this one.
inline constexpr int mostPlottedRows = 10000;
inline constexpr int mostPlottedColumns = 100;

// The numbers of the box as the graph sees them. Lines are split at the
// delimiter in force; a field holds a number when it begins with one, read
// as the commands read it. A data row is a line whose first field holds a
// number; other lines (headers, the commands' star lines) are not plotted.
struct GraphTable {
    // The data rows in box order, the first mostPlottedRows of them: field k
    // (counted from 0) holds its number, or nothing.
    std::vector<std::vector<std::optional<double>>> rows;
    int dataRows = 0; // all of them, also those beyond mostPlottedRows
    int columns = 0;  // fields of the widest kept row, at most mostPlottedColumns
    // The fields of the nearest non-empty line above the first data row,
    // trimmed; empty when there is none.
    std::vector<std::string> columnNames;
};

GraphTable readGraphTable(std::string_view boxText, char delimiter);
