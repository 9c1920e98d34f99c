#pragma once

#include <istream>
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
