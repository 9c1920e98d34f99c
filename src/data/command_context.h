#pragma once

#include "data/user_interface.h"
#include "data/working_state.h"

#include <filesystem>

// What a command works with: the screen, the shared working state and the
// directory of the program's files.
struct CommandContext {
    UserInterface& ui;
    WorkingState& state;
    std::filesystem::path labDirectory;
};
