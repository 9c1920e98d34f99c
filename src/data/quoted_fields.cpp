#include "data/quoted_fields.h"

#include <optional>

namespace {

bool endsLine(char c) { return c == '\r' || c == '\n'; }

// A quoted field starting at `start` (its opening quote) of the line: the
// position after its closing quote and its content, or nothing when the
// quotes do not close before the line ends.
struct QuotedField {
    std::size_t end = 0;
    std::string content;
};

std::optional<QuotedField> quotedFieldAt(std::string_view text, std::size_t start)
{
    QuotedField field;
    for (std::size_t i = start + 1; i < text.size() && !endsLine(text[i]); ++i) {
        if (text[i] != '"') {
            field.content += text[i];
            continue;
        }
        if (i + 1 < text.size() && text[i + 1] == '"') { // a doubled quote
            field.content += '"';
            ++i;
            continue;
        }
        field.end = i + 1;
        return field;
    }
    return std::nullopt;
}

std::string plural(int n, const char* one, const char* many)
{
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

} // namespace

std::string maskQuotedFields(std::string_view text)
{
    std::string masked(text);
    bool inQuotes = false;
    for (char& c : masked) {
        if (endsLine(c)) {
            inQuotes = false;
            continue;
        }
        if (c == '"')
            inQuotes = !inQuotes;
        if (inQuotes || c == '"')
            c = 'q';
    }
    return masked;
}

UnquotedText unquoteFields(std::string_view text, char delimiter)
{
    UnquotedText result;
    result.text.reserve(text.size());
    bool fieldStart = true;
    for (std::size_t i = 0; i < text.size();) {
        const char c = text[i];
        if (fieldStart && c == '"') {
            const std::optional<QuotedField> field = quotedFieldAt(text, i);
            // Only a field that ends at its closing quote.
            if (field && (field->end == text.size() || text[field->end] == delimiter ||
                          endsLine(text[field->end]))) {
                const bool keepsQuotes = field->content.find(delimiter) != std::string::npos;
                if (keepsQuotes)
                    result.text.append(text.substr(i, field->end - i));
                else
                    result.text += field->content;
                ++(keepsQuotes ? result.kept : result.unquoted);
                i = field->end;
                fieldStart = false;
                continue;
            }
        }
        result.text += c;
        fieldStart = c == delimiter || endsLine(c);
        ++i;
    }
    return result;
}

std::string unquotedNote(const UnquotedText& unquoted)
{
    std::string note;
    if (unquoted.unquoted > 0)
        note = "The quotes around " + plural(unquoted.unquoted, "field were", "fields were") +
               " removed; the box holds their values.";
    if (unquoted.kept > 0)
        note += std::string(note.empty() ? "" : " ") +
                plural(unquoted.kept, "field keeps its quotes", "fields keep their quotes") +
                ": what they hold has the delimiter in it.";
    return note;
}
