#pragma once

#include "graph/graph_table.h"

#include <cstddef>
#include <string>
#include <vector>

// How the box's blocks go into a workbook: a sheet a block, in box order,
// each named by its run's name (its heading; "data" for a box of one block;
// else "lines N to M"). A block with more rows or fields than a sheet holds
// goes on in the next sheet, its column names again in the first row.

// What a spreadsheet holds: Excel's limits.
struct SheetLimits {
    std::size_t rows = 1048576;
    std::size_t columns = 16384;
};

struct SheetPart {
    std::string name;
    std::size_t block = 0;
    std::size_t firstRow = 0, endRow = 0;     // the block's data rows
    std::size_t firstField = 0, endField = 0; // the rows' fields, from 0
    bool namesRow = false;                    // the column names in its first row
};

struct WorkbookPlan {
    std::vector<SheetPart> sheets;
    std::string fitsSheet; // the name of the fits sheet; empty without one
    std::size_t rows = 0;  // the data rows of all blocks
    // Where a block goes on in another sheet.
    std::vector<std::string> notes;
};

// The fields of the widest row of a block, the column names' line included.
std::size_t widestRow(const GraphTable& block, char delimiter);

WorkbookPlan planWorkbook(const std::vector<GraphTable>& blocks, char delimiter, bool withFits,
                          const SheetLimits& limits = {});
