#pragma once

#include "data/command_context.h"

// Treats the first two fields of each line as a point (x, y) and appends,
// below the data, the points with the quotient dy/dx of consecutive lines,
// the quotients alone, and the quotients against the midpoints of x. Lines
// whose x equals the x before them are left out, and a message says so.
void differenceQuotient(CommandContext& context);
