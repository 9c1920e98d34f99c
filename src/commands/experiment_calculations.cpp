#include "commands/experiment_calculations.h"

#include "commands/command_text.h"
#include "data/number_reading.h"
#include "format/decimal_number.h"
#include "format/default_text.h"

#include <cmath>
#include <optional>

namespace {

constexpr const char* menuPrompt =
    "1. Ball and Ramp Projectile Experiment\r\n2. Uniformity of Acceleration on a Ramp";
constexpr const char* notANumberMessage = "please answer each question with a number";
constexpr const char* noLaunchSpeedMessage =
    "no launch speed fits these values: the height of drop must be greater than the horizontal "
    "range times the slope of the ramp";
constexpr const char* noAccelerationMessage =
    "no acceleration can be computed from these values; please check them for a typo";
constexpr const char* invalidRollMessage = "You entered an invalid final velocity or an invalid "
                                           "distance.  You'll have to start this routine again.";

// Units are centimetres and seconds.
constexpr double halfGravity = 490;
constexpr double risePerDomino = 0.9;
constexpr double rampRun = 20;
constexpr double dominoesBelowTheRamp = 1; // the first domino does not raise the ramp

void projectileCalculator(CommandContext& context)
{
    const std::string yText = context.ui.askText("enter height of drop in cm (y_fall)");
    const std::string xText = context.ui.askText("enter horizontal range in cm (x_range)");
    const std::string dominoText = context.ui.askText("number of dominoes");
    const std::optional<double> y_fall = readAnswer(yText);
    const std::optional<double> x_range = readAnswer(xText);
    const std::optional<double> dominoes = readAnswer(dominoText);
    if (!y_fall || !x_range || !dominoes) {
        context.ui.showMessage(notANumberMessage);
        return;
    }

    const double slope = ((*dominoes - dominoesBelowTheRamp) * risePerDomino) / rampRun;
    const double cosine = 1 / std::pow(1 + slope * slope, 0.5);
    const double drop = *y_fall - *x_range * slope;
    const double velocity = std::pow((halfGravity * *x_range * *x_range) / drop, 0.5) / cosine;
    if (!(drop > 0) || !std::isfinite(velocity)) {
        context.ui.showMessage(noLaunchSpeedMessage);
        return;
    }
    appendToBox(context.ui, lineBreak + std::string("for drop height ") +
                                defaultNumberText(*y_fall) + " cm, horizontal range " +
                                defaultNumberText(*x_range) + " cm and " +
                                defaultNumberText(*dominoes) +
                                " dominoes in the stack, the velocity of the ball should be " +
                                decimalNumber(velocity) + " cm/s" + lineBreak);
}

void accelerationCalculator(CommandContext& context)
{
    const std::string dText = context.ui.askText("displacement of roll, in cm");
    const std::string vText = context.ui.askText("final velocity as reported previously, in cm/s");
    const std::optional<double> d = readAnswer(dText);
    const std::optional<double> v = readAnswer(vText);
    if (!d || !v) {
        context.ui.showMessage(notANumberMessage);
        return;
    }
    if (*d == 0 || *v == 0) {
        context.ui.showMessage(invalidRollMessage);
        return;
    }
    const double time = *d / (*v / 2); // from rest at the average velocity v/2
    const double acceleration = *v / time;
    if (!allFinite({time, acceleration}) || time == 0 || acceleration == 0) {
        context.ui.showMessage(noAccelerationMessage);
        return;
    }
    appendToBox(context.ui, "The acceleration corresponding to a roll from rest of " +
                                defaultNumberText(*d) +
                                " cm, which accelerates uniformly and ends up with velocity " +
                                decimalNumber(*v) + " cm/s, is " + decimalNumber(acceleration) +
                                " cm/s^2." + lineBreak);
}

} // namespace

void experimentCalculations(CommandContext& context)
{
    const std::string choice = context.ui.askText(menuPrompt);
    if (answerIs(choice, 1))
        projectileCalculator(context);
    else if (answerIs(choice, 2))
        accelerationCalculator(context);
}
