#pragma once

#include <optional>
#include <string_view>

// How the graph, its fits and calculate column read a field of the data:
// strictly, so that no field is plotted or worked with as a number it does
// not hold. A field holds a number only when the whole field is one, blanks
// around it allowed: a sign, digits with a point, an exponent ("12.5",
// "-.25", "1.6e-19"), or "&H" and "&O" numbers. Text before or after the
// number ("l.417", "t=.5", "1O.2", "12.0.1", "12.5 cm", where the commands
// read 0.417, 0.5, 1, 12 and 12.5) and a decimal comma ("1,294", where the
// commands read 1) hold none.
struct DataField {
    std::optional<double> number;
    bool beginsWithNumber = false; // what a data row's first field does
    bool decimalComma = false;     // "0,5": it begins with a number and a comma and digit follow
    // It begins as a number does but the whole field is none ("1O.2",
    // "12.0.1"), and no decimal comma explains it: a typo to name.
    bool malformed = false;
};

DataField readDataField(std::string_view field);
