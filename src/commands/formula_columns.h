#pragma once

#include "data/column_heads.h"

#include <string>
#include <variant>
#include <vector>

// What each name of a formula stands for in the box: the column (from 1)
// that c1, c2, ... name by number, or the column whose header gives it that
// name ("T" for "T (s)"), or 0 for n, the row number. `columns` is how many
// columns the box has. Otherwise the sentence that says why a name stands
// for nothing, naming what the box offers.
std::variant<std::vector<int>, std::string> columnsOfFormula(const std::vector<std::string>& names,
                                                             const ColumnHeads& heads, int columns);
