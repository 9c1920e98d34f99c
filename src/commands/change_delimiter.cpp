#include "commands/change_delimiter.h"

#include "data/number_reading.h"

namespace {

struct DelimiterChoice {
    char delimiter;
    const char* name;
    const char* presentMessage; // worded as it always has been: teachers know these
};

const DelimiterChoice choices[] = {
    {',', "comma", "Delimiter is presently the comma."},
    {'\t', "tab", "delimiter is presently the tab character"},
    {';', "semicolon", "delimiter is presently the semicolon"},
    {' ', "space", "delimiter is present the space character"},
};

constexpr const char* prompt = "Your choice:  1. Comma  2. Tab  3. Semicolon  4. Space";
constexpr const char* unchangedMessage = "delimiter has not been changed";

} // namespace

void changeDelimiter(CommandContext& context)
{
    WorkingState& state = context.state;
    for (const DelimiterChoice& choice : choices)
        if (choice.delimiter == state.delimiter)
            context.ui.showMessage(choice.presentMessage);

    const std::string answer = context.ui.askText(prompt);
    for (int number = 1; number <= 4; ++number) {
        if (answerIs(answer, number)) {
            setDelimiter(state, choices[number - 1].delimiter);
            return;
        }
    }
    context.ui.showMessage(unchangedMessage);
}

void setDelimiter(WorkingState& state, char delimiter)
{
    for (const DelimiterChoice& choice : choices)
        if (choice.delimiter == delimiter) {
            state.delimiter = choice.delimiter;
            state.delimiterName = choice.name;
        }
}
