#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Data files from loggers and spreadsheets, brought into the box.

// A recording of a million lines and more; larger files are refused, as the
// box would take long to show them.
inline constexpr std::uintmax_t largestDataFile = 32 * 1024 * 1024;

enum class SourceEncoding { Utf8, Utf16LE, Utf16BE, Windows1252 };

// Turns bytes written in an encoding into UTF-8; nothing when they are not
// valid in it. The window uses Qt's converters, the command line iconv.
using TextDecoder = std::function<std::optional<std::string>(std::string_view, SourceEncoding)>;

// A file's text for the box (UTF-8, CR LF line breaks), or, when it cannot
// be used, the message that names the file and the reason.
struct DataFileText {
    std::string text;
    std::string refusal; // empty when the text can be used
};

// Reads a data file: a sound file (WAV, FLAC, Ogg, AIFF) as its samples,
// "t (s),left[,right]"; UTF-8 with or without a byte-order mark, UTF-16 LE or
// BE with its mark, otherwise (not valid UTF-8) Windows-1252. Refuses a file
// that cannot be read, a folder, a file larger than largestDataFile and a
// binary file (NUL bytes in its first 8 KiB, other than UTF-16 with its mark):
// "it is not a text file (it may be a picture, a spreadsheet or a program)".
DataFileText readDataFile(const std::filesystem::path& path, const TextDecoder& decode);

// The same for bytes already read; `name` is how messages name the file.
DataFileText decodeDataFile(std::string_view bytes, const std::string& name,
                            const TextDecoder& decode);

// True when the text writes decimals with a comma ("0,1") and separates its
// fields with semicolons or tabs, in at least half of its lines: such a file
// comes from a decimal-comma spreadsheet. Never for comma-separated files.
bool writesDecimalComma(std::string_view text);

// Every comma that stands between two digits becomes a point.
std::string decimalCommasToPoints(std::string_view text);

// The text's non-empty lines; CR LF, CR and LF end a line.
std::vector<std::string_view> nonEmptyLinesOf(std::string_view text);

// The delimiter a file's lines use when none holds the one in force and
// another splits at least half of them; a comma between two digits of a
// decimal-comma file ("1,5;2,25") is no delimiter. Nothing otherwise.
std::optional<char> delimiterOfFile(std::string_view text, char inForce);

// "This file separates its values with semicolons; the delimiter is the
// comma. Make the semicolon the delimiter?"
std::string delimiterQuestion(char found, char inForce);

// "This file has 5000 lines; the commands use at most the first 1000." for a
// text of more non-empty lines than the commands use; nothing otherwise.
std::optional<std::string> beyondTheCommands(std::string_view text);
