#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The default text of a number: "-" or one blank, then the value rounded to
// 15 significant digits without trailing zeros. Plain decimal from 1E-4 up to
// below 1E15 with no digit before the point below 1 (" .5"); exponent form
// outside that range (" 1.5E-07", " 1E+15"). The point is always ".".
// Zero, negative zero included, is " 0".
std::string defaultNumberText(double x);

// Appends the default text of x to out, for output built from many numbers.
void appendDefaultNumberText(std::string& out, double x);

// The default text of a positive finite value without its leading blank,
// held in place: the rendering cuts it character by character and would
// otherwise allocate for every number.
class UnsignedDefaultText {
public:
    explicit UnsignedDefaultText(double positive);
    std::string_view view() const { return {text_, length_}; }

private:
    char text_[32];
    std::size_t length_ = 0;
};
