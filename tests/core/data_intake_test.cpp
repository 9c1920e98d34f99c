// Text that comes into the box from a file, a paste or the batch: its
// questions, their order and what the answers do, and quoted fields.
#include "data/data_intake.h"
#include "data/quoted_fields.h"

#include <gtest/gtest.h>

namespace {

struct Unquoting {
    const char* text;
    char delimiter;
    const char* expected;
    int unquoted;
    int kept;
};

const Unquoting unquotings[] = {
    {"\"t\",\"x\"\r\n\"0\",\"1.5\"", ',', "t,x\r\n0,1.5", 4, 0},
    {"\"0,5\";\"1,294\"", ';', "0,5;1,294", 2, 0},
    {"\"say \"\"hi\"\"\";2", ';', "say \"hi\";2", 1, 0},               // a doubled quote is one
    {"\"Position, x (m)\",\"t\"", ',', "\"Position, x (m)\",t", 1, 1}, // holds the delimiter
    {"1,\"2\",3\r\n\"4\"", ',', "1,2,3\r\n4", 2, 0},
    {"\"open,1\r\n2", ',', "\"open,1\r\n2", 0, 0}, // the quotes do not close on the line
    {"a\"b\",c", ',', "a\"b\",c", 0, 0},           // not a quoted field: no quote at its start
    {"\"x\"y,1", ',', "\"x\"y,1", 0, 0},           // text after the closing quote
    {"\"\",1", ',', ",1", 1, 0},                   // an empty quoted field
};

TEST(QuotedFields, AreReadAsTheirContent)
{
    for (const Unquoting& u : unquotings) {
        const UnquotedText result = unquoteFields(u.text, u.delimiter);
        EXPECT_EQ(result.text, u.expected) << u.text;
        EXPECT_EQ(result.unquoted, u.unquoted) << u.text;
        EXPECT_EQ(result.kept, u.kept) << u.text;
    }
    EXPECT_EQ(maskQuotedFields("\"0,5\";1\r\n\"a;b"), "qqqqq;1\r\nqqqq");
    EXPECT_EQ(unquotedNote({"", 1, 0}), "The quotes around 1 field were removed; the box holds "
                                        "their values.");
    EXPECT_EQ(unquotedNote({"", 2, 1}), "The quotes around 2 fields were removed; the box holds "
                                        "their values. 1 field keeps its quotes: what they hold "
                                        "has the delimiter in it.");
    EXPECT_EQ(unquotedNote({"", 0, 0}), "");
}

struct Intake {
    const char* name;
    const char* text;
    char inForce;
    IntakeSource source;
    std::vector<bool> answers; // in the order asked
    std::vector<IntakeQuestion> asked;
    const char* expected;
    std::optional<char> delimiter;
    std::vector<std::string> notes;
};

const Intake intakes[] = {
    {"spreadsheet rows, both answered yes",
     "0,5\t1,294\r\n1,0\t2,5",
     ',',
     IntakeSource::Paste,
     {true, true},
     {IntakeQuestion::Delimiter, IntakeQuestion::DecimalComma},
     "0.5\t1.294\r\n1.0\t2.5",
     '\t',
     {}},
    {"both answered no: the text as it came",
     "0,5\t1,294\r\n1,0\t2,5",
     ',',
     IntakeSource::Paste,
     {false, false},
     {IntakeQuestion::Delimiter, IntakeQuestion::DecimalComma},
     "0,5\t1,294\r\n1,0\t2,5",
     std::nullopt,
     {}},
    {"the delimiter in force already",
     "0,5;1,294\r\n1,0;2,5",
     ';',
     IntakeSource::File,
     {true},
     {IntakeQuestion::DecimalComma},
     "0.5;1.294\r\n1.0;2.5",
     std::nullopt,
     {}},
    {"quoted fields: their commas decide nothing until the quotes are gone",
     "\"t\";\"x\"\r\n\"0,5\";\"1,294\"",
     ',',
     IntakeSource::File,
     {true, true},
     {IntakeQuestion::Delimiter, IntakeQuestion::DecimalComma},
     "t;x\r\n0.5;1.294",
     ';',
     {"The quotes around 4 fields were removed; the box holds their values."}},
    {"plain comma data asks nothing",
     "1,2\r\n3,4",
     ',',
     IntakeSource::Paste,
     {},
     {},
     "1,2\r\n3,4",
     std::nullopt,
     {}},
};

TEST(DataIntake, AsksAboutDelimiterThenDecimalCommasAndConvertsAsAnswered)
{
    for (const Intake& intake : intakes) {
        std::vector<IntakeQuestion> asked;
        std::size_t next = 0;
        const TakenIn taken =
            takeIn(intake.text, intake.inForce, intake.source,
                   [&](IntakeQuestion kind, const std::string&) -> std::optional<bool> {
                       asked.push_back(kind);
                       return next < intake.answers.size() ? intake.answers[next++] : false;
                   });
        EXPECT_EQ(asked, intake.asked) << intake.name;
        EXPECT_EQ(taken.text, intake.expected) << intake.name;
        EXPECT_EQ(taken.delimiter, intake.delimiter) << intake.name;
        EXPECT_EQ(taken.notes, intake.notes) << intake.name;
        EXPECT_EQ(taken.unanswered, "") << intake.name;
    }
}

TEST(DataIntake, NamesThePastedLinesOrTheFileInItsQuestions)
{
    std::vector<std::string> questions;
    const auto ask = [&](IntakeQuestion, const std::string& question) -> std::optional<bool> {
        questions.push_back(question);
        return false;
    };
    takeIn("0,5;1\r\n2;3", ',', IntakeSource::Paste, ask);
    takeIn("0,5;1\r\n2;3", ',', IntakeSource::File, ask);
    EXPECT_EQ(questions,
              (std::vector<std::string>{
                  "The pasted lines separate their values with semicolons; the delimiter is the "
                  "comma. Make the semicolon the delimiter?",
                  "The pasted lines write decimals with a comma (0,1). Change them to points (0.1) "
                  "so that the commands can read them?",
                  "This file separates its values with semicolons; the delimiter is the comma. "
                  "Make the semicolon the delimiter?",
                  "This file writes decimals with a comma (0,1). Change them to points (0.1) so "
                  "that the commands can read them?"}));
    EXPECT_FALSE(asksAboutPaste("1,5\r\n\r\n"));
    EXPECT_TRUE(asksAboutPaste("1,5\r\n2,5"));
}

TEST(DataIntake, StopsAtAQuestionNothingAnswers)
{
    const TakenIn taken = takeIn("0,5;1\r\n2;3", ';', IntakeSource::File,
                                 [](IntakeQuestion, const std::string&) { return std::nullopt; });
    EXPECT_EQ(taken.unanswered, "This file writes decimals with a comma (0,1). Change them to "
                                "points (0.1) so that the commands can read them?");
}

} // namespace
