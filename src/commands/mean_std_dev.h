#pragma once

#include "data/command_context.h"

// Rewrites the box with its non-empty lines and appends a report, in full
// sentences, of the count, sum, mean, mean deviation, sum of squared
// deviations and standard deviation of the numbers the lines begin with.
void meanAndStandardDeviation(CommandContext& context);
