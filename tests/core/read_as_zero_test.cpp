#include "commands/difference_quotient.h"
#include "commands/first_difference.h"
#include "commands/mean_std_dev.h"
#include "commands/random_numbers.h"
#include "commands/rows_to_columns.h"
#include "commands/running_sum.h"
#include "commands/select_column.h"
#include "data/fields.h"

#include "command_case.h"

#include <optional>

namespace {

struct Holding {
    const char* text;
    std::optional<double> number;
};

const Holding holdings[] = {
    {"12.5 cm", 12.5},
    {"t=0.5", 0.5},
    {"t=.5", 0.5},
    {"-.5", -0.5},
    {"0", 0},
    {"1e-999", 0},
    {"&HFF", 255},
    {"abc", std::nullopt},
    {"", std::nullopt},
    {"-", std::nullopt},
    {"Period T (s)", std::nullopt},
    {"1e999", std::nullopt},
    {"&H1FFFFFFFFFFFFFFFF", std::nullopt},
    {"&Hxyz", std::nullopt},
    // The zero put before a leading point is not the text's own digit.
    {".", std::nullopt},
    {"is 0.", std::nullopt},
};

class HoldsNumber : public testing::TestWithParam<Holding> {};

TEST_P(HoldsNumber, ReadsTheNumberOrNothing)
{
    EXPECT_EQ(leadingNumber(GetParam().text), GetParam().number) << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(Texts, HoldsNumber, testing::ValuesIn(holdings));

// Every command that reads the box, with what it then tells the student. The
// box output itself is checked by each command's own table.
struct Note {
    void (*command)(CommandContext&);
    CommandCase run;
};

const std::string fortyOneCharacters = "µ123456789012345678901234567890123456789X";

std::vector<std::string> messagesOf(const Note& note)
{
    TestBench bench(note.run.box, note.run.answers);
    bench.state->delimiter = note.run.delimiter;
    bench.state->delimiterName = note.run.delimiter == '\t' ? "tab" : "comma";
    note.command(bench.context);
    return bench.ui.messages;
}

const Note notes[] = {
    {firstDifference,
     {"start-up text under a paste",
      ',',
      "1\r\nEnter Data Here\r\n4",
      {"1"},
      "",
      {"line 2 holds no number and was read as 0: \"Enter Data Here\""}}},
    {runningSum,
     {"after the closing message",
      ',',
      "x\r\n2",
      {"1"},
      "",
      {"running sums are displayed in the text box; note: option to display original numbers "
       "with differences, save as comma-delimited file, etc.",
       "line 1 holds no number and was read as 0: \"x\""}}},
    {meanAndStandardDeviation,
     {"header line",
      ',',
      "Period T (s)\r\n1.5\r\n1.6",
      {},
      "",
      {"line 1 holds no number and was read as 0: \"Period T (s)\""}}},
    {meanAndStandardDeviation,
     {"long text cut after 40 characters",
      ',',
      "1\r\n" + fortyOneCharacters,
      {},
      "",
      {"line 2 holds no number and was read as 0: \"" + fortyOneCharacters.substr(0, 41) +
       "...\""}}},
    {firstDifference, {"numbers only", ',', "1\r\n.5\r\n-.5\r\n1e-999", {"1"}, "", {}}},
    {firstDifference, {"declined", ',', "abc", {"2"}, "", {}}},
    {differenceQuotient,
     {"fields one and two only",
      ',',
      "t,x,note\r\n1,2,a\r\n2,y",
      {"1"},
      "",
      {"3 fields hold no number and were read as 0; the first is line 1, field 1: \"t\""}}},
    {differenceQuotient,
     {"own message, then the note",
      ',',
      "1,5\r\n1,7\r\nx,1",
      {"1"},
      "",
      {"first column difference is 0; cannot divide by 0",
       "line 3, field 1 holds no number and was read as 0: \"x\""}}},
    {differenceQuotient,
     {"refused for want of a second number, with the hint",
      '\t',
      "1,5\r\n2,7",
      {"1"},
      "",
      {"line 1 has only one number; difference quotients need two numbers on every line",
       "no line contains the delimiter in force (tab); the lines seem to be separated by "
       "commas. Choose the delimiter with Change Delimiter and run the command again."}}},
    {selectColumn,
     {"only the chosen field of the lines that have it",
      ',',
      "a,1\r\nb,x\r\nc",
      {"2"},
      "",
      {"line 2, field 2 holds no number and was read as 0: \"x\""}}},
    {selectColumn,
     {"tabs while the comma is in force",
      ',',
      "1\t2\r\n3\t4\r\n5",
      {"1"},
      "",
      {"no line contains the delimiter in force (comma); the lines seem to be separated by tabs. "
       "Choose the delimiter with Change Delimiter and run the command again."}}},
    {rowsToColumns,
     {"a tie goes to the earlier delimiter",
      '\t',
      "1;2\r\n3,4",
      {},
      "",
      {"no line contains the delimiter in force (tab); the lines seem to be separated by "
       "semicolons. Choose the delimiter with Change Delimiter and run the command again."}}},
    {rowsToColumns,
     {"spaces in fewer than half the lines",
      ',',
      "a b\r\n1\r\n2",
      {},
      "",
      {"line 1, field 1 holds no number and was read as 0: \"a b\""}}},
    {rowsToColumns,
     {"every field",
      ',',
      "1,,x\r\n2",
      {},
      "",
      {"2 fields hold no number and were read as 0; the first is line 1, field 2: \"\""}}},
};

class ReadAsZeroNote : public testing::TestWithParam<Note> {};

TEST_P(ReadAsZeroNote, FollowsTheCommand)
{
    EXPECT_EQ(messagesOf(GetParam()), GetParam().run.expectedMessages);
}

INSTANTIATE_TEST_SUITE_P(Commands, ReadAsZeroNote, testing::ValuesIn(notes), [](const auto& info) {
    return caseName({info.param.run, info.index});
});

// Where each command leaves the box in view: the start of what it appended,
// or the top of what it wrote.
struct View {
    const char* name;
    void (*command)(CommandContext&);
    std::vector<std::string> answers;
    std::size_t shownFrom;
};

const View views[] = {
    {"first difference replaces", firstDifference, {"1"}, 0},
    {"rows to columns replaces", rowsToColumns, {}, 0},
    {"select column appends", selectColumn, {"1"}, 14},
    {"difference quotient appends", differenceQuotient, {"1"}, 14},
    {"report follows the lines without the empty ones", meanAndStandardDeviation, {}, 10},
    {"random numbers append",
     [](CommandContext& c) { generateRandomNumbers(c, [] { return 1u; }); },
     {"1", "2", "3"},
     14},
};

class BoxView : public testing::TestWithParam<View> {};

TEST_P(BoxView, ShowsWhatTheCommandWrote)
{
    TestBench bench("1,2\r\n\r\n3,4\r\n\r\n", GetParam().answers);
    GetParam().command(bench.context);
    EXPECT_EQ(bench.ui.shownFrom, GetParam().shownFrom);
}

INSTANTIATE_TEST_SUITE_P(Commands, BoxView, testing::ValuesIn(views),
                         [](const auto& info) { return std::to_string(info.index); });

} // namespace
