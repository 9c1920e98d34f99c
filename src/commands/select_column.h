#pragma once

#include "data/command_context.h"

// Asks for a column number and appends that field of every line, one per
// line, below a header. Lines without that field give an empty line.
void selectColumn(CommandContext& context);
