#pragma once

#include "data/data_file.h"

#include <istream>
#include <optional>
#include <string>
#include <vector>

// What a run of benchtabler-batch gives: its exit status and what it wrote to
// standard output and standard error.
struct BatchResult {
    int exitStatus = 0;
    std::string out;
    std::string err;
};

// Exit statuses: the command wrote its output; it refused or ended without
// writing; the command line was wrong or the file could not be read.
inline constexpr int producedOutput = 0;
inline constexpr int noOutput = 1;
inline constexpr int usageError = 2;

// Runs one command of the program on a box text, as the window does, with the
// arguments after the program's name. The box text is FILE's, or `input`'s
// when FILE is absent or "-". Questions take the --answer texts in turn (none
// left: Cancel); messages go to standard error, one line each.
BatchResult runBatch(const std::vector<std::string>& arguments, std::istream& input);

// The delimiter a --delimiter NAME gives: comma, tab, semicolon or space.
std::optional<char> delimiterNamed(const std::string& name);

// The box text from FILE, or from `input` when there is no FILE or it is "-".
DataFileText readBatchInput(const std::optional<std::string>& file, std::istream& input);

// A usage error: the explanation, then the usage lines.
BatchResult usageFailure(const std::string& explanation);
