#pragma once

#include <optional>
#include <string_view>

// Reads the number a piece of data begins with. Blanks, tabs and line feeds
// are ignored wherever they stand ("1 2" is 12). Then an optional sign,
// digits, an optional point and digits, an optional exponent ("E" or "e",
// optional sign, digits); reading stops at the first character that does not
// fit ("12abc" is 12, "1,5" is 1, "1.2.3" is 1.2). "D" is not an exponent.
// "&H" and "&O" begin a whole number in hexadecimal or octal digits, read as
// an unsigned 64-bit value up to the first character that is not a digit of
// the base.
// Text that does not begin with a number gives 0, and so does a number too
// large for a double ("1e999") or, after "&H" or "&O", for 64 bits; one too
// small becomes 0 as well.
double readNumber(std::string_view text);

// The same reading, giving nothing where readNumber gives 0 for want of a
// number: no digit read, or a number too large.
std::optional<double> readNumberIfAny(std::string_view text);

// The number a text is when it is nothing but a sign, digits and a point, at
// most 15 digits ("12.5", "-.25"), the way most data is written; nothing for
// any other text. Quicker than the full reading, and the same number.
std::optional<double> readPlainNumber(std::string_view text);

// Such a number at the start of a text, where what follows it cannot go on
// with the number (no digit, point, exponent or blank): its value and the
// characters it takes, or a length of 0 when the text starts otherwise.
struct PlainNumber {
    double value = 0;
    std::size_t length = 0;
};
PlainNumber readPlainNumberPrefix(std::string_view text);

// Reads a typed answer as a number: the whole answer, blanks and tabs around
// it allowed, with an optional sign, point and exponent. Anything else (empty
// text, letters, blanks inside, a number too large for a double) is not a
// number and gives nothing.
std::optional<double> readAnswer(std::string_view answer);

// True when the answer reads as exactly this number.
bool answerIs(std::string_view answer, double number);
