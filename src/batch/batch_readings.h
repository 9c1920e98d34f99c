#pragma once

#include "batch/batch_run.h"

#include <istream>
#include <string>
#include <vector>

// The graph window's readings of a block, in the batch: each prints the
// line the window shows (--json: one object for scripts); a range or point
// outside the data, or fewer rows than the reading needs, exit 1 with a
// message and nothing on standard output.

// integral [--x K] [--y K] [--from A] [--to B] [--sigma-y K] [--json] [FILE]:
// the area under y over x by the trapezoid rule, with its uncertainty.
BatchResult runIntegral(const std::vector<std::string>& arguments, std::istream& input);

// tangent --at X [--x K] [--y K] [--points N] [--sigma-y K] [--json] [FILE]:
// the slope at X from a local fit through the N nearest rows.
BatchResult runTangent(const std::vector<std::string>& arguments, std::istream& input);

// stats [--x K] [--y K] [--from A] [--to B] [--json] [FILE]: the statistics
// of y over the rows with x from A to B.
BatchResult runStats(const std::vector<std::string>& arguments, std::istream& input);
