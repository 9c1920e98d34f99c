#pragma once

#include "data/user_interface.h"

#include <initializer_list>
#include <string>

inline constexpr const char* lineBreak = "\r\n";

// Shown instead of output when a computed value does not fit in a double.
inline constexpr const char* tooLargeMessage =
    "a result is too large to be computed; please check the data for a typo";

// True when every value is a finite number.
bool allFinite(std::initializer_list<double> values);

// Puts the piece after the box text, in one replacement that brings the
// start of the piece into view.
void appendToBox(UserInterface& ui, const std::string& piece);

// True when the answer is 1; the commands that ask whether the data is in the
// proper form go on only then.
bool confirmsDataFormat(const std::string& answer);
