#include "graph/graph_table.h"

#include "data/delimiters.h"
#include "data/fields.h"

#include <algorithm>

namespace {

constexpr std::size_t longestName = 40;

std::string trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return std::string(text.substr(first, text.find_last_not_of(" \t") - first + 1));
}

// At most 40 characters (not bytes: a character of several UTF-8 bytes is
// never split), "..." after a cut.
std::string cut(std::string text)
{
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i)
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 && ++characters > longestName)
            return text.substr(0, i) + "...";
    return text;
}

// Calls visit(line) for each line; CR LF, CR and LF end a line.
template <typename Visit> void forEachLine(std::string_view text, Visit visit)
{
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos)
            end = text.size();
        visit(text.substr(start, end - start));
        start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
}

std::vector<std::optional<double>> rowNumbers(std::string_view line, char delimiter)
{
    std::vector<std::optional<double>> numbers;
    forEachField(line, delimiter, [&](int k, std::string_view field) {
        if (k <= mostPlottedColumns)
            numbers.push_back(leadingNumber(field));
    });
    return numbers;
}

GraphTable startBlock(std::string_view header, char delimiter, int firstLine)
{
    GraphTable block;
    if (header.empty()) {
        block.name = "lines " + std::to_string(firstLine);
        return block;
    }
    block.name = cut(trimmed(header));
    forEachField(header, delimiter,
                 [&](int, std::string_view name) { block.columnNames.push_back(trimmed(name)); });
    return block;
}

void finishBlock(GraphTable& block, int lastLine, char delimiter)
{
    if (block.name.rfind("lines ", 0) == 0 && block.columnNames.empty())
        block.name += " to " + std::to_string(lastLine);
    const std::vector<std::string_view> lines(block.lineTexts.begin(), block.lineTexts.end());
    if (const std::optional<char> other = otherDelimiterOfLines(lines, delimiter))
        block.delimiterHint = delimiterHintSentence(delimiter, *other);
}

} // namespace

std::vector<GraphTable> readGraphBlocks(std::string_view boxText, char delimiter)
{
    std::vector<GraphTable> blocks;
    std::string_view lastNonEmpty; // the nearest non-empty line above
    bool inBlock = false;
    int nonEmpty = 0, lastDataLine = 0;
    forEachLine(boxText, [&](std::string_view line) {
        nonEmpty += !line.empty();
        const std::string_view first = line.substr(0, line.find(delimiter));
        if (!leadingNumber(first)) {
            if (inBlock)
                finishBlock(blocks.back(), lastDataLine, delimiter);
            inBlock = false;
            if (!line.empty())
                lastNonEmpty = line;
            return;
        }
        if (!inBlock) {
            blocks.push_back(startBlock(lastNonEmpty, delimiter, nonEmpty));
            inBlock = true;
        }
        GraphTable& block = blocks.back();
        lastDataLine = nonEmpty;
        lastNonEmpty = {};
        if (block.dataRows++ < mostPlottedRows) {
            block.rows.push_back(rowNumbers(line, delimiter));
            block.lineNumbers.push_back(nonEmpty);
            block.lineTexts.emplace_back(line);
            block.columns = std::max(block.columns, static_cast<int>(block.rows.back().size()));
        }
    });
    if (inBlock)
        finishBlock(blocks.back(), lastDataLine, delimiter);
    return blocks;
}

GraphTable readGraphTable(std::string_view boxText, char delimiter)
{
    std::vector<GraphTable> blocks = readGraphBlocks(boxText, delimiter);
    return blocks.empty() ? GraphTable{} : std::move(blocks.front());
}
