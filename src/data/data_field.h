#pragma once

#include <optional>
#include <string_view>

// How the graph, its fits and calculate column read a field of the data:
// as the commands read it, but strictly, so that no field is plotted or
// worked with as a number it does not hold. A field holds a number when it
// begins with one (a sign, then a digit or a point and a digit; "&H" and
// "&O" numbers too), a unit or a note allowed after it ("12.5 cm"); text
// before the number ("l.417", "t=.5", where the commands read 0.417 and
// 0.5) and a decimal comma ("1,294", where the commands read 1) hold none.
struct DataField {
    std::optional<double> number;
    bool beginsWithNumber = false; // what a data row's first field does
    bool decimalComma = false;     // "0,5": it begins with a number and a comma and digit follow
};

DataField readDataField(std::string_view field);
