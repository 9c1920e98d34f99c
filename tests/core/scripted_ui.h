#pragma once

#include "data/command_context.h"
#include "data/user_interface.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

// The screen as a script: answers are handed out in order, and every prompt,
// message and replacement of the box is recorded.
class ScriptedUserInterface : public UserInterface {
public:
    std::string box;
    std::deque<std::string> answers;
    std::vector<std::string> prompts;
    std::vector<std::string> offers; // the text each input box held to start with
    std::vector<std::string> messages;
    int replacements = 0;
    std::size_t shownFrom = 0; // where the last replacement brought the box into view

    std::string readBox() const override { return box; }

    void replaceBox(const std::string& text, std::size_t showFrom) override
    {
        box = text;
        shownFrom = showFrom;
        ++replacements;
    }

    void showMessage(const std::string& prompt) override { messages.push_back(prompt); }

    std::string askText(const std::string& prompt, const std::string& offered = {}) override
    {
        prompts.push_back(prompt);
        offers.push_back(offered);
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected question: " << prompt;
            return "";
        }
        std::string answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

// A fresh directory for the program's files, removed afterwards.
class TemporaryDirectory {
public:
    TemporaryDirectory()
    {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "benchtabler-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            ADD_FAILURE() << "cannot make a temporary directory";
        path_ = pattern;
    }
    ~TemporaryDirectory()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// Everything a command needs, wired to the script.
struct TestBench {
    TemporaryDirectory directory;
    ScriptedUserInterface ui;
    std::unique_ptr<WorkingState> state = std::make_unique<WorkingState>();
    CommandContext context{ui, *state, directory.path()};

    explicit TestBench(std::string box = "", std::vector<std::string> answers = {})
    {
        ui.box = std::move(box);
        ui.answers.assign(answers.begin(), answers.end());
    }
};
