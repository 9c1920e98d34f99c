#pragma once

#include "scripted_ui.h"

#include <functional>
#include <string>
#include <vector>

// One run of a command through the scripted screen: the box and answers
// before, and the box and messages a student would then see.
struct CommandCase {
    std::string name;
    char delimiter;
    std::string box;
    std::vector<std::string> answers;
    std::string expectedBox;
    std::vector<std::string> expectedMessages;
};

inline std::string caseName(const testing::TestParamInfo<CommandCase>& info)
{
    std::string name = info.param.name;
    for (char& c : name)
        if (!isalnum(static_cast<unsigned char>(c)))
            c = '_';
    return name;
}

// Runs the case and checks the box, the messages, that every answer was
// asked for, and that the box was put into the widget at most once.
inline void runCommandCase(const CommandCase& c,
                           const std::function<void(CommandContext&)>& command)
{
    TestBench bench(c.box, c.answers);
    bench.state->delimiter = c.delimiter;
    command(bench.context);
    EXPECT_EQ(bench.ui.box, c.expectedBox);
    EXPECT_EQ(bench.ui.messages, c.expectedMessages);
    EXPECT_TRUE(bench.ui.answers.empty()) << "answers left over";
    EXPECT_LE(bench.ui.replacements, 1);
}
