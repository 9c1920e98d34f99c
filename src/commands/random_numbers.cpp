#include "commands/random_numbers.h"

#include "commands/command_text.h"
#include "data/number_reading.h"
#include "format/decimal_number.h"

#include <bit>
#include <chrono>
#include <cmath>
#include <ctime>
#include <optional>
#include <random>

namespace {

constexpr const char* lowestPrompt = "lowest number in desired range?";
constexpr const char* highestPrompt = "highest number in desired range?";
constexpr const char* countPrompt = "how many numbers do you want to generate?";
constexpr const char* doneMessage = "should be done done";
constexpr const char* notNumbersMessage =
    "please answer each question with a number: the lowest number, the highest number and "
    "how many numbers to generate";
constexpr double maxCount = 100000;
constexpr const char* tooManyMessage = "at most 100000 numbers can be generated at once";

// A single-precision number in [0, 1): 24 random bits over 2^24, which is
// exact in a float and never reaches 1.
float drawUnit(std::mt19937& engine)
{
    return static_cast<float>(engine() >> 8) * (1.0f / 16777216.0f);
}

} // namespace

std::uint32_t timeOfDaySeed()
{
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t whole = system_clock::to_time_t(now);
    const std::tm local = *std::localtime(&whole);
    const double fraction = duration<double>(now - system_clock::from_time_t(whole)).count();
    const float seconds =
        static_cast<float>(local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec + fraction);
    return std::bit_cast<std::uint32_t>(seconds);
}

void generateRandomNumbers(CommandContext& context, const std::function<std::uint32_t()>& seed)
{
    const std::optional<double> lowest = readAnswer(context.ui.askText(lowestPrompt));
    const std::optional<double> highest = readAnswer(context.ui.askText(highestPrompt));
    const std::optional<double> count = readAnswer(context.ui.askText(countPrompt));
    if (!lowest || !highest || !count) {
        context.ui.showMessage(notNumbersMessage);
        return;
    }
    if (*count > maxCount) {
        context.ui.showMessage(tooManyMessage);
        return;
    }
    if (*count < 1) {
        context.ui.showMessage(doneMessage); // nothing to make, whatever the range
        return;
    }
    const double width = *highest - *lowest;
    if (!allFinite({width})) {
        context.ui.showMessage(tooLargeMessage);
        return;
    }

    std::mt19937 engine(seed());
    std::string piece;
    for (int i = 1; i <= *count; ++i) {
        const double value = *lowest + width * drawUnit(engine);
        piece += lineBreak + decimalNumber(value);
    }
    appendToBox(context.ui, piece);
    context.ui.showMessage(doneMessage);
}
