#pragma once

#include "data/user_interface.h"
#include "data/working_state.h"

#include <string>

// The question whether the data in the box is in the proper form, naming the
// current delimiter.
std::string textStatusPrompt(const WorkingState& state);

// Asks that question and returns the answer as typed (empty text on Cancel).
std::string TextStatus(UserInterface& ui, const WorkingState& state);
