#include "record/phyphox.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>

namespace {

using Json = nlohmann::json;

std::optional<Json> parsed(std::string_view text)
{
    Json json = Json::parse(text.begin(), text.end(), nullptr, false);
    if (json.is_discarded() || !json.is_object())
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

std::optional<std::vector<double>> numbersOf(const Json& buffer)
{
    if (!buffer.is_object() || !buffer.contains("buffer") || !buffer["buffer"].is_array())
        return std::nullopt;
    std::vector<double> values;
    for (const Json& value : buffer["buffer"])
        values.push_back(value.is_number() ? value.get<double>() : std::nan(""));
    return values;
}

} // namespace

std::optional<std::vector<ExportSet>> exportSetsOf(std::string_view config)
{
    const std::optional<Json> json = parsed(config);
    if (!json || !json->contains("export") || !(*json)["export"].is_array())
        return std::nullopt;
    std::vector<ExportSet> sets;
    for (const Json& set : (*json)["export"]) {
        if (!set.is_object() || !set.contains("sources") || !set["sources"].is_array())
            continue;
        ExportSet exported;
        exported.name = set.value("set", std::string());
        for (const Json& source : set["sources"]) {
            if (!source.is_object() || !source.contains("buffer") || !source["buffer"].is_string())
                continue;
            exported.labels.push_back(source.value("label", std::string()));
            exported.buffers.push_back(source["buffer"].get<std::string>());
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
    const std::optional<Json> json = parsed(reply);
    if (!json || !json->contains("buffer") || !(*json)["buffer"].is_object() ||
        !(*json)["buffer"].contains(set.buffers.front()))
        return std::nullopt;
    const std::optional<std::vector<double>> times =
        numbersOf((*json)["buffer"][set.buffers.front()]);
    if (!times || times->empty() || !std::isfinite(times->back()))
        return std::nullopt;
    return times->back();
}

std::optional<PhoneReply> readPhoneReply(std::string_view reply, const ExportSet& set)
{
    const std::optional<Json> json = parsed(reply);
    if (!json || !json->contains("buffer") || !(*json)["buffer"].is_object())
        return std::nullopt;
    const Json& buffers = (*json)["buffer"];
    std::vector<std::vector<double>> columns;
    for (const std::string& name : set.buffers) {
        if (!buffers.contains(name))
            return std::nullopt;
        std::optional<std::vector<double>> values = numbersOf(buffers[name]);
        if (!values)
            return std::nullopt;
        columns.push_back(std::move(*values));
    }
    PhoneReply phone;
    if (json->contains("status") && (*json)["status"].is_object()) {
        const Json& status = (*json)["status"];
        phone.session = status.value("session", std::string());
        phone.measuring = status.value("measuring", false);
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
