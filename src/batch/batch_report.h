#pragma once

#include "batch/batch_run.h"

#include <istream>
#include <string>
#include <vector>

// benchtabler-batch report --pdf FILE [--title TEXT] [--name TEXT]
// [--paper a4|letter] [--x K] [--y K] [--log-x] [--log-y] [the fit options
// of fit] [DATA]: the lab report the graph window would write for those
// choices, as a PDF. Exit 0 with the file written durably; 1 with a message
// and no file when there is nothing to plot; 2 when FILE cannot be written
// (the message names it). Needs a QGuiApplication (no display: offscreen).
BatchResult runReport(const std::vector<std::string>& arguments, std::istream& input);
