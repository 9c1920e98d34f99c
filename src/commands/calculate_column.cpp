#include "commands/calculate_column.h"

#include "commands/formula_columns.h"
#include "data/column_heads.h"
#include "data/data_field.h"
#include "data/field_problems.h"
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
// and the header line just above the first data row. Where most rows of that
// first block have as many fields as the header names, a row there with more
// (a decimal comma in a comma file: "7,14,0" under "t,x") is left out.
struct BoxRows {
    std::vector<BoxLine> lines;
    std::vector<std::size_t> dataRows;
    std::vector<int> lineNumbers; // of each data row, as the messages count lines
    std::vector<bool> leftOut;    // each data row's
    std::optional<std::size_t> header;
    int columns = 0; // fields of the widest data row
    FieldProblems problems;

    std::size_t size = 0; // of the box's text

    BoxRows(std::string_view box, char delimiter) : lines(boxLines(box)), size(box.size())
    {
        std::optional<std::size_t> lastNonEmpty;
        std::vector<int> fields;
        std::size_t firstBlockRows = 0;
        int nonEmpty = 0;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            nonEmpty += !lines[i].text.empty();
            if (isDataRow(lines[i].text, delimiter)) {
                if (dataRows.empty())
                    header = lastNonEmpty;
                firstBlockRows += firstBlockRows == dataRows.size() && lastNonEmpty == header;
                dataRows.push_back(i);
                lineNumbers.push_back(nonEmpty);
                fields.push_back(fieldCount(lines[i].text, delimiter));
                columns = std::max(columns, fields.back());
            } else if (!lines[i].text.empty()) {
                lastNonEmpty = i;
            }
        }
        leaveOutWiderRows(fields, firstBlockRows, delimiter);
    }

    void leaveOutWiderRows(const std::vector<int>& fields, std::size_t firstBlockRows,
                           char delimiter)
    {
        leftOut.assign(dataRows.size(), false);
        const int named =
            header ? static_cast<int>(headerFields(lines[*header].text, delimiter).size()) : 0;
        const auto ofHeaderWidth =
            std::count(fields.begin(), fields.begin() + firstBlockRows, named);
        if (named == 0 || 2 * static_cast<std::size_t>(ofHeaderWidth) < firstBlockRows)
            return;
        for (std::size_t r = 0; r < firstBlockRows; ++r)
            if (fields[r] > named) {
                leftOut[r] = true;
                problems.addWiderRow(lineNumbers[r], fields[r], named);
            }
    }

    static int fieldCount(std::string_view line, char delimiter)
    {
        const auto count = std::count(line.begin(), line.end(), delimiter) + 1;
        return static_cast<int>(std::min<long>(count, maxTableColumns));
    }
};

// The numbers of the row's first `columns` fields, NaN where a field holds
// none or is missing, into `fields` (whose room is kept from row to row).
// Fields that begin as a number but are none are named in `problems`.
void readRowNumbers(std::string_view line, char delimiter, int columns, std::vector<double>& fields,
                    int lineNumber, FieldProblems& problems)
{
    fields.assign(static_cast<std::size_t>(columns), std::nan(""));
    forEachField(line, delimiter, [&](int k, std::string_view field) {
        if (k > columns)
            return;
        const DataField read = readDataField(field);
        if (read.malformed)
            problems.addMalformed(lineNumber, field);
        fields[static_cast<std::size_t>(k - 1)] = read.number.value_or(NAN);
    });
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
    // The last column a row must be read to.
    int lastColumn() const
    {
        int last = 0;
        for (const std::vector<int>* list : {&columns, &uncertaintyColumns})
            for (const int column : *list)
                last = std::max(last, column);
        return last;
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

// The names' values in every data row, row by row (rows × names), and,
// when a name has an uncertainty column, their uncertainties likewise: 0 for
// a name without one, NaN where its field holds no number or a negative one.
struct RowInputs {
    std::size_t names = 0;
    std::vector<double> values;
    std::vector<double> uncertainties; // empty without uncertainty columns

    double value(std::size_t r, std::size_t k) const { return values[r * names + k]; }
    double uncertainty(std::size_t r, std::size_t k) const { return uncertainties[r * names + k]; }
};

RowInputs rowInputs(const FormulaInputs& inputs, const BoxRows& box, char delimiter,
                    FieldProblems& problems)
{
    RowInputs rows;
    rows.names = inputs.columns.size();
    const std::size_t count = box.dataRows.size();
    rows.values.resize(count * rows.names);
    const bool withUncertainty = inputs.anyUncertainty();
    if (withUncertainty)
        rows.uncertainties.resize(count * rows.names);
    const int lastColumn = inputs.lastColumn();
    std::vector<double> fields;
    for (std::size_t r = 0; r < count; ++r) {
        if (box.leftOut[r])
            fields.assign(static_cast<std::size_t>(lastColumn), std::nan(""));
        else
            readRowNumbers(box.lines[box.dataRows[r]].text, delimiter, lastColumn, fields,
                           box.lineNumbers[r], problems);
        for (std::size_t k = 0; k < rows.names; ++k) {
            const int column = inputs.columns[k];
            rows.values[r * rows.names + k] = column == 0
                                                  ? static_cast<double>(r + 1)
                                                  : fields[static_cast<std::size_t>(column - 1)];
            if (!withUncertainty)
                continue;
            const int uncertaintyColumn = inputs.uncertaintyColumns[k];
            const double u =
                uncertaintyColumn > 0 ? fields[static_cast<std::size_t>(uncertaintyColumn - 1)] : 0;
            rows.uncertainties[r * rows.names + k] = u >= 0 ? u : std::nan("");
        }
    }
    return rows;
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
    FieldProblems problems; // typos, and rows with a field too many

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
        std::string named;
        for (const std::string& sentence : problems.sentences())
            named.append(named.empty() ? "" : "; ").append(sentence);
        if (!named.empty())
            sentences.push_back(named);
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
std::vector<double> valuesOfRows(Equation& formula, const RowInputs& rows, std::size_t count)
{
    for (std::size_t k = 0; k < rows.names; ++k) {
        double* buffer = formula.values(k, count);
        for (std::size_t r = 0; r < count; ++r)
            buffer[r] = rows.value(r, k);
    }
    std::vector<double> values(count);
    formula.evaluate(values.size(), values.data());
    return values;
}

// The uncertainty field of row r, whose value is finite.
std::string uncertaintyField(Equation& formula, const RowInputs& rows, std::size_t r, int line,
                             std::string_view text, Calculated& calculated)
{
    std::vector<double> values(rows.names), uncertainties(rows.names);
    for (std::size_t k = 0; k < rows.names; ++k) {
        values[k] = rows.value(r, k);
        uncertainties[k] = rows.uncertainty(r, k);
    }
    if (std::any_of(uncertainties.begin(), uncertainties.end(),
                    [](double u) { return std::isnan(u); })) {
        calculated.withoutUncertainty.add(line, text);
        return {};
    }
    const Propagated propagated = propagateIndependent(formula, values, uncertainties);
    if (!firstOrderHolds(formula, values, uncertainties, propagated))
        calculated.beyondFirstOrder.add(line, text);
    return std::isfinite(propagated.uncertainty) ? decimalNumber(propagated.uncertainty)
                                                 : std::string();
}

Calculated calculate(Equation& formula, const FormulaInputs& inputs, const BoxRows& box,
                     char delimiter)
{
    Calculated calculated;
    calculated.problems = box.problems;
    const RowInputs rows = rowInputs(inputs, box, delimiter, calculated.problems);
    const std::size_t count = box.dataRows.size();
    const std::vector<double> values = valuesOfRows(formula, rows, count);
    const bool withUncertainty = !rows.uncertainties.empty();
    calculated.values.reserve(count);
    if (withUncertainty)
        calculated.uncertainties.reserve(count);
    int nonEmpty = 0;
    for (std::size_t i = 0, r = 0; i < box.lines.size() && r < count; ++i) {
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
                finite ? uncertaintyField(formula, rows, r, nonEmpty, text, calculated)
                       : std::string());
        ++r;
    }
    return calculated;
}

// The unit the formula gives from the units in the header ("s^2" for T^2
// under "T (s)"); empty when a column it uses has none, or the formula
// cannot give one (sin of a length, a length added to a time).
std::string unitOfFormula(const Equation& formula, const std::vector<int>& columns,
                          const std::vector<std::string>& header)
{
    std::vector<Unit> units;
    for (const int column : columns) {
        const auto k = static_cast<std::size_t>(column - 1);
        units.push_back(column == 0         ? Unit::number()
                        : k < header.size() ? Unit::read(unitOfHeader(header[k]))
                                            : Unit::unknown());
    }
    return formula.unitOf(units).text();
}

// The box with the new column (and its uncertainty column) after every
// data row and the formula's text after the header.
std::string boxWithColumns(const BoxRows& box, const Calculated& calculated,
                           const std::string& formula, const std::string& unit, char delimiter)
{
    const std::string inUnit = unit.empty() ? "" : " (" + unit + ")";
    const bool withUncertainty = !calculated.uncertainties.empty();
    std::string result;
    std::size_t added = 0;
    for (std::size_t r = 0; r < calculated.values.size(); ++r)
        added += 2 + calculated.values[r].size() +
                 (withUncertainty ? calculated.uncertainties[r].size() : 0);
    result.reserve(box.size + added + 2 * formula.size() + 8);
    for (std::size_t i = 0, r = 0; i < box.lines.size(); ++i) {
        result += box.lines[i].text;
        if (box.header == i) {
            result.append(1, delimiter).append(formula).append(inUnit);
            if (withUncertainty)
                result.append(1, delimiter).append("u(" + formula + ")").append(inUnit);
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
    const std::string unit =
        unitOfFormula(formula, used,
                      box.header ? headerFields(box.lines[*box.header].text, delimiter)
                                 : std::vector<std::string>{});
    context.ui.replaceBox(boxWithColumns(box, calculated, answer, unit, delimiter));
    for (const std::string& message : calculated.messages())
        context.ui.showMessage(message);
}
