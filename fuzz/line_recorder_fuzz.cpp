// Any bytes as what a board sends, cut into reads by the first byte, and
// the same bytes as a phone's reply: every row taken has the header's
// number of fields, each holding the number the device wrote; the reading
// never crashes and a reply is read, or refused, whole.

#include "data/number_reading.h"
#include "fuzz_check.h"
#include "record/line_recorder.h"
#include "record/phyphox.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::size_t piece = 1 + data[0] % 16;
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    RecordOptions options;
    options.hostTime = data[0] & 0x40;
    if (data[0] & 0x80)
        options.trigger = RecordTrigger{1 + data[0] % 3, 0.5, data[0] % 5};
    LineRecorder recorder(options);
    std::vector<std::string> rows;
    for (std::size_t at = 0; at < bytes.size(); at += piece) {
        recorder.receive(bytes.substr(at, piece), static_cast<double>(at));
        for (std::string& row : recorder.takeRows())
            rows.push_back(std::move(row));
    }
    fuzzCheck(rows.empty() || recorder.header().has_value(), "rows without a header");
    const auto fieldsOf = [](const std::string& line) {
        return std::count(line.begin(), line.end(), ',') + 1;
    };
    for (const std::string& row : rows) {
        fuzzCheck(fieldsOf(row) == fieldsOf(*recorder.header()), "a row whose columns shifted");
        std::size_t start = 0;
        for (std::size_t end = row.find(','); start <= row.size();
             start = end + 1, end = row.find(',', start)) {
            const std::string field = row.substr(start, end == std::string::npos ? end : end - start);
            fuzzCheck(readAnswer(field).has_value(), "a field that holds no number");
            if (end == std::string::npos)
                break;
        }
    }
    ExportSet set{"s", {"t", "x"}, {"t", "x"}};
    if (const auto reply = readPhoneReply(bytes, set))
        for (const auto& values : reply->rows)
            fuzzCheck(values.size() == 2, "a phone row of the wrong width");
    exportSetsOf(bytes);
    return 0;
}
