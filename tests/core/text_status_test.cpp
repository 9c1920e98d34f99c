#include "data/text_status.h"

#include "scripted_ui.h"

namespace {

TEST(TextStatus, AsksWithTheCurrentDelimiterAndReturnsTheAnswerAsTyped)
{
    const std::pair<const char*, const char*> delimiters[] = {
        {"comma", " 1 "}, {"tab", "2"}, {"semicolon", ""}, {"space", "abc"}};
    for (const auto& [name, answer] : delimiters) {
        TestBench bench("data", {answer});
        bench.state->delimiterName = name;
        EXPECT_EQ(TextStatus(bench.ui, *bench.state), answer);
        ASSERT_EQ(bench.ui.prompts.size(), 1u);
        EXPECT_EQ(bench.ui.prompts[0],
                  std::string("Enter the appropriate number to either confirm whether or not your "
                              "data is in the proper syntax:  \r\n\r\n"
                              "1.  Data is in the textbox, two numbers to a line delimited by ") +
                      name +
                      "\r\n\r\n2. Data still needs to be placed data in textbox in "
                      "specified format");
        EXPECT_EQ(bench.ui.box, "data");
    }
}

} // namespace
