#pragma once

#include "fit/model.h"

#include <string>
#include <vector>

// The unit of each parameter of a built-in model, from the units of x and y
// ("s" and "°C" for the headers "t (s)" and "T (°C)"): a straight line's m
// in y/x and b in y; proportional A in y/x; a polynomial's aₖ in y/xᵏ;
// exponentials A (and C) in y and B in 1/x; logarithm A and B in y; sine A
// and D in y, B in rad/x, C in rad; Gaussian A and D in y, B and C in x.
// The power law's A (in y per x^B, B found by the fit) and B (a pure number)
// have none, nor do the own equation's parameters. A unit holding "/" or a
// blank is put in parentheses where it is divided by or raised to a power
// ("N/(m/s)"). Empty units throughout when neither x nor y has one.
std::vector<std::string> parameterUnits(const ModelChoice& model, const std::string& xUnit,
                                        const std::string& yUnit);
