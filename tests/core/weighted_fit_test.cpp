// Fits weighted by the measurements' uncertainties, against references
// worked out independently of the fitting code.
#include "fit/chi_squared.h"
#include "fit/curve_fit.h"
#include "fit/fit_text.h"
#include "nist_dataset.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>

namespace {

ModelChoice modelOf(ModelKind kind, int degree = 2)
{
    ModelChoice model;
    model.kind = kind;
    model.degree = degree;
    return model;
}

TEST(WeightedFits, StraightLineMatchesTheClosedFormWeightedSums)
{
    const std::vector<Point> points = {{1, 2.1}, {2, 3.9}, {3, 6.3}, {4, 7.8}, {5, 10.4}};
    const std::vector<double> u = {0.1, 0.2, 0.1, 0.4, 0.3};
    // S = Σw, Sx = Σwx, ..., Δ = S Sxx - Sx²; m = (S Sxy - Sx Sy)/Δ,
    // b = (Sxx Sy - Sx Sxy)/Δ, u(m)² = S/Δ, u(b)² = Sxx/Δ.
    double s = 0, sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const double w = 1 / (u[i] * u[i]);
        s += w;
        sx += w * points[i].x;
        sy += w * points[i].y;
        sxx += w * points[i].x * points[i].x;
        sxy += w * points[i].x * points[i].y;
    }
    const double delta = s * sxx - sx * sx;
    const double m = (s * sxy - sx * sy) / delta, b = (sxx * sy - sx * sxy) / delta;
    double chiSquared = 0;
    for (std::size_t i = 0; i < points.size(); ++i)
        chiSquared += std::pow((points[i].y - m * points[i].x - b) / u[i], 2);

    const CurveFit fit = fitCurve(points, modelOf(ModelKind::Line), {{}, u});
    ASSERT_TRUE(fit.fitted() && fit.weighted) << fit.failure;
    EXPECT_NEAR(fit.values[0], m, 1e-12);
    EXPECT_NEAR(fit.values[1], b, 1e-12);
    EXPECT_NEAR(fit.uncertainties[0], std::sqrt(s / delta), 1e-12);
    EXPECT_NEAR(fit.uncertainties[1], std::sqrt(sxx / delta), 1e-12);
    EXPECT_NEAR(*fit.chiSquared, chiSquared, 1e-10);
    EXPECT_NEAR(*fit.pValue, chiSquaredProbability(chiSquared, 3), 1e-12);
}

struct CertifiedSet {
    const char* file;
    ModelKind kind;
};

// With every u(y) = 1 the parameters are the certified ones, and their
// uncertainties the certified ones divided by √(reduced χ²).
TEST(WeightedFits, UnitUncertaintiesGiveTheCertifiedValues)
{
    for (const CertifiedSet set : {CertifiedSet{"nist/Pontius.dat", ModelKind::Quadratic},
                                   CertifiedSet{"nist/Misra1a.dat", ModelKind::OwnEquation}}) {
        const NistDataset data =
            readNistDataset(std::string(BENCHTABLER_TEST_DATA) + "/" + set.file);
        ModelChoice model = modelOf(set.kind);
        model.equation = data.model;
        for (const CertifiedParameter& p : data.parameters)
            if (!p.starts.empty())
                model.starts[p.name] = p.starts[0];
        const CurveFit fit =
            fitCurve(data.points, model, {{}, std::vector<double>(data.points.size(), 1.0)});
        ASSERT_TRUE(fit.fitted() && fit.weighted) << fit.failure;
        const double reduced = *fit.chiSquared / fit.degreesOfFreedom;
        EXPECT_NEAR(*fit.chiSquared, data.residualSumOfSquares, 1e-6 * data.residualSumOfSquares);
        for (std::size_t k = 0; k < data.parameters.size(); ++k) {
            const CertifiedParameter& p = data.parameters[k];
            EXPECT_NEAR(fit.values[k], p.value, 1e-6 * std::fabs(p.value)) << p.name;
            EXPECT_NEAR(fit.uncertainties[k], p.standardDeviation / std::sqrt(reduced),
                        1e-4 * p.standardDeviation / std::sqrt(reduced))
                << p.name;
        }
    }
}

TEST(WeightedFits, NorrisLineWithUnitUncertainties)
{
    std::ifstream file(std::string(BENCHTABLER_TEST_DATA) + "/straight_line_norris.csv");
    std::string line;
    std::getline(file, line); // the header
    std::vector<Point> points;
    while (std::getline(file, line)) {
        std::istringstream fields(line);
        double x = 0, y = 0;
        char comma = 0;
        if (fields >> x >> comma >> y)
            points.push_back({x, y});
    }
    const CurveFit fit =
        fitCurve(points, modelOf(ModelKind::Line), {{}, std::vector<double>(points.size(), 1.0)});
    ASSERT_TRUE(fit.fitted());
    const double root = std::sqrt(*fit.chiSquared / fit.degreesOfFreedom); // 0.884796396144373
    EXPECT_NEAR(root, 0.884796396144373, 1e-12);
    EXPECT_NEAR(fit.values[0], 1.00211681802045, 1e-12);
    EXPECT_NEAR(fit.uncertainties[0], 0.429796848199937E-03 / root, 1e-15);
    EXPECT_NEAR(fit.uncertainties[1], 0.232818234301152 / root, 1e-12);
}

TEST(WeightedFits, ChiSquaredProbabilityMatchesPublishedTables)
{
    // Upper tail points of the χ² distribution, as printed in statistics tables.
    const struct {
        double chiSquared;
        int degreesOfFreedom;
        double probability;
    } table[] = {{3.841, 1, 0.05},  {6.635, 1, 0.01},   {18.307, 10, 0.05},
                 {2.558, 10, 0.99}, {31.410, 20, 0.05}, {10.851, 20, 0.95}};
    for (const auto& row : table)
        EXPECT_NEAR(chiSquaredProbability(row.chiSquared, row.degreesOfFreedom), row.probability,
                    5e-5)
            << row.chiSquared << " " << row.degreesOfFreedom;
}

// On a straight line u(x) alone weighs every point alike by |m| u(x): the
// parameters are the unweighted ones and χ² is SSE / (m u(x))², whatever the
// first pass's weights were.
TEST(WeightedFits, EffectiveVarianceOfAStraightLine)
{
    const std::vector<Point> points = {{0, 0.1}, {1, 1.9}, {2, 4.2}, {3, 5.8}, {4, 8.1}};
    const CurveFit plain = fitCurve(points, modelOf(ModelKind::Line));
    const double ux = 0.05, uy = 0.1;
    const CurveFit withX =
        fitCurve(points, modelOf(ModelKind::Line), {std::vector<double>(5, ux), {}});
    ASSERT_TRUE(withX.fitted() && withX.weighted);
    EXPECT_NEAR(withX.values[0], plain.values[0], 1e-12);
    EXPECT_NEAR(withX.values[1], plain.values[1], 1e-10);
    const double m = plain.values[0];
    EXPECT_NEAR(*withX.chiSquared, plain.residualSumOfSquares / (m * m * ux * ux), 1e-6);
    const CurveFit both = fitCurve(points, modelOf(ModelKind::Line),
                                   {std::vector<double>(5, ux), std::vector<double>(5, uy)});
    EXPECT_NEAR(*both.chiSquared, plain.residualSumOfSquares / (uy * uy + m * m * ux * ux), 1e-6);
}

TEST(WeightedFits, SayWhatChiSquaredMeansOrWhyTheyAreUnweighted)
{
    const std::vector<Point> points = {{1, 2.1}, {2, 3.9}, {3, 6.3}, {4, 7.8}, {5, 10.4}};
    const std::string tight =
        describeFit(fitCurve(points, modelOf(ModelKind::Line), {{}, std::vector<double>(5, 0.01)}));
    EXPECT_NE(tight.find("χ² = "), std::string::npos) << tight;
    EXPECT_NE(tight.find(" for 3 degrees of freedom (reduced χ² = "), std::string::npos);
    EXPECT_NE(tight.find("\nP = "), std::string::npos);
    EXPECT_NE(tight.find("the data scatter more than their uncertainties allow: the model or the "
                         "uncertainties may be wrong"),
              std::string::npos);
    EXPECT_TRUE(tight.ends_with("\n± from the given uncertainties")) << tight;
    const std::string loose =
        describeFit(fitCurve(points, modelOf(ModelKind::Line), {{}, std::vector<double>(5, 10)}));
    EXPECT_NE(loose.find("the data scatter less than their uncertainties suggest: the "
                         "uncertainties may be too large"),
              std::string::npos);
    const CurveFit zero = fitCurve(points, modelOf(ModelKind::Line), {{}, {0.1, 0, 0.1, NAN, 0.1}});
    EXPECT_FALSE(zero.weighted);
    EXPECT_EQ(zero.weightingNote, "2 points have a total uncertainty of 0 and cannot be weighted; "
                                  "the fit is unweighted");
    EXPECT_NE(describeFit(zero).find(zero.weightingNote), std::string::npos);
}

} // namespace
