#pragma once

#include "data/data_file.h"
#include "session/session.h"

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

// How the box text is taken from the file: --decimal-comma and
// --no-decimal-comma answer the window's decimal-comma question Yes and No;
// --delimiter auto takes the delimiter the file's lines use (the window's
// question about it answered Yes; without it, No).
struct BatchInputChoice {
    std::optional<bool> decimalComma;
    bool automaticDelimiter = false;
    bool delimiterGiven = false; // --delimiter: it wins over a session's
};

// The box text from FILE, or from `input` when there is no FILE or it is "-",
// with the delimiter in force, as the window opens a file. A session file
// gives its box as it is and its delimiter (unless --delimiter names one),
// and its choices.
struct BatchInput {
    DataFileText box;               // refused: a usage error
    std::vector<std::string> notes; // what the window would say after opening it
    std::optional<Session> session; // when the file is one
    // The window's question that no option answers: the run ends without
    // output, the message naming the question and the options.
    std::string unanswered;
};
BatchInput readBatchInput(const std::optional<std::string>& file, std::istream& input,
                          const BatchInputChoice& choice, char& delimiter);

// The batch's words for what the window's messages name: the options, never
// the buttons ("Change Delimiter" is --delimiter).
std::string inBatchWords(const std::string& message);

// The end of a run the input's question stopped, or whose input was refused;
// nothing when the box text can be used.
std::optional<BatchResult> inputFailure(const BatchInput& input);

// The command a command line names: its first word that is no option nor an
// option's value ("fit", "record"); empty without one.
std::string commandOf(const std::vector<std::string>& arguments);

// A usage error: the explanation, then the usage lines.
BatchResult usageFailure(const std::string& explanation);
