#include "json/json_value.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <cstdint>

namespace {

// The ordered form keeps an object's members in the order of the text.
using Json = nlohmann::ordered_json;

JsonValue fromLibrary(const Json& json)
{
    if (json.is_boolean())
        return JsonValue::of(json.get<bool>());
    if (json.is_number())
        return JsonValue::of(json.get<double>());
    if (json.is_string())
        return JsonValue::of(json.get<std::string>());
    if (json.is_array()) {
        JsonValue value = JsonValue::array();
        value.items.reserve(json.size());
        for (const Json& item : json)
            value.items.push_back(fromLibrary(item));
        return value;
    }
    if (json.is_object()) {
        JsonValue value = JsonValue::object();
        for (const auto& [name, item] : json.items())
            value.members.emplace_back(name, fromLibrary(item));
        return value;
    }
    return JsonValue::null();
}

Json toLibrary(const JsonValue& value)
{
    switch (value.kind) {
    case JsonValue::Kind::Object: {
        Json object = Json::object();
        for (const auto& [name, item] : value.members)
            object[name] = toLibrary(item);
        return object;
    }
    case JsonValue::Kind::Array: {
        Json array = Json::array();
        for (const JsonValue& item : value.items)
            array.push_back(toLibrary(item));
        return array;
    }
    case JsonValue::Kind::Boolean:
        return value.boolean;
    case JsonValue::Kind::Number:
        if (!std::isfinite(value.number))
            return nullptr;
        // Whole numbers as whole numbers: "block": 1, not 1.0.
        if (value.number == std::trunc(value.number) &&
            std::fabs(value.number) < 9007199254740992.0)
            return static_cast<std::int64_t>(value.number);
        return value.number;
    case JsonValue::Kind::String:
        return value.string;
    case JsonValue::Kind::Null:
        break;
    }
    return nullptr;
}

} // namespace

JsonValue JsonValue::of(bool value)
{
    JsonValue json;
    json.kind = Kind::Boolean;
    json.boolean = value;
    return json;
}

JsonValue JsonValue::of(double value)
{
    JsonValue json;
    json.kind = Kind::Number;
    json.number = value;
    return json;
}

JsonValue JsonValue::of(std::string value)
{
    JsonValue json;
    json.kind = Kind::String;
    json.string = std::move(value);
    return json;
}

JsonValue JsonValue::array(std::vector<JsonValue> items)
{
    JsonValue json;
    json.kind = Kind::Array;
    json.items = std::move(items);
    return json;
}

JsonValue JsonValue::object()
{
    JsonValue json;
    json.kind = Kind::Object;
    return json;
}

const JsonValue* JsonValue::member(std::string_view name) const
{
    for (const auto& [memberName, value] : members)
        if (memberName == name)
            return &value;
    return nullptr;
}

JsonValue& JsonValue::set(std::string name, JsonValue value)
{
    members.emplace_back(std::move(name), std::move(value));
    return members.back().second;
}

JsonValue& JsonValue::add(JsonValue value)
{
    items.push_back(std::move(value));
    return items.back();
}

double JsonValue::numberOr(std::string_view name, double fallback) const
{
    const JsonValue* value = member(name);
    return value && value->isNumber() ? value->number : fallback;
}

std::string JsonValue::stringOr(std::string_view name, const std::string& fallback) const
{
    const JsonValue* value = member(name);
    return value && value->isString() ? value->string : fallback;
}

bool JsonValue::booleanOr(std::string_view name, bool fallback) const
{
    const JsonValue* value = member(name);
    return value && value->isBoolean() ? value->boolean : fallback;
}

std::optional<JsonValue> parseJson(std::string_view text)
{
    const Json json = Json::parse(text.begin(), text.end(), nullptr, false);
    if (json.is_discarded())
        return std::nullopt;
    return fromLibrary(json);
}

std::string writeJson(const JsonValue& value)
{
    // Text that is not UTF-8 is written with replacement characters, never refused.
    return toLibrary(value).dump(2, ' ', false, Json::error_handler_t::replace);
}
