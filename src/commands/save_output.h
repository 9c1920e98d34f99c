#pragma once

#include "data/command_context.h"

inline constexpr const char* outputFileName = "benchTablerOutput.txt";

// Saves the box text and a final CR LF to benchTablerOutput.txt in the
// program's directory. The file is replaced whole: the text goes to a
// temporary file beside it, which then takes its name, so a failed save
// leaves the earlier file as it was. A failure is reported in a message.
void outputAsDelimitedFile(CommandContext& context);
