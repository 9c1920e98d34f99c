#pragma once

#include <optional>
#include <string_view>

// Reads the number a piece of data begins with. Blanks, tabs and line feeds
// are ignored wherever they stand ("1 2" is 12). Then an optional sign,
// digits, an optional point and digits, an optional exponent ("E" or "e",
// optional sign, digits); reading stops at the first character that does not
// fit ("12abc" is 12, "1,5" is 1, "1.2.3" is 1.2). "D" is not an exponent.
// "&H" and "&O" begin a whole number in hexadecimal or octal digits, read as
// an unsigned 64-bit value: reading stops at the first character that is not
// a digit of the base, or at a digit that would go past 2^64 - 1.
// Text that does not begin with a number gives 0, and so does a number too
// large for a double ("1e999"); one too small becomes 0 as well.
double readNumber(std::string_view text);

// Reads a typed answer as a number: the whole answer, blanks and tabs around
// it allowed, with an optional sign, point and exponent. Anything else (empty
// text, letters, blanks inside, a number too large for a double) is not a
// number and gives nothing.
std::optional<double> readAnswer(std::string_view answer);

// True when the answer reads as exactly this number.
bool answerIs(std::string_view answer, double number);
