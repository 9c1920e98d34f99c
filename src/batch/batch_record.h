#pragma once

#include "batch/batch_run.h"

#include <string>
#include <vector>

// benchtabler-batch [--delimiter NAME] record (--port DEVICE [--baud N] |
// --phyphox HOST:PORT [--set NAME]) (--lines N | --seconds S) [--host-time]
// [--trigger K:V [--before N]]: records as the record window does into an
// empty box, and gives the box's text. Ends after the rows or seconds asked
// for, on SIGINT or SIGTERM as Stop does, or when the device goes away (a
// message saying so): exit 0 with what was recorded. Exit 2 when the port
// cannot be opened or the phone cannot be reached, nothing on standard
// output. Needs a QCoreApplication.
BatchResult runRecord(const std::vector<std::string>& arguments);
