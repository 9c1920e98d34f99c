#include "commands/calculate_column.h"

#include "commands/formula_columns.h"
#include "data/column_heads.h"
#include "data/data_field.h"
#include "data/fields.h"
#include "data/read_as_zero.h"
#include "data/text_intake.h"
#include "format/decimal_number.h"
#include "formula/equation.h"
#include "formula/propagation.h"

#include <algorithm>
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

bool isDataRow(std::string_view line, char delimiter)
{
    return readDataField(line.substr(0, line.find(delimiter))).beginsWithNumber;
}

// The box as the command sees it: its lines, which of them are data rows,
// and the header line just above the first data row.
struct BoxRows {
    std::vector<BoxLine> lines;
    std::vector<std::size_t> dataRows;
    std::optional<std::size_t> header;
    int columns = 0; // fields of the widest data row

    BoxRows(std::string_view box, char delimiter) : lines(boxLines(box))
    {
        std::optional<std::size_t> lastNonEmpty;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (isDataRow(lines[i].text, delimiter)) {
                if (dataRows.empty())
                    header = lastNonEmpty;
                dataRows.push_back(i);
                columns = std::max(columns, fieldCount(lines[i].text, delimiter));
            } else if (!lines[i].text.empty()) {
                lastNonEmpty = i;
            }
        }
    }

    static int fieldCount(std::string_view line, char delimiter)
    {
        const auto count = std::count(line.begin(), line.end(), delimiter) + 1;
        return static_cast<int>(std::min<long>(count, maxTableColumns));
    }
};

// The number in each of the row's first 100 fields, if it holds one.
std::vector<std::optional<double>> rowNumbers(std::string_view line, char delimiter)
{
    std::vector<std::optional<double>> fields;
    forEachField(line, delimiter, [&](int, std::string_view field) {
        if (fields.size() < static_cast<std::size_t>(maxTableColumns))
            fields.push_back(readDataField(field).number);
    });
    return fields;
}

// Field k (from 1) of a row: NaN where it holds no number or is missing.
double fieldValue(const std::vector<std::optional<double>>& fields, int column)
{
    const auto k = static_cast<std::size_t>(column - 1);
    return column >= 1 && k < fields.size() && fields[k] ? *fields[k] : std::nan("");
}

// What the formula's names stand for: their columns (0 for n) and, for each,
// the column (from 1) of its uncertainty, or 0 when it has none.
struct FormulaInputs {
    std::vector<int> columns;
    std::vector<int> uncertaintyColumns;

    bool anyUncertainty() const
    {
        return std::any_of(uncertaintyColumns.begin(), uncertaintyColumns.end(),
                           [](int column) { return column > 0; });
    }
};

FormulaInputs inputsOf(std::vector<int> columns, const ColumnHeads& heads)
{
    FormulaInputs inputs{std::move(columns), {}};
    for (const int column : inputs.columns)
        inputs.uncertaintyColumns.push_back(column > 0 ? heads.uncertaintyColumnOf(column - 1) + 1
                                                       : 0);
    return inputs;
}

// The names' values in one data row (row r from 0) and their uncertainties:
// 0 for a name without an uncertainty column, NaN where its uncertainty
// field holds no number or a negative one.
struct RowInputs {
    std::vector<double> values;
    std::vector<double> uncertainties;

    bool uncertaintyMissing() const
    {
        return std::any_of(uncertainties.begin(), uncertainties.end(),
                           [](double u) { return std::isnan(u); });
    }
};

RowInputs rowInputs(const FormulaInputs& inputs, std::size_t r, std::string_view line,
                    char delimiter)
{
    const std::vector<std::optional<double>> fields = rowNumbers(line, delimiter);
    RowInputs row;
    for (std::size_t k = 0; k < inputs.columns.size(); ++k) {
        const int column = inputs.columns[k];
        row.values.push_back(column == 0 ? static_cast<double>(r + 1) : fieldValue(fields, column));
        const int uncertaintyColumn = inputs.uncertaintyColumns[k];
        const double u = uncertaintyColumn > 0 ? fieldValue(fields, uncertaintyColumn) : 0;
        row.uncertainties.push_back(u >= 0 ? u : std::nan(""));
    }
    return row;
}

// Rows that a message counts, and the first of them.
struct CountedRows {
    int rows = 0;
    int firstLine = 0; // counted as the box's non-empty lines from 1
    std::string_view firstText;

    void add(int line, std::string_view text)
    {
        if (rows++ == 0) {
            firstLine = line;
            firstText = text;
        }
    }

    // "2 rows WHAT_MANY; the first is line 7: "TEXT"", "1 row WHAT_ONE; it is ...".
    std::string sentence(const std::string& whatOne, const std::string& whatMany) const
    {
        const std::string where =
            "line " + std::to_string(firstLine) + ": " + quotedLine(firstText);
        if (rows == 1)
            return "1 row " + whatOne + "; it is " + where;
        return std::to_string(rows) + " rows " + whatMany + "; the first is " + where;
    }
};

// The value and uncertainty fields of each data row, and the rows the
// messages name.
struct Calculated {
    std::vector<std::string> values;
    std::vector<std::string> uncertainties; // empty without uncertainty columns
    CountedRows withoutNumber, withoutUncertainty, beyondFirstOrder;

    std::vector<std::string> messages() const
    {
        std::vector<std::string> sentences;
        if (withoutNumber.rows > 0)
            sentences.push_back(withoutNumber.sentence("gives no number for the formula",
                                                       "give no number for the formula"));
        if (withoutUncertainty.rows > 0)
            sentences.push_back(withoutUncertainty.sentence(
                "gets no uncertainty: an uncertainty column holds no number there, or a negative "
                "one",
                "get no uncertainty: an uncertainty column holds no number there, or a negative "
                "one"));
        if (beyondFirstOrder.rows > 0)
            sentences.push_back(beyondFirstOrder.sentence(
                "has an uncertainty that is only a rough guide: the formula bends too much within "
                "± u for the first-order rule",
                "have an uncertainty that is only a rough guide: the formula bends too much within "
                "± u for the first-order rule"));
        return sentences;
    }
};

// The value of every row in one pass over the formula's buffers.
std::vector<double> valuesOfRows(Equation& formula, const std::vector<RowInputs>& rows)
{
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (std::size_t k = 0; k < rows[r].values.size(); ++k)
            formula.values(k, rows.size())[r] = rows[r].values[k];
    std::vector<double> values(rows.size());
    formula.evaluate(values.size(), values.data());
    return values;
}

// The uncertainty field of a row whose value is finite.
std::string uncertaintyField(Equation& formula, const RowInputs& row, int line,
                             std::string_view text, Calculated& calculated)
{
    if (row.uncertaintyMissing()) {
        calculated.withoutUncertainty.add(line, text);
        return {};
    }
    const Propagated propagated = propagateIndependent(formula, row.values, row.uncertainties);
    if (!firstOrderHolds(formula, row.values, row.uncertainties, propagated))
        calculated.beyondFirstOrder.add(line, text);
    return std::isfinite(propagated.uncertainty) ? decimalNumber(propagated.uncertainty)
                                                 : std::string();
}

Calculated calculate(Equation& formula, const FormulaInputs& inputs, const BoxRows& box,
                     char delimiter)
{
    std::vector<RowInputs> rows;
    for (std::size_t r = 0; r < box.dataRows.size(); ++r)
        rows.push_back(rowInputs(inputs, r, box.lines[box.dataRows[r]].text, delimiter));
    const std::vector<double> values = valuesOfRows(formula, rows);
    const bool withUncertainty = inputs.anyUncertainty();
    Calculated calculated;
    int nonEmpty = 0;
    for (std::size_t i = 0, r = 0; i < box.lines.size() && r < rows.size(); ++i) {
        const std::string_view text = box.lines[i].text;
        nonEmpty += !text.empty();
        if (box.dataRows[r] != i)
            continue;
        const bool finite = std::isfinite(values[r]);
        calculated.values.push_back(finite ? decimalNumber(values[r]) : std::string());
        if (!finite)
            calculated.withoutNumber.add(nonEmpty, text);
        if (withUncertainty)
            calculated.uncertainties.push_back(
                finite ? uncertaintyField(formula, rows[r], nonEmpty, text, calculated)
                       : std::string());
        ++r;
    }
    return calculated;
}

// The box with the new column (and its uncertainty column) after every
// data row and the formula's text after the header.
std::string boxWithColumns(const BoxRows& box, const Calculated& calculated,
                           const std::string& formula, char delimiter)
{
    const bool withUncertainty = !calculated.uncertainties.empty();
    std::string result;
    for (std::size_t i = 0, r = 0; i < box.lines.size(); ++i) {
        result += box.lines[i].text;
        if (box.header == i) {
            result.append(1, delimiter).append(formula);
            if (withUncertainty)
                result.append(1, delimiter).append("u(" + formula + ")");
        } else if (r < box.dataRows.size() && box.dataRows[r] == i) {
            result.append(1, delimiter).append(calculated.values[r]);
            if (withUncertainty)
                result.append(1, delimiter).append(calculated.uncertainties[r]);
            ++r;
        }
        result += box.lines[i].end;
    }
    return result;
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
    writeTempFile(context); // every data row, however many

    const std::string text = context.ui.readBox();
    const char delimiter = state.delimiter;
    const BoxRows box(text, delimiter);
    if (box.dataRows.empty()) {
        context.ui.showMessage(noDataRowMessage);
        return;
    }
    const ColumnHeads heads =
        readColumnHeads(box.header ? headerFields(box.lines[*box.header].text, delimiter)
                                   : std::vector<std::string>{});
    const auto columns = columnsOfFormula(formula.names(), heads, box.columns);
    if (const auto* refusal = std::get_if<std::string>(&columns)) {
        context.ui.showMessage(*refusal);
        return;
    }
    const std::vector<int>& used = std::get<std::vector<int>>(columns);
    for (std::size_t k = 0; k < used.size(); ++k)
        if (used[k] > box.columns) {
            context.ui.showMessage("the formula uses " + formula.names()[k] +
                                   "; the rows have at most " + std::to_string(box.columns) +
                                   (box.columns == 1 ? " field" : " fields"));
            return;
        }
    const FormulaInputs inputs = inputsOf(used, heads);
    const Calculated calculated = calculate(formula, inputs, box, delimiter);
    context.ui.replaceBox(boxWithColumns(box, calculated, answer, delimiter));
    for (const std::string& message : calculated.messages())
        context.ui.showMessage(message);
}
