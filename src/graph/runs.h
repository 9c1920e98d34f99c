#pragma once

#include "graph/graph_table.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A lab is several runs: a pendulum timed at five lengths, a cart pushed
// three times. Each data block of the box is a run, named by its heading
// (the line above its column names) and carrying the values the heading
// writes ("L = 0.50 m; m = 200 g").

struct RunValue {
    std::string name;
    double value = 0;
    std::string unit; // empty without one

    bool operator==(const RunValue&) const = default;
};

struct Run {
    std::size_t block = 0; // among the box's blocks
    std::string name;      // its heading, or "run N" with N counting the runs from 1
    std::vector<RunValue> values;
};

// The values a heading writes as NAME = NUMBER [UNIT], also NAME=NUMBER,
// several separated by semicolons or commas ("L = 0.50 m; m = 200 g"); a
// decimal comma is read where commas do not separate the values. Nothing
// for a heading without them ("lid on").
std::vector<RunValue> runValuesOf(std::string_view heading);

// Every block of the box as a run, in box order.
std::vector<Run> runsOf(const std::vector<GraphTable>& blocks);

// The runs "all runs" draws: the blocks whose column names are those of
// block `like` (without names, as many columns), in box order; and the
// first block left out for its other columns, for the note.
struct RunSelection {
    std::vector<std::size_t> blocks;
    std::optional<std::size_t> firstOther;
};
RunSelection runsLike(const std::vector<GraphTable>& blocks, std::size_t like);

// "the block "mass (g)" has other columns and is not drawn".
std::string otherColumnsNote(const GraphTable& block);
