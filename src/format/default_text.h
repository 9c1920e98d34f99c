#pragma once

#include <string>

// The default text of a number: "-" or one blank, then the value rounded to
// 15 significant digits without trailing zeros. Plain decimal from 1E-4 up to
// below 1E15 with no digit before the point below 1 (" .5"); exponent form
// outside that range (" 1.5E-07", " 1E+15"). The point is always ".".
// Zero, negative zero included, is " 0".
std::string defaultNumberText(double x);
