#pragma once

#include "batch/batch_run.h"

#include <istream>
#include <string>
#include <vector>

// export --xlsx OUT [the options of fit] [FILE]: the box as a workbook for a
// spreadsheet, a sheet a block, and a sheet "fits" when a model is given (or
// a session's graph shows one). Exit 0 when it is written (what it holds on
// standard output), 1 when there is nothing to write (no file made), 2 when
// OUT cannot be written (nothing left behind).
BatchResult runExport(const std::vector<std::string>& arguments, std::istream& input);
