#pragma once

#include <optional>
#include <string>
#include <string_view>

// Puts a "0" before a point that comes ahead of every digit 1 to 9 (and ":"),
// dropping what stood before the point: ".5" and "  .5" give "0.5". A text
// whose first non-blank character is "-" keeps its sign: "-.5" and "-0.5"
// give "-0.5". Any other text comes back unchanged ("-1.5", "12", "abc").
std::string addLeadingZero(std::string_view text);

// Where addLeadingZero would put its zero: the position of the point that
// comes ahead of every digit 1 to 9 and ":", or nothing when it leaves the
// text unchanged.
std::optional<std::size_t> leadingPoint(std::string_view text);
