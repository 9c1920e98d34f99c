// The fits against the certified values of the NIST Statistical Reference
// Datasets: the linear sets with the built-in models, the nonlinear sets as
// own equations from both certified starting points.
#include "fit/curve_fit.h"
#include "nist_dataset.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

std::string nistPath(const std::string& name)
{
    return std::string(BENCHTABLER_TEST_DATA) + "/nist/" + name + ".dat";
}

// At least `digits` correct significant digits: LRE = -log10(|x - c| / |c|).
void expectDigits(double value, double certified, int digits, const std::string& what)
{
    const double tolerance = std::fabs(certified) * std::pow(10.0, -digits);
    EXPECT_NEAR(value, certified, tolerance) << what;
}

void expectCertified(const CurveFit& fit, const NistDataset& set, int valueDigits,
                     int deviationDigits)
{
    ASSERT_TRUE(fit.fitted()) << fit.failure;
    ASSERT_EQ(fit.values.size(), set.parameters.size());
    ASSERT_EQ(fit.uncertainties.size(), set.parameters.size());
    for (std::size_t k = 0; k < set.parameters.size(); ++k) {
        expectDigits(fit.values[k], set.parameters[k].value, valueDigits, set.parameters[k].name);
        expectDigits(fit.uncertainties[k], set.parameters[k].standardDeviation, deviationDigits,
                     "u(" + set.parameters[k].name + ")");
    }
    expectDigits(fit.residualSumOfSquares, set.residualSumOfSquares, valueDigits, "SSE");
}

struct LinearSet {
    const char* name;
    ModelKind kind;
    int degree;
};

class LinearReference : public testing::TestWithParam<LinearSet> {};

TEST_P(LinearReference, GivesTheCertifiedValuesToSevenDigits)
{
    const NistDataset set = readNistDataset(nistPath(GetParam().name));
    ModelChoice model;
    model.kind = GetParam().kind;
    model.degree = GetParam().degree;
    expectCertified(fitCurve(set.points, model), set, 7, 7);
}

INSTANTIATE_TEST_SUITE_P(Nist, LinearReference,
                         testing::Values(LinearSet{"Pontius", ModelKind::Quadratic, 2},
                                         LinearSet{"NoInt1", ModelKind::Proportional, 0},
                                         LinearSet{"Filip", ModelKind::Polynomial, 10}),
                         [](const auto& info) { return std::string(info.param.name); });

struct NonlinearSet {
    const char* name;
    int start; // 0 or 1: NIST's Start 1 or Start 2
};

class NonlinearReference : public testing::TestWithParam<NonlinearSet> {};

TEST_P(NonlinearReference, GivesTheCertifiedValuesFromEitherStart)
{
    const NistDataset set = readNistDataset(nistPath(GetParam().name));
    ModelChoice model;
    model.kind = ModelKind::OwnEquation;
    model.equation = set.model;
    for (const CertifiedParameter& parameter : set.parameters)
        model.starts[parameter.name] = parameter.starts[static_cast<std::size_t>(GetParam().start)];
    expectCertified(fitCurve(set.points, model), set, 6, 4);
}

INSTANTIATE_TEST_SUITE_P(Nist, NonlinearReference,
                         testing::Values(NonlinearSet{"Misra1a", 0}, NonlinearSet{"Misra1a", 1},
                                         NonlinearSet{"Kirby2", 0}, NonlinearSet{"Kirby2", 1},
                                         NonlinearSet{"Thurber", 0}, NonlinearSet{"Thurber", 1},
                                         NonlinearSet{"MGH09", 0}, NonlinearSet{"MGH09", 1},
                                         NonlinearSet{"MGH10", 0}, NonlinearSet{"MGH10", 1},
                                         NonlinearSet{"Eckerle4", 0}, NonlinearSet{"Eckerle4", 1},
                                         NonlinearSet{"BoxBOD", 0}, NonlinearSet{"BoxBOD", 1},
                                         NonlinearSet{"Bennett5", 0}, NonlinearSet{"Bennett5", 1}),
                         [](const auto& info) {
                             return std::string(info.param.name) + "_start" +
                                    std::to_string(info.param.start + 1);
                         });

} // namespace
