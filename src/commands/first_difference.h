#pragma once

#include "data/command_context.h"

// Replaces the box with each line's number beside its difference from the
// number before it, then the differences alone. Asks first whether the data
// is in the proper form and goes on only for the answer 1.
void firstDifference(CommandContext& context);
