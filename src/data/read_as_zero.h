#pragma once

#include "data/command_context.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

// After a command has gone ahead, tells the student where text that holds no
// number was read as 0 (a header line, the start-up text, an earlier report),
// and where the lines seem to be split by another delimiter than the one in
// force. The output stays as it is; the note follows it. Each function shows
// at most one message, none when all is well.

// For the commands that take one number from each line: the cells of
// columnValues(1..lineCount).
void reportLinesReadAsZero(CommandContext& context);

// The cell a command used for field `field` of line `line`, or null where it
// used none.
using UsedField = std::function<const Cell*(int line, int field)>;

// For the commands that split lines into fields: the delimiter hint, then the
// fields 1..fields of every line that were used and read as 0.
void reportFieldsReadAsZero(CommandContext& context, int fields, const UsedField& usedField);

// A line as the messages quote it: in double quotes, cut after its first 40
// characters (never inside a character of several UTF-8 bytes) with "...".
std::string quotedLine(std::string_view text);

// The hint when no line holds the delimiter in force and another of the four
// stands in at least half of the lines; nothing otherwise.
std::optional<std::string> delimiterHint(const WorkingState& state);
