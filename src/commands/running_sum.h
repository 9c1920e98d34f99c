#pragma once

#include "data/command_context.h"

// Replaces the box with each line's number beside its running sum, then the
// sums alone, and says so in a message. Asks first whether the data is in
// the proper form and goes on only for the answer 1.
void runningSum(CommandContext& context);
