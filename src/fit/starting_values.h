#pragma once

#include "fit/builtin_models.h"
#include "fit/point.h"

#include <vector>

// Starting values for a built-in nonlinear model, found from the data alone
// (in the model's shifted variable), close enough for the solver to reach
// the least-squares minimum on data that follow the model:
// - exponential and power: a straight line through ln |y| against t or ln x;
// - exponential with offset: for each rate B of a range of rates the best A
//   and C (they enter linearly), keeping the B with the least squares;
// - sine: the period from the crossings of the mean, refined like the rate,
//   amplitude and phase from the sine and cosine parts;
// - Gaussian: centre and height from the peak, width from the half height.
std::vector<double> startingValues(const NonlinearModel& model, const std::vector<Point>& points);
