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

// How the box text is taken from the file: --decimal-comma answers the
// window's decimal-comma question Yes; --delimiter auto takes the delimiter
// the file's lines use (the window's question about it answered Yes).
struct BatchInputChoice {
    bool decimalComma = false;
    bool automaticDelimiter = false;
};

// The box text from FILE, or from `input` when there is no FILE or it is "-",
// with the delimiter in force, as the window opens a file.
DataFileText readBatchInput(const std::optional<std::string>& file, std::istream& input,
                            const BatchInputChoice& choice, char& delimiter);

// A usage error: the explanation, then the usage lines.
BatchResult usageFailure(const std::string& explanation);
