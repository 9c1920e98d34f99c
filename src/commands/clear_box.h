#pragma once

#include "data/command_context.h"

// Empties the box; the working state and the delimiter stay as they are.
void clearBox(CommandContext& context);
