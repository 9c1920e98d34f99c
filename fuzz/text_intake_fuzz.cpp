// Arbitrary bytes as the box, with the delimiter chosen by the first byte:
// reading the box and building the field table keep to their bounds, every
// cell of a line's fields holds a finite number, a cell remembers being read
// as 0 exactly when its field holds no number, and the note that says so
// stays one message.

#include "data/fields.h"
#include "data/read_as_zero.h"
#include "data/text_intake.h"
#include "fuzz_check.h"
#include "scratch_directory.h"

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <memory>

namespace {

class FuzzBox : public UserInterface {
public:
    std::string box;
    std::string readBox() const override { return box; }
    void replaceBox(const std::string& text, std::size_t) override { box = text; }
    int messages = 0;
    void showMessage(const std::string&) override { ++messages; }
    std::string askText(const std::string&, const std::string&) override { return ""; }
};

const std::filesystem::path& labDirectory() { return scratchDirectory(); }

void checkTable(const WorkingState& state)
{
    for (int r = 1; r <= state.lineCount; ++r) {
        fuzzCheck(state.fieldCounts[r] >= 1 && state.fieldCounts[r] <= maxTableColumns,
                  "field count out of bounds");
        for (int k = 1; k <= state.fieldCounts[r]; ++k)
            fuzzCheck(state.dataTable[r][k].isNumber() &&
                          std::isfinite(state.dataTable[r][k].value()),
                      "a field did not give a finite number");
        forEachField(state.textLines[r], state.delimiter, [&](int k, std::string_view field) {
            fuzzCheck(state.dataTable[r][k].wasReadAsZero() == !leadingNumber(field),
                      "a cell's read-as-0 mark disagrees with its field");
            fuzzCheck(state.dataTable[r][k].value() == leadingValue(field),
                      "a cell's number disagrees with its field");
        });
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    static const char delimiters[] = {',', '\t', ';', ' '};
    static auto state = std::make_unique<WorkingState>();
    FuzzBox ui;
    ui.box.assign(reinterpret_cast<const char*>(data) + 1, size - 1);
    state->delimiter = delimiters[data[0] % 4];
    CommandContext context{ui, *state, labDirectory()};

    if (!readText(context))
        return 0;
    fuzzCheck(state->lineCount >= 0 && state->lineCount <= maxLines, "line count out of bounds");
    for (int i = 1; i <= state->lineCount; ++i)
        fuzzCheck(!state->textLines[i].empty() &&
                      state->textLines[i].find('\r') == std::string::npos,
                  "a stored line is empty or holds a CR");
    if (!createDataArray(context))
        return 0;
    checkTable(*state);
    const int messagesBefore = ui.messages;
    reportFieldsReadAsZero(context, maxTableColumns,
                           [&](int r, int k) { return &state->dataTable[r][k]; });
    fuzzCheck(ui.messages - messagesBefore <= 2, "more than a hint and a note");
    return 0;
}
