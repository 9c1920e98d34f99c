#pragma once

#include <string>
#include <string_view>
#include <vector>

// What the strict reading of data rows found wrong with them, for a note:
// fields that begin as a number does but are none ("1O.2", "12.0.1"), and
// rows with more fields than their header names (a decimal comma in a comma
// file: "7,14,0" under "t,x"). Either is left out, never read as another
// number.
class FieldProblems {
public:
    // A field of the box's line `line` (counted as the commands' messages
    // count lines) that is no number.
    void addMalformed(int line, std::string_view field);
    // A row of `fields` fields under a header that names `named`.
    void addWiderRow(int line, int fields, int named);
    // `rows` such rows, the first at `line` with `fields` fields.
    void addWiderRows(int rows, int line, int fields, int named);

    int malformedFields() const { return malformed_; }
    int widerRows() const { return wider_; }

    // "line 6: "1O.2" is not a number", "line 8 has 3 fields where its
    // header names 2", or how many and the first; none when all is well.
    std::vector<std::string> sentences() const;

private:
    int malformed_ = 0;
    int firstMalformedLine_ = 0;
    std::string firstMalformedField_;
    int wider_ = 0;
    int firstWiderLine_ = 0;
    int firstWiderFields_ = 0;
    int named_ = 0;
};
