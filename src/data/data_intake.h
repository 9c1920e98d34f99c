#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Text that comes into the box from outside: a data file opened, lines
// pasted, a file given to the batch. The same questions are asked of each,
// in the same order, about that text only: first the delimiter its lines
// use, then its decimal commas; fields in double quotes are read as their
// content.

enum class IntakeSource { File, Paste };

enum class IntakeQuestion { Delimiter, DecimalComma };

// Answers a question with Yes (true) or No (false); nothing when it cannot
// be answered (the batch without the option for it).
using IntakeAsker =
    std::function<std::optional<bool>(IntakeQuestion kind, const std::string& question)>;

struct TakenIn {
    std::string text;              // for the box
    std::optional<char> delimiter; // the delimiter to put in force: the answer was Yes
    std::vector<std::string> notes;
    // The question nothing answered; the text is then not to be used.
    std::string unanswered;
};

// `text` with CR LF line breaks; `inForce` the delimiter in force.
TakenIn takeIn(std::string_view text, char inForce, IntakeSource source, const IntakeAsker& ask);

// "This file writes decimals with a comma (0,1). Change them to points (0.1)
// so that the commands can read them?", or the same of the pasted lines.
std::string decimalCommaQuestion(IntakeSource source);

// The delimiter question of data_file.h, or the same of the pasted lines.
std::string delimiterQuestion(char found, char inForce, IntakeSource source);

// Whether a pasted text brings lines enough to ask about: two or more
// non-empty lines.
bool asksAboutPaste(std::string_view text);
