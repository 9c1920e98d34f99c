#include "commands/command_text.h"

#include "data/number_reading.h"

#include <algorithm>
#include <cmath>

bool allFinite(std::initializer_list<double> values)
{
    return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

void appendToBox(UserInterface& ui, const std::string& piece)
{
    const std::string box = ui.readBox();
    ui.replaceBox(box + piece, box.size());
}

bool confirmsDataFormat(const std::string& answer) { return answerIs(answer, 1); }
