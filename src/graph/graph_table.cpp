#include "graph/graph_table.h"

#include "data/column_heads.h"
#include "data/data_field.h"
#include "data/delimiters.h"
#include "data/fields.h"
#include "data/read_as_zero.h"

#include <algorithm>

namespace {

constexpr std::size_t longestName = 40;
constexpr std::size_t mostJudgedRows = 10000; // for the delimiter hint

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

// The numbers of a data row's fields as a new last row (NaN for none); counts
// the fields with a decimal comma and names those that are no number. The
// row's count of fields.
int addRowNumbers(GraphTable& block, std::string_view line, char delimiter, int lineNumber)
{
    block.numbers.addRow();
    int fields = 0;
    forEachField(line, delimiter, [&](int k, std::string_view field) {
        fields = k;
        if (k > mostPlottedColumns)
            return;
        const DataField read = readDataField(field);
        block.decimalCommaFields += read.decimalComma;
        if (read.malformed)
            block.malformed.addMalformed(lineNumber, field);
        block.numbers.addToLastRow(read.number.value_or(std::nan("")));
    });
    return fields;
}

// "3 fields write decimals with a comma; the first is in line 2: ..."
std::string decimalCommaNote(int fields, int line, std::string_view text)
{
    const std::string where = "line " + std::to_string(line) + ": " + quotedLine(text);
    return (fields == 1 ? std::string("1 field writes its decimals with a comma, which the program "
                                      "reads only as a point; it is in ")
                        : std::to_string(fields) +
                              " fields write their decimals with a comma, which the program reads "
                              "only as a point; the first is in ") +
           where +
           ". Change the commas to points: paste the rows again, or open them as a file, and "
           "answer Yes.";
}

GraphTable startBlock(std::string_view header, char delimiter, int firstLine)
{
    GraphTable block;
    block.firstLine = firstLine;
    if (header.empty())
        return block;
    block.name = cut(std::string(withoutBlanks(header)));
    block.columnNames = headerFields(header, delimiter);
    return block;
}

// What a block says once its rows are known; done again as a recording
// adds rows to the last block.
void finishBlock(GraphTable& block, int lastLine, char delimiter)
{
    const int named = static_cast<int>(block.columnNames.size());
    block.widerRowsLeftOut = named > 0 && !block.widerRows.empty() &&
                             2 * static_cast<std::size_t>(block.rowsOfHeaderWidth) >= block.rowCount();
    block.fieldNotes = block.malformed.sentences();
    block.columns = block.columnsOfAllRows;
    if (block.widerRowsLeftOut) {
        block.columns = std::min(block.columns, std::max(block.columnsWithinHeader, named));
        FieldProblems wider;
        wider.addWiderRows(static_cast<int>(block.widerRows.size()),
                           block.lineNumbers[block.widerRows.front()], block.firstWiderFields,
                           named);
        for (std::string& sentence : wider.sentences())
            block.fieldNotes.push_back(std::move(sentence));
    }
    if (block.columnNames.empty() && (block.name.empty() || block.name.rfind("lines ", 0) == 0))
        block.name = "lines " + std::to_string(block.firstLine) + " to " + std::to_string(lastLine);
    if (block.decimalCommaFields > 0)
        block.decimalCommaNote =
            decimalCommaNote(block.decimalCommaFields, block.lineNumbers[block.firstDecimalComma],
                             block.lineText(block.firstDecimalComma));
    block.delimiterHint.reset();
    // Judged on the first rows: a long recording, written with the delimiter
    // in force, is not gone through again each time rows are added.
    std::vector<std::string_view> lines(std::min(block.rowCount(), mostJudgedRows));
    for (std::size_t r = 0; r < lines.size(); ++r)
        lines[r] = block.lineText(r);
    if (const std::optional<char> other = otherDelimiterOfLines(lines, delimiter)) {
        block.delimiterHint = delimiterHintSentence(delimiter, *other);
        return;
    }
    // Rows from a decimal-comma spreadsheet ("0,5<tab>1,294"): their commas
    // stand between digits, and tabs or semicolons split them.
    const std::optional<char> other = otherDelimiterOfLines(lines, delimiter, true);
    if (other && (*other == '\t' || *other == ';'))
        block.delimiterHint = delimiterHintSentence(delimiter, *other) +
                              " Their commas stand between digits: decimal commas, which are read "
                              "only as points (paste the rows again, or open them as a file, and "
                              "answer Yes).";
}

} // namespace

GraphBlockReader::GraphBlockReader(char delimiter) : delimiter_(delimiter) {}

bool GraphBlockReader::add(std::string_view text)
{
    // A last line taken whole that the new text goes on with: read again.
    if (lastLineOpen_ && !text.empty() && text.front() != '\r' && text.front() != '\n')
        return false;
    if (lastLineOpen_ && text.compare(0, 2, "\r\n") == 0)
        text.remove_prefix(2);
    else if (lastLineOpen_ && !text.empty())
        text.remove_prefix(1);
    lastLineOpen_ = false;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            readLine(text.substr(start));
            lastLineOpen_ = true;
            break;
        }
        readLine(text.substr(start, end - start));
        start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    if (inBlock_)
        finishBlock(blocks_.back(), lastDataLine_, delimiter_);
    return true;
}

void GraphBlockReader::readLine(std::string_view line)
{
    nonEmpty_ += !line.empty();
    const std::string_view first = line.substr(0, line.find(delimiter_));
    if (!readDataField(first).beginsWithNumber) {
        if (inBlock_)
            finishBlock(blocks_.back(), lastDataLine_, delimiter_);
        inBlock_ = false;
        if (!line.empty()) {
            aboveLastNonEmpty_ = std::move(lastNonEmpty_);
            lastNonEmpty_ = std::string(line);
        }
        return;
    }
    if (!inBlock_) {
        blocks_.push_back(startBlock(lastNonEmpty_, delimiter_, nonEmpty_));
        // The line above the column names heads the block, unless it is a
        // command's star line.
        const std::string_view heading = withoutBlanks(aboveLastNonEmpty_);
        if (!lastNonEmpty_.empty() && !heading.empty() && heading.front() != '*')
            blocks_.back().heading = heading;
        inBlock_ = true;
    }
    GraphTable& block = blocks_.back();
    lastDataLine_ = nonEmpty_;
    lastNonEmpty_.clear();
    aboveLastNonEmpty_.clear();
    ++block.dataRows;
    const int before = block.decimalCommaFields;
    const int fields = addRowNumbers(block, line, delimiter_, nonEmpty_);
    if (before == 0 && block.decimalCommaFields > 0)
        block.firstDecimalComma = block.rowCount(); // this row's, counted before it is added
    const int named = static_cast<int>(block.columnNames.size());
    const int kept = static_cast<int>(block.numbers.back().size());
    if (named > 0 && fields > named) {
        if (block.widerRows.empty())
            block.firstWiderFields = fields;
        block.widerRows.push_back(block.rowCount());
    } else {
        block.columnsWithinHeader = std::max(block.columnsWithinHeader, kept);
    }
    block.rowsOfHeaderWidth += fields == named;
    block.lineNumbers.push_back(nonEmpty_);
    block.texts.addRow(line);
    block.columnsOfAllRows = std::max(block.columnsOfAllRows, kept);
}

std::vector<GraphTable> readGraphBlocks(std::string_view boxText, char delimiter)
{
    GraphBlockReader reader(delimiter);
    reader.add(boxText);
    return std::move(reader).blocks();
}

GraphTable readGraphTable(std::string_view boxText, char delimiter)
{
    std::vector<GraphTable> blocks = readGraphBlocks(boxText, delimiter);
    return blocks.empty() ? GraphTable{} : std::move(blocks.front());
}

std::optional<std::string> otherBlocksNote(const std::vector<GraphTable>& blocks,
                                           std::size_t shown)
{
    if (blocks.size() < 2 || shown >= blocks.size())
        return std::nullopt;
    const auto named = [](const GraphTable& block) {
        return block.name.rfind("lines ", 0) == 0 && block.columnNames.empty()
                   ? "in " + block.name
                   : "\"" + block.name + "\"";
    };
    const GraphTable& block = blocks[shown];
    if (shown + 1 < blocks.size())
        return "the data go on after line " + std::to_string(block.lineNumbers.back()) + ", " +
               named(blocks[shown + 1]) + ": choose them in the data list";
    return "more data stand before line " + std::to_string(block.firstLine) + ", " +
           named(blocks[shown - 1]) + ": choose them in the data list";
}
