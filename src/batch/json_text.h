#pragma once

#include <string>

// Pieces of the batch's JSON output.

// The shortest text that reads back as the same double; null where there is
// no finite number.
std::string jsonNumber(double value);

// A string in double quotes, its quotes, backslashes and control characters
// escaped.
std::string jsonString(const std::string& text);
