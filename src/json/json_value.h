#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// A JSON document as plain values, read and written through a well-kept
// library (nlohmann's JSON, the only code that includes it): the phone's
// replies and the session file's choices.
struct JsonValue {
    enum class Kind { Null, Boolean, Number, String, Array, Object };
    Kind kind = Kind::Null;
    bool boolean = false;
    double number = 0;
    std::string string;
    std::vector<JsonValue> items;                            // of an array
    std::vector<std::pair<std::string, JsonValue>> members; // of an object, in order

    static JsonValue null() { return {}; }
    static JsonValue of(bool value);
    static JsonValue of(double value);
    static JsonValue of(int value) { return of(static_cast<double>(value)); }
    static JsonValue of(std::string value);
    static JsonValue of(const char* value) { return of(std::string(value)); }
    static JsonValue array(std::vector<JsonValue> items = {});
    static JsonValue object();

    bool isNull() const { return kind == Kind::Null; }
    bool isNumber() const { return kind == Kind::Number; }
    bool isString() const { return kind == Kind::String; }
    bool isArray() const { return kind == Kind::Array; }
    bool isObject() const { return kind == Kind::Object; }
    bool isBoolean() const { return kind == Kind::Boolean; }

    // An object's member, or nothing (also for a value that is no object).
    const JsonValue* member(std::string_view name) const;
    // Adds a member to an object, keeping the order they are added in.
    JsonValue& set(std::string name, JsonValue value);
    // An array's item added at its end.
    JsonValue& add(JsonValue value);

    // The member's value when it is of that kind; the fallback otherwise.
    double numberOr(std::string_view name, double fallback) const;
    std::string stringOr(std::string_view name, const std::string& fallback) const;
    bool booleanOr(std::string_view name, bool fallback) const;
};

// The document a text holds; nothing when it is not one whole JSON value.
std::optional<JsonValue> parseJson(std::string_view text);

// The value as JSON text, indented by two blanks a level; numbers in the
// shortest form that reads back as the same double (NaN and infinities as
// null).
std::string writeJson(const JsonValue& value);
