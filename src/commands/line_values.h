#pragma once

#include "data/command_context.h"

// The start shared by the commands that take one number from each line:
// asks whether the data is in the proper form and, for the answer 1, reads
// the box and puts each line's number into columnValues(1..lineCount).
// False when the student declined or the box could not be read.
bool readConfirmedLineValues(CommandContext& context);
