// Any text as a box (after a first byte that picks the delimiter and the
// sheet limits): the plan of its workbook gives every row of every block
// to one sheet for each part of its fields, each sheet's name follows the
// spreadsheet's rules and no two are the same, and a field becomes text
// exactly when it holds no number, its text unchanged. Every 16th input is
// also written as a workbook, which must work.

#include "data/fields.h"
#include "fuzz_check.h"
#include "scratch_directory.h"
#include "workbook/sheet_names.h"
#include "workbook/workbook_file.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <set>
#include <string>
#include <string_view>

namespace {

std::string inCapitals(std::string name)
{
    std::transform(name.begin(), name.end(), name.begin(),
                   [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; });
    return name;
}

void checkName(const std::string& name)
{
    std::size_t characters = 0;
    for (char c : name)
        characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    fuzzCheck(!name.empty() && characters <= longestSheetName, "a sheet name empty or too long");
    fuzzCheck(name.find_first_of("[]:*?/\\") == std::string::npos, "a forbidden character in a name");
    fuzzCheck(name.front() != '\'' && name.back() != '\'', "an apostrophe at a name's end");
}

void checkPlan(const std::vector<GraphTable>& blocks, char delimiter, const SheetLimits& limits)
{
    const WorkbookPlan plan = planWorkbook(blocks, delimiter, true, limits);
    std::set<std::string> names = {inCapitals(plan.fitsSheet)};
    std::vector<std::size_t> rowsCovered(blocks.size());
    for (const SheetPart& part : plan.sheets) {
        checkName(part.name);
        fuzzCheck(names.insert(inCapitals(part.name)).second, "two sheets of one name");
        fuzzCheck(part.endRow - part.firstRow + part.namesRow <= limits.rows, "a sheet too long");
        fuzzCheck(part.endField - part.firstField <= limits.columns, "a sheet too wide");
        if (part.firstField == 0)
            rowsCovered[part.block] += part.endRow - part.firstRow;
    }
    for (std::size_t b = 0; b < blocks.size(); ++b)
        fuzzCheck(rowsCovered[b] == blocks[b].rowCount(), "a block's rows not all in its sheets");
}

void checkCells(const std::vector<GraphTable>& blocks, char delimiter)
{
    for (const GraphTable& block : blocks)
        for (std::size_t r = 0; r < block.rowCount(); ++r)
            forEachField(block.lineText(r), delimiter, [&](int, std::string_view field) {
                const SheetCell cell = cellOfField(field, delimiter != ',');
                if (cell.kind == SheetCell::Kind::Text)
                    fuzzCheck(cell.text == field, "a text cell that is not its field");
                if (cell.kind == SheetCell::Kind::Number)
                    fuzzCheck(std::isfinite(cell.number), "a number cell that is not finite");
            });
}

void checkWritten(const std::vector<GraphTable>& blocks, char delimiter)
{
    const WorkbookWritten written =
        writeWorkbook(scratchDirectory() / "lab.xlsx", {blocks, delimiter, {}});
    fuzzCheck(written.failure.empty() || written.nothingToWrite, "a workbook that was not written");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const char delimiters[] = {',', '\t', ';', ' '};
    const char delimiter = delimiters[data[0] % 4];
    const SheetLimits limits{2 + std::size_t{data[0]} / 4 % 5, 1 + std::size_t{data[0]} / 32};
    const std::string_view box(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::vector<GraphTable> blocks = readGraphBlocks(box, delimiter);
    checkPlan(blocks, delimiter, limits);
    checkCells(blocks, delimiter);
    SheetNames names;
    for (std::size_t at = 0; at < box.size(); at += 7)
        checkName(names.unique(box.substr(at, 40)));
    if (data[0] % 16 == 0)
        checkWritten(blocks, delimiter);
    return 0;
}
