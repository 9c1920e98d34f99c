#pragma once

#include "data/command_context.h"

// Says which delimiter is in force and lets the student choose comma, tab,
// semicolon or space. The box is not changed.
void changeDelimiter(CommandContext& context);

// Makes a delimiter the one in force, as Change Delimiter does when chosen.
void setDelimiter(WorkingState& state, char delimiter);
