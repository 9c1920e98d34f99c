#pragma once

#include <string>
#include <string_view>
#include <vector>

// What the header line above a block of data says of its columns.
struct ColumnHeads {
    // Each column's name: its header field, trimmed, without a trailing unit
    // in parentheses or brackets after a blank ("T (s)" is T, "L [m]" is L,
    // "u(T)" stays u(T)); empty where the header has no field.
    std::vector<std::string> names;
    // For each column (from 0), the column (from 0) that holds its standard
    // uncertainty, or -1: the column just after it, when that one's header
    // is u(NAME), ΔNAME, δNAME or ±, a unit allowed after it ("u(T) (s)").
    std::vector<int> uncertaintyColumns;

    // The uncertainty column of column k (from 0), or -1.
    int uncertaintyColumnOf(int column) const;
};

// The fields of a header line split at the delimiter, each trimmed of blanks
// and tabs; a field in double quotes is its content, a delimiter inside it
// included ("Position, x (m)" stays one field).
std::vector<std::string> headerFields(std::string_view line, char delimiter);

ColumnHeads readColumnHeads(const std::vector<std::string>& fields);

// The unit a header field writes after its name: "s" for "t (s)", "m" for
// "L [m]"; empty without one.
std::string unitOfHeader(std::string_view field);
