#include "commands/mean_std_dev.h"

#include "commands/command_text.h"
#include "data/fields.h"
#include "data/read_as_zero.h"
#include "data/text_intake.h"
#include "format/decimal_number.h"

#include <cmath>

namespace {

constexpr const char* noDataMessage = "there is no data in the textbox";
// From this many numbers on the variance divides by n, below it by n - 1.
constexpr int smallSampleThreshold = 30;

struct Statistics {
    double count = 0;
    double sum = 0;
    double mean = 0;
    double meanDeviation = 0;
    double sumOfSquares = 0;
    double standardDeviation = 0;
};

Statistics computeStatistics(WorkingState& state)
{
    const int n = state.lineCount;
    Statistics s;
    s.count = n;
    readLineValues(state);
    for (int i = 1; i <= n; ++i)
        s.sum += state.columnValues[i].value();
    s.mean = s.sum / n;

    double sumOfDeviations = 0;
    for (int i = 1; i <= n; ++i) {
        const double deviation = std::fabs(s.mean - state.columnValues[i].value());
        state.deviations[i] = Cell::number(deviation);
        sumOfDeviations += deviation;
        s.sumOfSquares += deviation * deviation;
    }
    const double variance = s.sumOfSquares / (n < smallSampleThreshold ? n - 1 : n);
    s.meanDeviation = sumOfDeviations / n;
    s.standardDeviation = std::pow(variance, 0.5);
    return s;
}

bool fits(const Statistics& s, int n)
{
    return allFinite({s.sum, s.mean, s.meanDeviation, s.sumOfSquares}) &&
           (n == 1 || std::isfinite(s.standardDeviation));
}

std::string standardDeviationSentence(const Statistics& s, int n)
{
    const std::string squares = decimalNumber(s.sumOfSquares);
    const std::string count = decimalNumber(s.count);
    const std::string deviation = decimalNumber(s.standardDeviation);
    if (n == 1)
        return "The standard deviation needs at least two numbers.";
    if (n < smallSampleThreshold)
        return "The standard deviation is therefore sqrt(" + squares + "/(" + count +
               " - 1) ) = " + deviation + ".";
    return "The standard deviation is therefore sqrt(" + squares + "/" + count +
           ") = " + deviation + ".";
}

std::string report(const Statistics& s, int n)
{
    const std::string count = decimalNumber(s.count);
    const std::string sum = decimalNumber(s.sum);
    std::string text = lineBreak;
    text += lineBreak;
    text += "There are " + count + " numbers in your distribution." + lineBreak;
    text += "Their sum is " + sum + lineBreak;
    text += "Their mean is " + sum + "/" + count + " = " + decimalNumber(s.mean) + "." + lineBreak;
    text += "The (mean) average deviation from the mean is " + decimalNumber(s.meanDeviation) +
            "." + lineBreak;
    text +=
        "The sum of the squared deviations is " + decimalNumber(s.sumOfSquares) + "." + lineBreak;
    text += standardDeviationSentence(s, n) + lineBreak;
    return text;
}

} // namespace

void meanAndStandardDeviation(CommandContext& context)
{
    if (!readText(context))
        return;
    WorkingState& state = context.state;
    const int n = state.lineCount;
    if (n == 0) {
        context.ui.replaceBox("");
        context.ui.showMessage(noDataMessage);
        return;
    }

    const Statistics statistics = computeStatistics(state);
    if (!fits(statistics, n)) {
        context.ui.showMessage(tooLargeMessage);
        return;
    }
    std::string text;
    for (int i = 1; i <= n; ++i)
        text += state.textLines[i] + lineBreak;
    const std::size_t reportStart = text.size();
    context.ui.replaceBox(text + report(statistics, n), reportStart);
    reportLinesReadAsZero(context);
}
