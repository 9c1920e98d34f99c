#pragma once

#include <functional>

// A derivative and the estimate of its error.
struct Derivative {
    double value = 0;
    double error = 0;
};

// f'(x) by Ridders' method: central differences at steps shrinking from
// about a tenth of `scale`, extrapolated to step 0 (Richardson), keeping the
// estimate whose error is least. Right to ten digits and more for the
// functions of the formula language wherever they are smooth near x; the
// steps shrink first where f gives no number at x ± step (ln x near 0).
// `scale` is a distance over which f may change much (a value's uncertainty,
// or its size). NaN when f gives no number on either side of x however
// small the step.
Derivative derivativeAt(const std::function<double(double)>& f, double x, double scale);
