#pragma once

#include <string>
#include <string_view>
#include <vector>

// A spreadsheet names each sheet in at most 31 characters, without any of
// []:*?/\ and not beginning or ending with an apostrophe; no two sheets of a
// workbook share a name, capitals or not. The names of one workbook's sheets
// as they are handed out.
class SheetNames {
public:
    // The name as a sheet may carry it: each forbidden character becomes
    // "_", apostrophes at its ends go, it is cut to 31 characters (never
    // inside a character of several bytes); "data" when nothing is left.
    static std::string valid(std::string_view wanted);

    // The valid name, made unique among those handed out before by " (2)",
    // " (3)"... at its end (the name cut to make room), and kept as taken.
    std::string unique(std::string_view wanted);

private:
    bool taken(std::string_view name) const;

    std::vector<std::string> taken_; // in capitals, for comparing
};

// The most characters a sheet's name has.
inline constexpr std::size_t longestSheetName = 31;
