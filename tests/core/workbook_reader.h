#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// Reads a workbook back as a spreadsheet would, independently of the
// library that wrote it: the .xlsx archive unzipped with minizip, the
// workbook's sheet names and each sheet's cells parsed from their XML.

struct ReadCell {
    std::size_t row = 0;    // from 0
    std::size_t column = 0; // from 0
    enum class Kind { Number, Text, Formula } kind = Kind::Text;
    std::string value; // the number as written, or the text
};

struct ReadSheet {
    std::string name;
    std::vector<ReadCell> cells; // in row order

    // The cell at (row, column), or nothing when it is empty.
    std::optional<ReadCell> at(std::size_t row, std::size_t column) const;
    std::size_t rows() const { return cells.empty() ? 0 : cells.back().row + 1; }
};

struct ReadWorkbook {
    std::vector<ReadSheet> sheets; // in the workbook's order
    std::string failure;           // why it could not be read; empty when it was
};

ReadWorkbook readWorkbook(const std::filesystem::path& path);

// The double the text of a numeric cell reads as.
double numberOf(const std::string& value);
