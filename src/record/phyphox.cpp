#include "record/phyphox.h"

#include "json/json_value.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>

namespace {

std::optional<JsonValue> parsed(std::string_view text)
{
    std::optional<JsonValue> json = parseJson(text);
    if (!json || !json->isObject())
        return std::nullopt;
    return json;
}

std::string shortest(double value)
{
    char text[32];
    return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
}

// A name in a query: letters, digits and "-._~" as they are, the rest as %XX.
std::string percentEncoded(std::string_view text)
{
    static const char* const hex = "0123456789ABCDEF";
    std::string encoded;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (std::isalnum(byte) || c == '-' || c == '.' || c == '_' || c == '~') {
            encoded += c;
        } else {
            encoded += '%';
            encoded += hex[byte >> 4];
            encoded += hex[byte & 15];
        }
    }
    return encoded;
}

std::optional<std::vector<double>> numbersOf(const JsonValue* buffer)
{
    const JsonValue* values = buffer ? buffer->member("buffer") : nullptr;
    if (!values || !values->isArray())
        return std::nullopt;
    std::vector<double> numbers;
    numbers.reserve(values->items.size());
    for (const JsonValue& value : values->items)
        numbers.push_back(value.isNumber() ? value.number : std::nan(""));
    return numbers;
}

} // namespace

std::optional<std::vector<ExportSet>> exportSetsOf(std::string_view config)
{
    const std::optional<JsonValue> json = parsed(config);
    const JsonValue* exports = json ? json->member("export") : nullptr;
    if (!exports || !exports->isArray())
        return std::nullopt;
    std::vector<ExportSet> sets;
    for (const JsonValue& set : exports->items) {
        const JsonValue* sources = set.member("sources");
        if (!sources || !sources->isArray())
            continue;
        ExportSet exported;
        exported.name = set.stringOr("set", "");
        for (const JsonValue& source : sources->items) {
            const JsonValue* buffer = source.member("buffer");
            if (!buffer || !buffer->isString())
                continue;
            exported.labels.push_back(source.stringOr("label", ""));
            exported.buffers.push_back(buffer->string);
        }
        if (!exported.buffers.empty())
            sets.push_back(std::move(exported));
    }
    return sets;
}

std::string pollRequest(const ExportSet& set, std::optional<double> lastTime)
{
    std::string request = "/get?";
    const std::string time = percentEncoded(set.buffers.front());
    for (std::size_t k = 0; k < set.buffers.size(); ++k) {
        if (k > 0)
            request += '&';
        request.append(percentEncoded(set.buffers[k])).append(1, '=');
        if (!lastTime) {
            request += "full";
            continue;
        }
        request += shortest(*lastTime);
        if (k > 0)
            request.append("%7C").append(time);
    }
    return request;
}

std::string latestTimeRequest(const ExportSet& set)
{
    return "/get?" + percentEncoded(set.buffers.front());
}

std::optional<double> latestTimeOf(std::string_view reply, const ExportSet& set)
{
    const std::optional<JsonValue> json = parsed(reply);
    const JsonValue* buffers = json ? json->member("buffer") : nullptr;
    const std::optional<std::vector<double>> times =
        buffers ? numbersOf(buffers->member(set.buffers.front())) : std::nullopt;
    if (!times || times->empty() || !std::isfinite(times->back()))
        return std::nullopt;
    return times->back();
}

std::optional<PhoneReply> readPhoneReply(std::string_view reply, const ExportSet& set)
{
    const std::optional<JsonValue> json = parsed(reply);
    const JsonValue* buffers = json ? json->member("buffer") : nullptr;
    if (!buffers || !buffers->isObject())
        return std::nullopt;
    std::vector<std::vector<double>> columns;
    for (const std::string& name : set.buffers) {
        std::optional<std::vector<double>> values = numbersOf(buffers->member(name));
        if (!values)
            return std::nullopt;
        columns.push_back(std::move(*values));
    }
    PhoneReply phone;
    if (const JsonValue* status = json->member("status"); status && status->isObject()) {
        phone.session = status->stringOr("session", "");
        phone.measuring = status->booleanOr("measuring", false);
    }
    // As many rows as the time buffer gives; a value a column lacks, or one
    // that is no number, leaves its row out.
    for (std::size_t i = 0; i < columns.front().size(); ++i) {
        std::vector<double> row;
        for (const std::vector<double>& column : columns)
            if (i < column.size() && std::isfinite(column[i]))
                row.push_back(column[i]);
        if (row.size() == columns.size())
            phone.rows.push_back(std::move(row));
    }
    return phone;
}

std::string phoneRowText(const std::vector<double>& row, char delimiter)
{
    std::string text;
    for (std::size_t k = 0; k < row.size(); ++k) {
        if (k > 0)
            text += delimiter;
        text += shortest(row[k]);
    }
    return text;
}
