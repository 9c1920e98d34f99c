#include "data/text_intake.h"

#include "scripted_ui.h"

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::vector<std::string> storedLines(const WorkingState& state)
{
    return {state.textLines.begin() + 1, state.textLines.begin() + 1 + state.lineCount};
}

std::string fileText(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

struct Intake {
    const char* name;
    std::string box;
    std::vector<std::string> lines;
};

const Intake intakes[] = {
    {"empty box", "", {}},
    {"start-up text", "Enter Data Here", {"Enter Data Here"}},
    {"empty line between", "1\r\n\r\n2", {"1", "2"}},
    {"final line break", "1\r\n2\r\n", {"1", "2"}},
    {"empty lines everywhere", "\r\n\r\n1\r\n\r\n\r\n2\r\n\r\n", {"1", "2"}},
    {"line of blanks counts", "1\r\n   \r\n2", {"1", "   ", "2"}},
    {"blanks kept", "  1 \r\n", {"  1 "}},
    {"lone CR ends a line", "1\r2\r\r3", {"1", "2", "3"}},
    {"lone LF belongs to the line", "1\n2\r\n\n", {"1\n2", "\n"}},
    {"non-ASCII passes", "Länge 2,5 µm\r\n", {"Länge 2,5 µm"}},
};

class IntakeTable : public testing::TestWithParam<Intake> {};

TEST_P(IntakeTable, KeepsTheNonEmptyLines)
{
    TestBench bench(GetParam().box);
    ASSERT_TRUE(readText(bench.context));
    EXPECT_EQ(storedLines(*bench.state), GetParam().lines);
    EXPECT_EQ(fileText(bench.directory.path() / tempFileName), GetParam().box + "\r\n");
    EXPECT_TRUE(bench.ui.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Boxes, IntakeTable, testing::ValuesIn(intakes), [](const auto& info) {
    std::string name = info.param.name;
    for (char& c : name)
        if (!isalnum(static_cast<unsigned char>(c)))
            c = '_';
    return name;
});

std::string numberedLines(int count, const char* lineBreak = "\r\n")
{
    std::string text;
    for (int i = 1; i <= count; ++i)
        text += std::to_string(i) + (i < count ? lineBreak : "");
    return text;
}

TEST(ReadText, KeepsStaleEntriesAboveTheLineCount)
{
    TestBench bench("a\r\nb\r\nc\r\nd\r\ne");
    ASSERT_TRUE(readText(bench.context));
    bench.ui.box = "x\r\ny";
    ASSERT_TRUE(readText(bench.context));
    EXPECT_EQ(bench.state->lineCount, 2);
    EXPECT_EQ(bench.state->textLines[2], "y");
    EXPECT_EQ(bench.state->textLines[3], "c");
    EXPECT_EQ(bench.state->textLines[5], "e");
}

TEST(ReadText, ReadsExactlyOneThousandLines)
{
    for (const std::string& box : {numberedLines(1000), numberedLines(1000) + "\r\n",
                                   numberedLines(1000) + "\r\n\r\n\r\n"}) {
        TestBench bench(box);
        ASSERT_TRUE(readText(bench.context));
        EXPECT_EQ(bench.state->lineCount, 1000);
        EXPECT_EQ(bench.state->textLines[1000], "1000");
        EXPECT_TRUE(bench.ui.messages.empty());
    }
}

TEST(ReadText, RefusesMoreThanOneThousandLinesAndChangesNothing)
{
    TestBench bench("earlier");
    ASSERT_TRUE(readText(bench.context));
    bench.ui.box = numberedLines(1001);
    EXPECT_FALSE(readText(bench.context));
    ASSERT_EQ(bench.ui.messages.size(), 1u);
    EXPECT_NE(bench.ui.messages[0].find("more than 1000 lines"), std::string::npos);
    EXPECT_EQ(bench.state->lineCount, 1);
    EXPECT_EQ(bench.state->textLines[1], "earlier");
    EXPECT_EQ(bench.state->textLines[2], "");
    EXPECT_EQ(bench.ui.replacements, 0);
}

TEST(ReadText, WithoutItsDirectoryReadsTheBoxDirectly)
{
    TestBench bench("1\r\n\r\n2\r3");
    bench.context.labDirectory = bench.directory.path() / "missing";
    ASSERT_TRUE(readText(bench.context));
    EXPECT_EQ(storedLines(*bench.state), (std::vector<std::string>{"1", "2", "3"}));
    EXPECT_TRUE(bench.ui.messages.empty());
}

TEST(ReadText, RewritesTheTemporaryFileEveryTime)
{
    TestBench bench("a long first text");
    ASSERT_TRUE(readText(bench.context));
    bench.ui.box = "b";
    ASSERT_TRUE(readText(bench.context));
    EXPECT_EQ(fileText(bench.directory.path() / tempFileName), "b\r\n");
}

} // namespace
