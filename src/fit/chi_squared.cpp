#include "fit/chi_squared.h"

#include <gsl/gsl_cdf.h>
#include <gsl/gsl_errno.h>

double chiSquaredProbability(double chiSquared, int degreesOfFreedom)
{
    gsl_set_error_handler_off();
    return gsl_cdf_chisq_Q(chiSquared, static_cast<double>(degreesOfFreedom));
}
