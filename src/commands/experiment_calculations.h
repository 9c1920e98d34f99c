#pragma once

#include "data/command_context.h"

// Two calculators for a ball on a ramp, chosen from a menu: the speed with
// which the ball left the ramp (from the drop, the range and the dominoes
// under the ramp), and the uniform acceleration down the ramp (from the
// distance rolled and the final velocity). Appends one sentence.
void experimentCalculations(CommandContext& context);
