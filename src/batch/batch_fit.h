#pragma once

#include "batch/batch_run.h"

#include <istream>
#include <string>
#include <vector>

// Whether the command line asks for the fit command.
bool isFitCommand(const std::vector<std::string>& arguments);

// benchtabler-batch [--delimiter NAME] fit [--x K] [--y K] (--model NAME |
// --equation TEXT) [--start NAME=VALUE]... [--from A] [--to B] [--json] [FILE]:
// the rows and columns as the graph window takes them, fitted as it fits
// them; its fit text, or with --json one JSON object for scripts.
BatchResult runFit(const std::vector<std::string>& arguments, std::istream& input);
