#pragma once

#include "data/command_context.h"

#include <filesystem>
#include <string>

inline constexpr const char* outputFileName = "benchTablerOutput.txt";

// Saves the box text and a final CR LF to a file, replacing it whole and
// durably (replaceFileDurably). The reason of a failure, or empty text when
// the save worked.
std::string saveBoxText(const std::filesystem::path& path, const std::string& boxText);

// Saves the box to benchTablerOutput.txt in the program's directory; a
// failure is reported in a message. True when the save worked.
bool outputAsDelimitedFile(CommandContext& context);
