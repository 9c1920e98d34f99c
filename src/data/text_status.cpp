#include "data/text_status.h"

std::string textStatusPrompt(const WorkingState& state)
{
    return "Enter the appropriate number to either confirm whether or not your data is in "
           "the proper syntax:  \r\n\r\n"
           "1.  Data is in the textbox, two numbers to a line delimited by " +
           state.delimiterName +
           "\r\n\r\n"
           "2. Data still needs to be placed data in textbox in specified format";
}

std::string TextStatus(UserInterface& ui, const WorkingState& state)
{
    return ui.askText(textStatusPrompt(state));
}
