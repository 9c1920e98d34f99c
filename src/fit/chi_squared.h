#pragma once

// The probability that χ² with `degreesOfFreedom` degrees of freedom is at
// least `chiSquared` (GSL's upper tail).
double chiSquaredProbability(double chiSquared, int degreesOfFreedom);
