#include "workbook_reader.h"

#include <unzip.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <memory>

namespace {

struct Unzip {
    unzFile file;
    explicit Unzip(const std::filesystem::path& path) : file(unzOpen64(path.c_str())) {}
    ~Unzip()
    {
        if (file)
            unzClose(file);
    }
};

std::optional<std::string> entry(const Unzip& zip, const std::string& name)
{
    if (unzLocateFile(zip.file, name.c_str(), 1) != UNZ_OK ||
        unzOpenCurrentFile(zip.file) != UNZ_OK)
        return std::nullopt;
    std::string bytes;
    char buffer[1 << 16];
    for (int count; (count = unzReadCurrentFile(zip.file, buffer, sizeof buffer)) > 0;)
        bytes.append(buffer, static_cast<std::size_t>(count));
    unzCloseCurrentFile(zip.file);
    return bytes;
}

std::string unescaped(std::string_view text)
{
    std::string plain;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '&') {
            plain.push_back(text[i]);
            continue;
        }
        const std::size_t end = text.find(';', i);
        const std::string_view entity = text.substr(i + 1, end - i - 1);
        plain.push_back(entity == "amp"    ? '&'
                        : entity == "lt"   ? '<'
                        : entity == "gt"   ? '>'
                        : entity == "quot" ? '"'
                                           : '\'');
        i = end;
    }
    return plain;
}

// The value of attribute `name` in a start tag, or nothing.
std::optional<std::string> attribute(std::string_view tag, const std::string& name)
{
    const std::string key = " " + name + "=\"";
    const std::size_t at = tag.find(key);
    if (at == std::string_view::npos)
        return std::nullopt;
    const std::size_t start = at + key.size();
    return unescaped(tag.substr(start, tag.find('"', start) - start));
}

// The text between <name> (or <name ...>) and </name> in `xml` from `from`.
std::string element(std::string_view xml, const std::string& name)
{
    const std::size_t open = xml.find("<" + name);
    if (open == std::string_view::npos)
        return {};
    const std::size_t start = xml.find('>', open) + 1;
    return unescaped(xml.substr(start, xml.find("</" + name + ">", start) - start));
}

// "B3" as (2, 1).
std::pair<std::size_t, std::size_t> cellPlace(const std::string& reference)
{
    std::size_t column = 0, i = 0;
    for (; i < reference.size() && reference[i] >= 'A' && reference[i] <= 'Z'; ++i)
        column = column * 26 + static_cast<std::size_t>(reference[i] - 'A' + 1);
    std::size_t row = 0;
    std::from_chars(reference.data() + i, reference.data() + reference.size(), row);
    return {row - 1, column - 1};
}

std::vector<std::string> sharedStrings(const Unzip& zip)
{
    std::vector<std::string> strings;
    const std::optional<std::string> xml = entry(zip, "xl/sharedStrings.xml");
    for (std::size_t at = xml ? xml->find("<si>") : std::string::npos; at != std::string::npos;
         at = xml->find("<si>", at + 1))
        strings.push_back(element(std::string_view(*xml).substr(at), "t"));
    return strings;
}

std::vector<ReadCell> cellsOf(std::string_view xml, const std::vector<std::string>& shared)
{
    std::vector<ReadCell> cells;
    for (std::size_t at = xml.find("<c "); at != std::string_view::npos;
         at = xml.find("<c ", at + 1)) {
        const std::size_t tagEnd = xml.find('>', at);
        const std::string_view tag = xml.substr(at, tagEnd - at + 1);
        const bool closed = tag.size() >= 2 && tag[tag.size() - 2] == '/';
        const std::size_t end = closed ? tagEnd : xml.find("</c>", tagEnd);
        const std::string_view body = xml.substr(tagEnd + 1, end - tagEnd - 1);
        ReadCell cell;
        std::tie(cell.row, cell.column) = cellPlace(attribute(tag, "r").value_or("A1"));
        const std::string type = attribute(tag, "t").value_or("n");
        if (body.find("<f") != std::string_view::npos) {
            cell.kind = ReadCell::Kind::Formula;
            cell.value = element(body, "f");
        } else if (type == "inlineStr") {
            cell.value = element(body, "t");
        } else if (type == "s") {
            cell.value = shared.at(std::stoul(element(body, "v")));
        } else if (type == "str") {
            cell.value = element(body, "v");
        } else if (type == "n") {
            cell.kind = ReadCell::Kind::Number;
            cell.value = element(body, "v");
        }
        if (!closed || type != "n")
            cells.push_back(std::move(cell));
    }
    return cells;
}

} // namespace

std::optional<ReadCell> ReadSheet::at(std::size_t row, std::size_t column) const
{
    const auto found = std::lower_bound(
        cells.begin(), cells.end(), std::pair(row, column),
        [](const ReadCell& cell, const std::pair<std::size_t, std::size_t>& place) {
            return std::pair(cell.row, cell.column) < place;
        });
    if (found == cells.end() || found->row != row || found->column != column)
        return std::nullopt;
    return *found;
}

ReadWorkbook readWorkbook(const std::filesystem::path& path)
{
    ReadWorkbook workbook;
    const Unzip zip(path);
    if (!zip.file)
        return {{}, "not a zip archive"};
    const std::optional<std::string> book = entry(zip, "xl/workbook.xml");
    if (!book)
        return {{}, "no xl/workbook.xml"};
    const std::vector<std::string> shared = sharedStrings(zip);
    for (std::size_t at = book->find("<sheet "); at != std::string::npos;
         at = book->find("<sheet ", at + 1)) {
        const std::string_view tag = std::string_view(*book).substr(at, book->find('>', at) - at);
        ReadSheet sheet;
        sheet.name = attribute(tag, "name").value_or("");
        const std::string file =
            "xl/worksheets/sheet" + std::to_string(workbook.sheets.size() + 1) + ".xml";
        const std::optional<std::string> xml = entry(zip, file);
        if (!xml)
            return {{}, "no " + file};
        sheet.cells = cellsOf(*xml, shared);
        workbook.sheets.push_back(std::move(sheet));
    }
    return workbook;
}

double numberOf(const std::string& value)
{
    double number = NAN;
    std::from_chars(value.data(), value.data() + value.size(), number);
    return number;
}
