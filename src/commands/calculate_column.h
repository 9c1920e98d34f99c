#pragma once

#include "data/command_context.h"

// Asks for a formula in the columns c1, c2, ... and the row number n, and
// puts its value at the end of every data row of the box (a line whose
// first field holds a number), with the formula's text at the end of the
// header line above the first data row. Every other line stays as it is.
void calculateColumn(CommandContext& context);
