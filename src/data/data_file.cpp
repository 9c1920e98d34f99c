#include "data/data_file.h"

#include "data/delimiters.h"
#include "sound/sound_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <system_error>

namespace {

constexpr std::size_t binaryCheckLength = 8 * 1024;

bool startsWith(std::string_view bytes, std::string_view mark) { return bytes.starts_with(mark); }

bool isDigit(char c) { return c >= '0' && c <= '9'; }

DataFileText refused(const std::string& name, const std::string& reason)
{
    return {{}, "could not open " + name + ": " + reason};
}

// CR LF, LF alone and CR alone all become CR LF.
std::string withCrLfLineBreaks(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            out += "\r\n";
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else if (text[i] == '\n') {
            out += "\r\n";
        } else {
            out += text[i];
        }
    }
    return out;
}

// The bytes as UTF-8 text: by the byte-order mark, else UTF-8 if valid,
// else Windows-1252.
std::optional<std::string> decodeBytes(std::string_view bytes, const TextDecoder& decode)
{
    const bool utf16LE = startsWith(bytes, "\xFF\xFE");
    if (utf16LE || startsWith(bytes, "\xFE\xFF")) {
        if (bytes.size() % 2 != 0) // cut off inside a character
            return std::nullopt;
        return decode(bytes.substr(2), utf16LE ? SourceEncoding::Utf16LE : SourceEncoding::Utf16BE);
    }
    if (startsWith(bytes, "\xEF\xBB\xBF"))
        bytes.remove_prefix(3);
    if (std::optional<std::string> utf8 = decode(bytes, SourceEncoding::Utf8))
        return utf8;
    return decode(bytes, SourceEncoding::Windows1252);
}

DataFileText tooLarge(const std::string& name) { return refused(name, "it is larger than 32 MB"); }

bool looksBinary(std::string_view bytes)
{
    const bool utf16 = startsWith(bytes, "\xFF\xFE") || startsWith(bytes, "\xFE\xFF");
    return !utf16 && bytes.substr(0, binaryCheckLength).find('\0') != std::string_view::npos;
}

} // namespace

DataFileText decodeDataFile(std::string_view bytes, const std::string& name,
                            const TextDecoder& decode)
{
    if (bytes.size() > largestDataFile)
        return tooLarge(name);
    if (looksLikeSound(bytes)) {
        SoundText sound = soundFileText(bytes);
        return sound.refusal.empty() ? DataFileText{std::move(sound.text), {}}
                                     : refused(name, sound.refusal);
    }
    if (looksBinary(bytes))
        return refused(name, "it is not a text file (it may be a picture, a spreadsheet or a "
                             "program)");
    const std::optional<std::string> text = decodeBytes(bytes, decode);
    if (!text)
        return refused(name, "its text cannot be decoded");
    return {withCrLfLineBreaks(*text), {}};
}

DataFileText readDataFile(const std::filesystem::path& path, const TextDecoder& decode)
{
    const std::string name = path.string();
    std::error_code error;
    if (std::filesystem::is_directory(path, error))
        return refused(name, "it is a folder, not a file");
    errno = 0;
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return refused(name, errno ? std::strerror(errno) : "it cannot be read");
    // Read in pieces, so that pipes and devices work too, and no further than
    // shows a file is too large.
    std::string bytes;
    char piece[64 * 1024];
    while (file && bytes.size() <= largestDataFile) {
        file.read(piece, sizeof piece);
        bytes.append(piece, static_cast<std::size_t>(file.gcount()));
    }
    if (file.bad())
        return refused(name, "it cannot be read");
    return decodeDataFile(bytes, name, decode);
}

bool writesDecimalComma(std::string_view text)
{
    int lines = 0, separated = 0;
    bool commaBetweenDigits = false;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view line = text.substr(start, end - start);
        if (!line.empty()) {
            ++lines;
            separated += line.find_first_of(";\t") != std::string_view::npos;
            for (std::size_t i = 1; i + 1 < line.size() && !commaBetweenDigits; ++i)
                commaBetweenDigits = line[i] == ',' && isDigit(line[i - 1]) && isDigit(line[i + 1]);
        }
        start = end + 1;
    }
    return commaBetweenDigits && separated > 0 && 2 * separated >= lines;
}

std::string decimalCommasToPoints(std::string_view text)
{
    std::string out(text);
    for (std::size_t i = 1; i + 1 < out.size(); ++i)
        if (out[i] == ',' && isDigit(out[i - 1]) && isDigit(out[i + 1]))
            out[i] = '.';
    return out;
}

std::vector<std::string_view> nonEmptyLinesOf(std::string_view text)
{
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos)
            end = text.size();
        if (end > start)
            lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

std::optional<char> delimiterOfFile(std::string_view text, char inForce)
{
    return otherDelimiterOfLines(nonEmptyLinesOf(text), inForce, writesDecimalComma(text));
}

std::string delimiterQuestion(char found, char inForce)
{
    return std::string("This file separates its values with ") + delimiterNamed(found).plural +
           "; the delimiter is the " + delimiterNamed(inForce).name + ". Make the " +
           delimiterNamed(found).name + " the delimiter?";
}

std::optional<std::string> beyondTheCommands(std::string_view text)
{
    const std::size_t lines = nonEmptyLinesOf(text).size();
    if (lines <= 1000)
        return std::nullopt;
    return "This file has " + std::to_string(lines) +
           " lines; the commands use at most the first 1000.";
}
