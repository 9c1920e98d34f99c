#pragma once

#include "data/command_context.h"

#include <cstdint>
#include <functional>

// A seed from the time of day: the seconds since midnight, with their
// fraction, as a single-precision number.
std::uint32_t timeOfDaySeed();

// Asks for the lowest and highest number of a range and a count, and appends
// that many random numbers from the range, each on a new line. The generator
// is seeded anew at every run, after the questions.
void generateRandomNumbers(CommandContext& context,
                           const std::function<std::uint32_t()>& seed = timeOfDaySeed);
