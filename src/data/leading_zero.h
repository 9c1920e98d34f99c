#pragma once

#include <string>
#include <string_view>

// Puts a "0" before a point that comes ahead of every digit 1 to 9 (and ":"),
// dropping what stood before the point: ".5" and "  .5" give "0.5". A text
// whose first non-blank character is "-" keeps its sign: "-.5" and "-0.5"
// give "-0.5". Any other text comes back unchanged ("-1.5", "12", "abc").
std::string addLeadingZero(std::string_view text);
