#pragma once

#include "data/command_context.h"

// Replaces the box with its fields with rows and columns exchanged: output
// line i holds field i of every input line. A field a line lacks is written
// as two blanks.
void rowsToColumns(CommandContext& context);
