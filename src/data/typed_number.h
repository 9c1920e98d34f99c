#pragma once

#include <optional>
#include <string>
#include <string_view>

// A number typed into a field of the graph window (a fit's range, a starting
// value, an uncertainty): the whole field, blanks around it allowed, with a
// point or a decimal comma ("400,5"), an exponent allowed; in a percentage
// field a % after it ("2%"). An empty field holds no number and is no
// mistake; any other text that is no number is, and the reason says why.
struct TypedNumber {
    std::optional<double> value;
    bool empty = false;
    std::string reason; // why the text is no number; empty otherwise
};

TypedNumber readTypedNumber(std::string_view text, bool percentage = false);
