#pragma once

#include <string>

// A computed number as plain decimal text with at most four significant
// digits and never an exponent: "0" for zero, otherwise "-" or one blank
// followed by the digits (" 3.142", " 12350", " 0.0000001500").
// An infinite value gives " inf" or "-inf", a NaN " nan".
std::string decimalNumber(double x);

// The run of zeros that writes a number of 10000 and more out to its units
// place: magnitude - 3 zeros, none for a magnitude of 3 or less.
std::string additionalZeros(int magnitude);
