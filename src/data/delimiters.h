#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The four delimiters a student can choose, with the names messages use.
struct DelimiterName {
    char character;
    const char* name;   // "semicolon"
    const char* plural; // "semicolons"
};

// comma, tab, semicolon, space; the name of another character is "comma".
const DelimiterName& delimiterNamed(char character);

// The delimiter the lines seem to use when none of them holds the one in
// force: the one of the other three that stands in the most lines, at least
// half of them (ties go to tab, then semicolon, comma, space); nothing
// otherwise. With `decimalCommas`, a comma between two digits is a decimal
// comma and no delimiter.
std::optional<char> otherDelimiterOfLines(const std::vector<std::string_view>& lines, char inForce,
                                          bool decimalCommas = false);

// The commands' sentence for it: "no line contains the delimiter in force
// (comma); the lines seem to be separated by semicolons. Choose the
// delimiter with Change Delimiter and run the command again."
std::string delimiterHintSentence(char inForce, char found);
