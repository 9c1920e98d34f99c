#include "data/text_intake.h"

#include <fstream>
#include <optional>

namespace {

constexpr const char* tooManyLinesMessage =
    "there are more than 1000 lines of data in the textbox; at most 1000 can be used";

bool writeFile(const std::filesystem::path& path, const std::string& text)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(text.data(), static_cast<std::streamsize>(text.size()));
    file.close();
    return !file.fail();
}

std::optional<std::string> readFile(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    const std::streamoff size = file ? static_cast<std::streamoff>(file.tellg()) : -1;
    if (size < 0)
        return std::nullopt;
    std::string text(static_cast<std::size_t>(size), '\0');
    file.seekg(0);
    if (!file.read(text.data(), size))
        return std::nullopt;
    return text;
}

// The box text as it comes back from the temporary file.
std::string passThroughTempFile(const CommandContext& context)
{
    const std::string text = context.ui.readBox() + "\r\n";
    const std::filesystem::path path = context.labDirectory / tempFileName;
    if (!writeFile(path, text))
        return text;
    return readFile(path).value_or(text);
}

} // namespace

std::vector<std::string> nonEmptyLines(std::string_view text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\r', start);
        if (end == std::string_view::npos)
            end = text.size();
        if (end > start)
            lines.emplace_back(text.substr(start, end - start));
        start = end + 1;
        if (start < text.size() && text[start] == '\n')
            ++start;
    }
    return lines;
}

void writeTempFile(const CommandContext& context)
{
    writeFile(context.labDirectory / tempFileName, context.ui.readBox() + "\r\n");
}

bool readText(CommandContext& context)
{
    std::vector<std::string> lines = nonEmptyLines(passThroughTempFile(context));
    if (lines.size() > maxLines) {
        context.ui.showMessage(tooManyLinesMessage);
        return false;
    }
    WorkingState& state = context.state;
    state.lineCount = static_cast<int>(lines.size());
    for (int i = 1; i <= state.lineCount; ++i)
        state.textLines[i] = std::move(lines[i - 1]);
    return true;
}
