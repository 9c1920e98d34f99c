#pragma once

#include <string>
#include <string_view>

// What a field of the box becomes in a sheet: a number where the field holds
// one as the graph reads numbers (blanks around it allowed; with
// `decimalCommas`, "21,5" too, which a box separated by tabs, semicolons or
// spaces may hold), nothing where the field is empty or blank, text
// otherwise: the field as it stands, which a spreadsheet never reads as a
// formula, "=A1" or "-x" included.
struct SheetCell {
    enum class Kind { Empty, Number, Text };
    Kind kind = Kind::Empty;
    double number = 0;
    std::string_view text; // the field's, for text

    bool operator==(const SheetCell&) const = default;
};

SheetCell cellOfField(std::string_view field, bool decimalCommas);

// The same, owning its text: a cell of the fits sheet.
struct OwnCell {
    SheetCell::Kind kind = SheetCell::Kind::Empty;
    double number = 0;
    std::string text;

    static OwnCell of(double number);
    static OwnCell of(std::string text);
};
