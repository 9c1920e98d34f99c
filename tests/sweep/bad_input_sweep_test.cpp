// Runs every command on thousands of generated box texts and answers, the
// kind a student produces by pasting the wrong thing or mistyping, and checks
// what must hold whatever the input: a refusal leaves the box as it was, no
// computed number is written as "nan" or "inf", the working state stays
// within its bounds, and a note of text read as 0 names only a line or field
// that holds no number, quoting it as it stands.

#include "commands/change_delimiter.h"
#include "commands/clear_box.h"
#include "commands/difference_quotient.h"
#include "commands/experiment_calculations.h"
#include "commands/first_difference.h"
#include "commands/mean_std_dev.h"
#include "commands/random_numbers.h"
#include "commands/rows_to_columns.h"
#include "commands/running_sum.h"
#include "commands/save_output.h"
#include "commands/select_column.h"
#include "data/fields.h"

#include "scripted_ui.h"

#include <algorithm>
#include <iostream>
#include <random>
#include <regex>
#include <set>

namespace {

// Answers in turn from a list, then Cancel's empty text; never complains.
class SweepUserInterface : public UserInterface {
public:
    std::string box;
    std::vector<std::string> answers;
    std::size_t nextAnswer = 0;
    std::vector<std::string> messages;

    std::string readBox() const override { return box; }
    void replaceBox(const std::string& text, std::size_t) override { box = text; }
    void showMessage(const std::string& prompt) override { messages.push_back(prompt); }
    std::string askText(const std::string&, const std::string&) override
    {
        return nextAnswer < answers.size() ? answers[nextAnswer++] : "";
    }
};

// Messages that come with a completed command rather than a refusal.
const std::set<std::string> informationalMessages = {
    "running sums are displayed in the text box; note: option to display original numbers "
    "with differences, save as comma-delimited file, etc.",
    "should be done done",
    "first column difference is 0; cannot divide by 0",
    "Delimiter is presently the comma.",
    "delimiter is presently the tab character",
    "delimiter is presently the semicolon",
    "delimiter is present the space character",
    "delimiter has not been changed",
    "there is no data in the textbox",
};

const struct {
    const char* name;
    void (*run)(CommandContext&);
} commands[] = {
    {"clear box", clearBox},
    {"first difference", firstDifference},
    {"running sum", runningSum},
    {"difference quotient", differenceQuotient},
    {"select column", selectColumn},
    {"rows to columns", rowsToColumns},
    {"mean and standard deviation", meanAndStandardDeviation},
    {"random numbers", [](CommandContext& c) { generateRandomNumbers(c, [] { return 7u; }); }},
    {"change delimiter", changeDelimiter},
    {"save", [](CommandContext& c) { outputAsDelimitedFile(c); }},
    {"experiment", experimentCalculations},
};

const std::pair<char, const char*> delimiters[] = {
    {',', "comma"}, {'\t', "tab"}, {';', "semicolon"}, {' ', "space"}};

class InputGenerator {
public:
    explicit InputGenerator(unsigned seed) : engine_(seed) {}

    std::string field()
    {
        static const std::vector<std::string> tokens = {
            "",    " ",      "abc",    "x",     "Länge",    "µm",    "\xff\xfe",
            "e",   "E5",     "1D2",    ".",     "-",        "-.5",   ".5",
            "-0",  "&HFF",   "&O777",  "1e308", "-1e308",   "1e999", "1e-320",
            "1,5", "  12  ", "0.0001", "99999", "-123.456", "1 2",   "+3"};
        if (pick(3) == 0)
            return tokens[pick(tokens.size())];
        std::uniform_real_distribution<double> value(-1000, 1000);
        return std::to_string(value(engine_));
    }

    std::string line(int fields)
    {
        const char delimiter = delimiters[pick(4)].first;
        std::string text;
        for (int k = 0; k < fields; ++k) {
            if (k > 0)
                text += delimiter;
            text += field();
        }
        return text;
    }

    std::string box(int caseNumber)
    {
        switch (caseNumber % 40) {
        case 0:
            return "";
        case 1:
            return "   \r\n\t\r\n";
        case 2:
            return lines(1000, 1, "\r\n");
        case 3:
            return lines(1001, 1, "\r\n");
        case 4:
            return lines(100, 2, "\r\n");
        case 5:
            return lines(101, 2, "\r\n");
        case 6:
            return lines(3, 100, "\r\n");
        case 7:
            return lines(3, 101, "\r\n");
        case 8:
        case 9:
            return extremes(2 + pick(40));
        default:
            break;
        }
        static const char* breaks[] = {"\r\n", "\r", "\n", "\r\n\r\n", "\n\r"};
        return lines(1 + pick(12), 1 + pick(4), breaks[pick(5)]);
    }

    std::vector<std::string> answers()
    {
        static const std::vector<std::string> pool = {
            "",       "1",      "2",     "3",      "4",     "0",   "-1",  "2.5",
            "10",     "11",     "1e308", "-1e308", "1e999", "abc", " 1 ", std::string(5000, '1'),
            "100000", "100001", "0.5",   "1e-320", "-0"};
        std::vector<std::string> result;
        for (int i = 0; i < 5; ++i)
            result.push_back(pool[pick(pool.size())]);
        return result;
    }

    std::size_t pick(std::size_t count)
    {
        return std::uniform_int_distribution<std::size_t>(0, count - 1)(engine_);
    }

private:
    // Numbers at the edge of a double, whose sums, differences and quotients overflow.
    std::string extremes(int count)
    {
        static const char* tokens[] = {"1e308", "-1e308", "9e307", "1e-300", "0", "1e-320"};
        std::string text;
        for (int i = 0; i < count; ++i)
            text +=
                std::string(tokens[pick(6)]) + delimiters[pick(4)].first + tokens[pick(6)] + "\r\n";
        return text;
    }

    std::string lines(int count, int fields, const char* lineBreak)
    {
        std::string text;
        for (int i = 0; i < count; ++i)
            text += line(fields) + lineBreak;
        return text;
    }

    std::mt19937 engine_;
};

std::string lowered(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// A note of text read as 0 or a delimiter hint: it follows a command that went ahead.
bool isReadingNote(const std::string& message)
{
    return message.find("read as 0") != std::string::npos ||
           message.starts_with("no line contains the delimiter in force");
}

// The line or field a note of text read as 0 names must hold no number, and
// the note must quote it as it stands.
void expectNoteNamesTextWithoutNumber(const std::string& message, const WorkingState& state)
{
    static const std::regex note(
        R"re(^(?:\d+ (?:lines|fields) hold no number and were read as 0; the first is )?)re"
        R"re(line (\d+)(?:, field (\d+))?(?: holds no number and was read as 0)?: "([^]*)"$)re");
    std::smatch match;
    if (message.find("read as 0") == std::string::npos)
        return;
    ASSERT_TRUE(std::regex_search(message, match, note)) << message;
    const int line = std::stoi(match[1]);
    ASSERT_GE(line, 1);
    ASSERT_LE(line, state.lineCount);
    std::string text = state.textLines[line];
    if (match[2].matched)
        forEachField(state.textLines[line], state.delimiter, [&](int k, std::string_view field) {
            if (k == std::stoi(match[2]))
                text = field;
        });
    EXPECT_FALSE(leadingNumber(text).has_value()) << message;
    std::string quoted = match[3];
    if (quoted.ends_with("..."))
        quoted.resize(quoted.size() - 3);
    EXPECT_TRUE(text.starts_with(quoted)) << message;
}

bool mentionsNonFinite(const std::string& text)
{
    const std::string low = lowered(text);
    return low.find("nan") != std::string::npos || low.find("inf") != std::string::npos;
}

void expectWithinBounds(const WorkingState& state)
{
    ASSERT_GE(state.lineCount, 0);
    ASSERT_LE(state.lineCount, maxLines);
    for (const int count : state.fieldCounts) {
        ASSERT_GE(count, 0);
        ASSERT_LE(count, maxTableColumns);
    }
    bool known = false;
    for (const auto& [character, name] : delimiters)
        known = known || (state.delimiter == character && state.delimiterName == name);
    ASSERT_TRUE(known);
}

TEST(BadInputSweep, EveryCommandEitherCompletesSoundlyOrRefusesWithTheBoxUnchanged)
{
    TemporaryDirectory directory;
    InputGenerator generate(4242);
    auto state = std::make_unique<WorkingState>();
    int cases = 0, refusals = 0;

    for (int caseNumber = 0; caseNumber < 3000; ++caseNumber) {
        SweepUserInterface ui;
        ui.box = generate.box(caseNumber);
        ui.answers = generate.answers();
        const auto& [character, name] = delimiters[generate.pick(4)];
        state->delimiter = character;
        state->delimiterName = name;
        CommandContext context{ui, *state, directory.path()};

        const auto& command = commands[caseNumber % std::size(commands)];
        const std::string before = ui.box;
        command.run(context);
        ++cases;

        SCOPED_TRACE(std::string(command.name) + ", case " + std::to_string(caseNumber));
        const bool refused = std::any_of(ui.messages.begin(), ui.messages.end(), [](auto& m) {
            return !informationalMessages.count(m) && !isReadingNote(m);
        });
        for (const std::string& message : ui.messages)
            expectNoteNamesTextWithoutNumber(message, *state);
        if (refused) {
            ++refusals;
            ASSERT_EQ(ui.box, before) << ui.messages.back();
        }
        std::string typed = before;
        for (const std::string& answer : ui.answers)
            typed += answer;
        if (!mentionsNonFinite(typed)) {
            ASSERT_FALSE(mentionsNonFinite(ui.box)) << ui.box.substr(0, 2000);
        }
        expectWithinBounds(*state);
    }
    std::cout << "sweep: " << cases << " cases, " << refusals << " refusals\n";
    EXPECT_GT(refusals, 0);
    EXPECT_LT(refusals, cases);
}

} // namespace
