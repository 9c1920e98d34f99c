#pragma once

#include <string>

// Numbers as lab reports write them, for the graph window's fit text and the
// batch fit: plain decimals with a leading zero ("0.015", "-0.26"), rounded
// half away from zero. A number whose last shown digit lies beyond the sixth
// decimal, or that is 10⁶ or more in size, shares a power of ten written with
// superscript digits ("(2.310 ± 0.052) × 10⁻⁷", "1.234 × 10⁻⁸").

// A value and its standard uncertainty: the uncertainty rounded to two
// significant digits and the value to the same decimal place
// ("9.779 ± 0.015", "45600 ± 1200"). An uncertainty of 0, or one that is not
// finite, leaves the value at four significant digits ("3.000 ± 0"). An
// uncertainty at the level of the computation's own rounding is no
// measurement: the value alone, to the 12 significant digits a double keeps
// through a fit, without trailing zeros ("1.6 × 10⁻¹⁹"), never 19 digits.
std::string valueWithUncertainty(double value, double uncertainty);

// Whether an uncertainty lies at the level of the computation's rounding:
// below 10⁻¹² of its value.
bool withinComputationPrecision(double value, double uncertainty);

// " (exact within the precision of the computation)" for such an
// uncertainty, to follow the value and its unit; empty otherwise.
std::string precisionNote(double value, double uncertainty);

// A value and its uncertainty as fields of data in the box, for what comes
// next (a fit of the results): the uncertainty to two significant digits
// and the value to the same decimal place, plain decimals ("9.779",
// "0.015"), or E notation where they would need more than six decimals or
// reach 10⁶ ("1.600e-19", "0.013e-19"). Without a finite uncertainty, the
// value to 15 significant digits and the uncertainty empty.
struct BoxFields {
    std::string value;
    std::string uncertainty;
};
BoxFields boxFields(double value, double uncertainty);

// A value rounded to `digits` significant digits ("0.9120", "45600").
std::string significantValue(double value, int digits = 4);

// A number from the data or typed by the student, as plain decimals: the
// shortest that read back as the same double ("3.2", "36000", "0.0001").
std::string typedValue(double x);

// R² rounded to six decimals ("= 0.999994"), or "> 0.999999" when that
// would show 1.000000 for a value below 1: the relation and the number.
std::string rSquaredRelation(double rSquared);

// "200 000": a count with a blank between each three digits.
std::string groupedCount(std::size_t count);

// A whole number in superscript digits: "⁻¹⁹", "²".
std::string superscript(int power);
