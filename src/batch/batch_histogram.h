#pragma once

#include "batch/batch_run.h"

#include <istream>
#include <string>
#include <vector>

// benchtabler-batch [--delimiter NAME] histogram [--y K]
// [--bins auto|sturges|WIDTH] [--json] [FILE]: the graph window's histogram
// of column K's values; prints its text and one line a bin, "FROM TO COUNT"
// (--json: one object for scripts). Exit 1 with a message and nothing on
// standard output when there are no values, or the width is refused.
BatchResult runHistogram(const std::vector<std::string>& arguments, std::istream& input);
