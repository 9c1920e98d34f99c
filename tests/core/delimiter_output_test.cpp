#include "commands/change_delimiter.h"
#include "commands/save_output.h"
#include "data/text_status.h"

#include "command_case.h"

#include <fstream>
#include <iterator>

namespace {

const std::string comma = "Delimiter is presently the comma.";
const std::string tab = "delimiter is presently the tab character";
const std::string semicolon = "delimiter is presently the semicolon";
const std::string space = "delimiter is present the space character";
const std::string unchanged = "delimiter has not been changed";

struct Delimiter {
    char character;
    const char* name;
    std::string message;
};

const Delimiter commaDelimiter{',', "comma", comma};
const Delimiter tabDelimiter{'\t', "tab", tab};
const Delimiter semicolonDelimiter{';', "semicolon", semicolon};
const Delimiter spaceDelimiter{' ', "space", space};

struct DelimiterRun {
    Delimiter before;
    const char* answer;
    Delimiter after;
    bool changed;
};

const DelimiterRun delimiterRuns[] = {
    {commaDelimiter, "2", tabDelimiter, true},
    {tabDelimiter, "3", semicolonDelimiter, true},
    {commaDelimiter, " 3 ", semicolonDelimiter, true},
    {semicolonDelimiter, "4", spaceDelimiter, true},
    {spaceDelimiter, "1", commaDelimiter, true},
    {commaDelimiter, "1", commaDelimiter, true},
    {tabDelimiter, "5", tabDelimiter, false},
    {tabDelimiter, "0", tabDelimiter, false},
    {tabDelimiter, "2.5", tabDelimiter, false},
    {tabDelimiter, "-1", tabDelimiter, false},
    {tabDelimiter, "", tabDelimiter, false},
    {tabDelimiter, "comma", tabDelimiter, false},
};

TEST(ChangeDelimiter, ShowsTheDelimiterInForceAndTakesTheChoice)
{
    for (const DelimiterRun& run : delimiterRuns) {
        TestBench bench("1,2", {run.answer});
        bench.state->delimiter = run.before.character;
        bench.state->delimiterName = run.before.name;
        changeDelimiter(bench.context);
        std::vector<std::string> expected{run.before.message};
        if (!run.changed)
            expected.push_back(unchanged);
        EXPECT_EQ(bench.ui.messages, expected) << '"' << run.answer << '"';
        EXPECT_EQ(bench.ui.prompts, std::vector<std::string>{
                                        "Your choice:  1. Comma  2. Tab  3. Semicolon  4. Space"});
        EXPECT_EQ(bench.state->delimiter, run.after.character);
        EXPECT_EQ(bench.state->delimiterName, run.after.name);
        EXPECT_EQ(bench.ui.box, "1,2");
    }
}

TEST(ChangeDelimiter, TheDataFormatQuestionNamesTheNewDelimiter)
{
    TestBench bench("", {"4", "1"});
    changeDelimiter(bench.context);
    TextStatus(bench.ui, *bench.state);
    EXPECT_NE(bench.ui.prompts[1].find("delimited by space\r\n"), std::string::npos);
}

std::string fileText(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

TEST(OutputAsDelimitedFile, WritesTheBoxAndALineBreak)
{
    const std::pair<std::string, std::string> saves[] = {
        {"", "\r\n"},
        {"Enter Data Here", "Enter Data Here\r\n"},
        {"1\t2\r\n", "1\t2\r\n\r\n"},
        {"Länge µm", "Länge µm\r\n"},
    };
    for (const auto& [box, file] : saves) {
        TestBench bench(box);
        outputAsDelimitedFile(bench.context);
        EXPECT_EQ(fileText(bench.directory.path() / outputFileName), file);
        EXPECT_TRUE(bench.ui.messages.empty());
        EXPECT_EQ(bench.ui.box, box);
    }
}

TEST(OutputAsDelimitedFile, SavingAgainKeepsOnlyTheSecondText)
{
    TestBench bench("a much longer first text");
    outputAsDelimitedFile(bench.context);
    bench.ui.box = "b";
    outputAsDelimitedFile(bench.context);
    EXPECT_EQ(fileText(bench.directory.path() / outputFileName), "b\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(bench.directory.path()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST(OutputAsDelimitedFile, AMissingDirectoryIsReportedByName)
{
    TestBench bench("data");
    bench.context.labDirectory = bench.directory.path() / "missing";
    outputAsDelimitedFile(bench.context);
    ASSERT_EQ(bench.ui.messages.size(), 1u);
    const std::string expectedStart =
        "could not save " + (bench.context.labDirectory / outputFileName).string() + ": ";
    EXPECT_EQ(bench.ui.messages[0].substr(0, expectedStart.size()), expectedStart);
    EXPECT_GT(bench.ui.messages[0].size(), expectedStart.size());
    EXPECT_FALSE(std::filesystem::exists(bench.context.labDirectory));
}

TEST(OutputAsDelimitedFile, AFailedSaveLeavesTheEarlierFileIntact)
{
    TestBench bench("good");
    outputAsDelimitedFile(bench.context);
    // A folder where the file would be written makes every write fail, even as root.
    std::filesystem::create_directory(bench.directory.path() / "benchTablerOutput.txt.saving");
    bench.ui.box = "newer";
    outputAsDelimitedFile(bench.context);
    EXPECT_EQ(bench.ui.messages.size(), 1u);
    EXPECT_EQ(fileText(bench.directory.path() / outputFileName), "good\r\n");
    EXPECT_TRUE(
        std::filesystem::is_directory(bench.directory.path() / "benchTablerOutput.txt.saving"))
        << "what was in the way is not ours to remove";
}

} // namespace
