#include "batch/json_text.h"

#include <charconv>
#include <cmath>

std::string jsonNumber(double value)
{
    if (!std::isfinite(value))
        return "null";
    char text[32];
    return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
}

std::string jsonString(const std::string& text)
{
    static const char hex[] = "0123456789abcdef";
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\')
            quoted += '\\';
        if (static_cast<unsigned char>(c) < 0x20) {
            quoted.append("\\u00").append(1, hex[c >> 4]).append(1, hex[c & 0xf]);
            continue;
        }
        quoted += c;
    }
    return quoted + "\"";
}
