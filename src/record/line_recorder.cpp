#include "record/line_recorder.h"

#include "data/number_reading.h"
#include "data/read_as_zero.h"

#include <charconv>

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// The pieces of a line between its separators: commas, else semicolons,
// else tabs, else runs of blanks ("temp: 21.5 hum: 40.1" keeps a label with
// its value).
std::vector<std::string_view> piecesOf(std::string_view line)
{
    std::vector<std::string_view> pieces;
    for (const char separator : {',', ';', '\t'})
        if (line.find(separator) != std::string_view::npos) {
            std::size_t start = 0;
            for (std::size_t at = line.find(separator); at != std::string_view::npos;
                 start = at + 1, at = line.find(separator, start))
                pieces.push_back(trimmed(line.substr(start, at - start)));
            pieces.push_back(trimmed(line.substr(start)));
            return pieces;
        }
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && isBlank(line[i]))
            ++i;
        const std::size_t start = i;
        while (i < line.size() && !isBlank(line[i]))
            ++i;
        if (i > start)
            pieces.push_back(line.substr(start, i - start));
    }
    // "temp:" "21.5" is one labelled field.
    std::vector<std::string_view> joined;
    for (std::size_t k = 0; k < pieces.size(); ++k) {
        if (pieces[k].ends_with(':') && k + 1 < pieces.size()) {
            const char* from = pieces[k].data();
            const char* to = pieces[k + 1].data() + pieces[k + 1].size();
            joined.emplace_back(from, static_cast<std::size_t>(to - from));
            ++k;
        } else {
            joined.push_back(pieces[k]);
        }
    }
    return joined;
}

std::string secondsText(double seconds)
{
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, seconds, std::chars_format::fixed, 3);
    return std::string(text, end.ptr);
}

} // namespace

std::vector<ReceivedField> receivedFields(std::string_view line)
{
    std::vector<ReceivedField> fields;
    if (trimmed(line).empty())
        return fields;
    for (const std::string_view piece : piecesOf(trimmed(line))) {
        const auto colon = piece.find(':');
        if (colon == std::string_view::npos)
            fields.push_back({{}, std::string(piece)});
        else
            fields.push_back({std::string(trimmed(piece.substr(0, colon))),
                              std::string(trimmed(piece.substr(colon + 1)))});
    }
    return fields;
}

LineRecorder::LineRecorder(RecordOptions options) : options_(options), triggered_(!options.trigger)
{
}

void LineRecorder::receive(std::string_view bytes, double seconds)
{
    std::size_t start = 0;
    for (std::size_t end = bytes.find('\n'); end != std::string_view::npos;
         start = end + 1, end = bytes.find('\n', start)) {
        pending_.append(bytes.substr(start, end - start));
        if (!pending_.empty() && pending_.back() == '\r')
            pending_.pop_back();
        takeLine(pending_, seconds);
        pending_.clear();
    }
    pending_.append(bytes.substr(start));
}

void LineRecorder::takeLine(std::string_view line, double seconds)
{
    const bool first = firstLine_;
    firstLine_ = false;
    const std::vector<ReceivedField> fields = receivedFields(line);
    if (fields.empty())
        return; // a blank line
    std::vector<double> values;
    for (const ReceivedField& field : fields)
        if (const std::optional<double> value = readAnswer(field.value))
            values.push_back(*value);
    const bool readable =
        values.size() == fields.size() && (!fieldCount_ || *fieldCount_ == fields.size());
    if (!readable) {
        if (!first && unread_++ == 0)
            firstUnread_ = std::string(line);
        return;
    }
    if (!fieldCount_) {
        fieldCount_ = fields.size();
        std::string header = options_.hostTime ? "t (s)" : "";
        for (std::size_t k = 0; k < fields.size(); ++k) {
            if (!header.empty())
                header += options_.delimiter;
            header += fields[k].label.empty() ? "value " + std::to_string(k + 1) : fields[k].label;
        }
        header_ = header;
    }
    std::string row = options_.hostTime ? secondsText(seconds) : "";
    if (options_.hostTime)
        values.insert(values.begin(), seconds);
    for (std::size_t k = 0; k < fields.size(); ++k) {
        if (k > 0 || options_.hostTime)
            row += options_.delimiter;
        row += fields[k].value;
    }
    addRow(std::move(row), values);
}

void LineRecorder::addRow(std::string row, const std::vector<double>& values)
{
    if (!triggered_) {
        const RecordTrigger& trigger = *options_.trigger;
        const auto k = static_cast<std::size_t>(trigger.column - 1);
        const std::optional<double> value =
            k < values.size() ? std::optional<double>(values[k]) : std::nullopt;
        const bool rises = value && lastTriggerValue_ && *lastTriggerValue_ <= trigger.level &&
                           *value > trigger.level;
        lastTriggerValue_ = value;
        if (!rises) {
            beforeTrigger_.push_back(std::move(row));
            while (beforeTrigger_.size() > static_cast<std::size_t>(std::max(0, trigger.before)))
                beforeTrigger_.pop_front();
            return;
        }
        triggered_ = true;
        for (std::string& kept : beforeTrigger_)
            rows_.push_back(std::move(kept));
        rowsTaken_ += beforeTrigger_.size();
        beforeTrigger_.clear();
    }
    rows_.push_back(std::move(row));
    ++rowsTaken_;
}

std::vector<std::string> LineRecorder::takeRows()
{
    std::vector<std::string> rows;
    rows.swap(rows_);
    return rows;
}

std::string LineRecorder::unreadMessage() const
{
    if (unread_ == 0)
        return {};
    if (unread_ == 1)
        return "1 received line could not be read; it is " + quotedLine(firstUnread_);
    return std::to_string(unread_) + " received lines could not be read; the first is " +
           quotedLine(firstUnread_);
}
