#pragma once

#include "data/command_context.h"

#include <string>
#include <string_view>
#include <vector>

inline constexpr const char* tempFileName = "tempFile.txt";

// The non-empty lines of a text: CR or CR LF ends a line, a lone LF is part
// of its line, and empty lines are dropped. Lines keep their blanks.
std::vector<std::string> nonEmptyLines(std::string_view text);

// Reads the box into textLines(1..lineCount) through tempFile.txt in the
// program's directory (the box text plus CR LF). When the file cannot be
// written or read, the lines come from the box text directly. With more than
// 1000 non-empty lines it shows a message, leaves the working state as it was
// and returns false.
bool readText(CommandContext& context);

// Writes the box text plus CR LF to tempFile.txt, as readText does, for the
// commands that read the box whole, without a limit of lines.
void writeTempFile(const CommandContext& context);
