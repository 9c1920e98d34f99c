#include "data/read_as_zero.h"

#include "data/delimiters.h"
#include "data/fields.h"

#include <array>

namespace {

constexpr std::size_t shownCharacters = 40;

std::string_view fieldText(std::string_view line, char delimiter, int wanted)
{
    std::string_view text;
    forEachField(line, delimiter, [&](int k, std::string_view field) {
        if (k == wanted)
            text = field;
    });
    return text;
}

// Where text was read as 0: how many places, and the first of them.
struct ReadAsZero {
    int count = 0;
    int line = 0;
    int field = 0;

    void add(int atLine, int atField)
    {
        if (count++ == 0) {
            line = atLine;
            field = atField;
        }
    }
};

// "line 3 holds no number ..." or "2 lines hold no number ...; the first is
// line 3: ...". `places` is "lines" or "fields".
std::string readAsZeroMessage(const ReadAsZero& found, const char* places, const std::string& where,
                              std::string_view text)
{
    if (found.count == 1)
        return where + " holds no number and was read as 0: " + quotedLine(text);
    return std::to_string(found.count) + " " + places +
           " hold no number and were read as 0; the first is " + where + ": " + quotedLine(text);
}

} // namespace

void reportLinesReadAsZero(CommandContext& context)
{
    const WorkingState& state = context.state;
    ReadAsZero found;
    for (int r = 1; r <= state.lineCount; ++r)
        if (state.columnValues[r].wasReadAsZero())
            found.add(r, 0);
    if (found.count > 0)
        context.ui.showMessage(readAsZeroMessage(
            found, "lines", "line " + std::to_string(found.line), state.textLines[found.line]));
}

void reportFieldsReadAsZero(CommandContext& context, int fields, const UsedField& usedField)
{
    const WorkingState& state = context.state;
    if (const std::optional<std::string> hint = delimiterHint(state))
        context.ui.showMessage(*hint);

    ReadAsZero found;
    for (int r = 1; r <= state.lineCount; ++r)
        for (int k = 1; k <= fields; ++k)
            if (const Cell* cell = usedField(r, k); cell && cell->wasReadAsZero())
                found.add(r, k);
    if (found.count == 0)
        return;
    const std::string where =
        "line " + std::to_string(found.line) + ", field " + std::to_string(found.field);
    context.ui.showMessage(
        readAsZeroMessage(found, "fields", where,
                          fieldText(state.textLines[found.line], state.delimiter, found.field)));
}

std::optional<std::string> delimiterHint(const WorkingState& state)
{
    std::vector<std::string_view> lines;
    for (int r = 1; r <= state.lineCount; ++r)
        lines.push_back(state.textLines[r]);
    const std::optional<char> other = otherDelimiterOfLines(lines, state.delimiter);
    if (!other)
        return std::nullopt;
    return delimiterHintSentence(state.delimiter, *other);
}

std::string quotedLine(std::string_view text)
{
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool startsACharacter = (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80;
        if (startsACharacter && ++characters > shownCharacters)
            return '"' + std::string(text.substr(0, i)) + "...\"";
    }
    return '"' + std::string(text) + '"';
}
