#include "commands/calculate_column.h"

#include "data/fields.h"
#include "data/read_as_zero.h"
#include "data/text_intake.h"
#include "fit/equation.h"
#include "format/decimal_number.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <variant>

namespace {

constexpr const char* prompt =
    "Enter a formula for the new column, using c1, c2, ... for the columns and n for the row "
    "number (for example c2^2, ln(c2 - 21.5) or c1*100):";
constexpr const char* noDataRowMessage =
    "there is no data row in the box: a data row begins with a number";

// One line of the box with what ends it ("\r\n", "\r", or nothing for the
// last line).
struct BoxLine {
    std::string_view text;
    std::string_view end;
};

std::vector<BoxLine> boxLines(std::string_view box)
{
    std::vector<BoxLine> lines;
    std::size_t start = 0;
    while (start < box.size()) {
        std::size_t end = box.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.push_back({box.substr(start), {}});
            break;
        }
        const std::size_t length = box.compare(end, 2, "\r\n") == 0 ? 2 : 1;
        lines.push_back({box.substr(start, end - start), box.substr(end, length)});
        start = end + length;
    }
    return lines;
}

// What each name of the formula stands for: column K (from 1), or the row
// number (0).
std::variant<std::vector<int>, std::string> namesOfFormula(const Equation& formula)
{
    std::vector<int> columns;
    for (const std::string& name : formula.names()) {
        if (name == "n") {
            columns.push_back(0);
            continue;
        }
        int column = 0;
        const char* digits = name.data() + 1;
        const auto [end, error] = std::from_chars(digits, name.data() + name.size(), column);
        const bool isColumn = name.size() > 1 && name[0] == 'c' && digits[0] != '0' &&
                              error != std::errc::invalid_argument &&
                              end == name.data() + name.size();
        if (!isColumn)
            return "the formula uses \"" + name +
                   "\"; use c1, c2, ... for the columns and n for the row number";
        if (error == std::errc::result_out_of_range || column > maxTableColumns)
            return "the formula uses \"" + name + "\"; there are at most 100 columns";
        columns.push_back(column);
    }
    return columns;
}

// The numbers a data row gives the formula's names: a field that holds no
// number, or a column the row does not have, gives NaN.
void fillRow(Equation& formula, const std::vector<int>& columns, std::size_t row, std::size_t rows,
             std::string_view line, char delimiter)
{
    std::vector<std::optional<double>> fields;
    forEachField(line, delimiter, [&](int, std::string_view field) {
        if (fields.size() < static_cast<std::size_t>(maxTableColumns))
            fields.push_back(leadingNumber(field));
    });
    for (std::size_t k = 0; k < columns.size(); ++k) {
        double& value = formula.values(k, rows)[row];
        if (columns[k] == 0)
            value = static_cast<double>(row + 1);
        else if (static_cast<std::size_t>(columns[k]) <= fields.size() &&
                 fields[static_cast<std::size_t>(columns[k] - 1)])
            value = *fields[static_cast<std::size_t>(columns[k] - 1)];
        else
            value = std::nan("");
    }
}

std::string noNumberMessage(int rows, int line, std::string_view text)
{
    if (rows == 1)
        return "1 row gives no number for the formula; it is line " + std::to_string(line) + ": " +
               quotedLine(text);
    return std::to_string(rows) + " rows give no number for the formula; the first is line " +
           std::to_string(line) + ": " + quotedLine(text);
}

bool isDataRow(std::string_view line, char delimiter)
{
    return leadingNumber(line.substr(0, line.find(delimiter))).has_value();
}

} // namespace

void calculateColumn(CommandContext& context)
{
    WorkingState& state = context.state;
    const std::string answer = context.ui.askText(prompt, state.lastFormula);
    if (answer.find_first_not_of(" \t") == std::string::npos)
        return;
    state.lastFormula = answer;
    auto read = Equation::read(answer);
    if (const auto* error = std::get_if<EquationError>(&read)) {
        context.ui.showMessage("the formula cannot be read at character " +
                               std::to_string(error->character) + ": " + error->reason);
        return;
    }
    Equation& formula = std::get<Equation>(read);
    const auto columns = namesOfFormula(formula);
    if (const auto* refusal = std::get_if<std::string>(&columns)) {
        context.ui.showMessage(*refusal);
        return;
    }
    if (!readText(context))
        return;

    const std::string box = context.ui.readBox();
    const std::vector<BoxLine> lines = boxLines(box);
    const char delimiter = state.delimiter;
    std::vector<std::size_t> dataRows;
    std::optional<std::size_t> header;
    std::optional<std::size_t> lastNonEmpty;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (isDataRow(lines[i].text, delimiter)) {
            if (dataRows.empty())
                header = lastNonEmpty;
            dataRows.push_back(i);
        } else if (!lines[i].text.empty()) {
            lastNonEmpty = i;
        }
    }
    if (dataRows.empty()) {
        context.ui.showMessage(noDataRowMessage);
        return;
    }

    const auto& names = std::get<std::vector<int>>(columns);
    for (std::size_t r = 0; r < dataRows.size(); ++r)
        fillRow(formula, names, r, dataRows.size(), lines[dataRows[r]].text, delimiter);
    std::vector<double> values(dataRows.size());
    formula.evaluate(values.size(), values.data());

    std::string result;
    result.reserve(box.size() + 16 * dataRows.size());
    int nonEmpty = 0, withoutNumber = 0, firstWithout = 0;
    std::string_view firstWithoutText;
    for (std::size_t i = 0, r = 0; i < lines.size(); ++i) {
        const BoxLine& line = lines[i];
        nonEmpty += !line.text.empty();
        result += line.text;
        if (header == i) {
            result += delimiter;
            result += answer;
        } else if (r < dataRows.size() && dataRows[r] == i) {
            result += delimiter;
            if (std::isfinite(values[r]))
                result += decimalNumber(values[r]);
            else if (withoutNumber++ == 0) {
                firstWithout = nonEmpty;
                firstWithoutText = line.text;
            }
            ++r;
        }
        result += line.end;
    }
    context.ui.replaceBox(result);
    if (withoutNumber > 0)
        context.ui.showMessage(noNumberMessage(withoutNumber, firstWithout, firstWithoutText));
}
