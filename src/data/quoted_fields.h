#pragma once

#include <string>
#include <string_view>

// Fields in double quotes, as several loggers and spreadsheets write every
// field ("0,5";"1,294"), read as RFC 4180 reads them: the field is what
// stands between the quotes, a doubled quote inside is one quote, and a
// delimiter inside stays inside the field.

// The text with every character of a quoted field (its quotes too) made a
// letter, so that what the quotes hold takes no part in finding the
// delimiter or decimal commas. Line breaks stay where they are.
std::string maskQuotedFields(std::string_view text);

// The text with each field that is wholly in quotes replaced by its content;
// a field whose content holds the delimiter keeps its quotes (without them it
// would become two fields), and quotes that do not close on their line stay
// as they are. Other text is unchanged.
struct UnquotedText {
    std::string text;
    int unquoted = 0; // fields whose quotes were removed
    int kept = 0;     // quoted fields that keep their quotes
};
UnquotedText unquoteFields(std::string_view text, char delimiter);

// "The quotes around 3 fields were removed; the box holds their values."
// and, when some were kept, why; empty when nothing was unquoted or kept.
std::string unquotedNote(const UnquotedText& unquoted);
