// The workbook for a spreadsheet, read back independently of the library
// that writes it: sheet names, numbers as numbers bit for bit, text as text
// (never a formula), decimal commas, the fits, sheets that go on, and a
// workbook that is stopped or cannot be written leaving nothing behind.

#include "batch/batch_run.h"
#include "graph/graph_plot.h"
#include "scripted_ui.h"
#include "workbook/sheet_cell.h"
#include "workbook/sheet_names.h"
#include "workbook/workbook_file.h"
#include "workbook_reader.h"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <clocale>
#include <fstream>
#include <random>
#include <sstream>

namespace {

std::size_t characters(const std::string& text)
{
    return static_cast<std::size_t>(std::count_if(
        text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

TEST(SheetNames, FollowTheSpreadsheetsRules)
{
    const struct {
        std::string wanted, valid;
    } cases[] = {
        {"L = 0.50 m", "L = 0.50 m"},
        {"a[b]:c*d?e/f\\g", "a_b__c_d_e_f_g"},
        {"'quoted'", "quoted"},
        {"''", "data"},
        {"", "data"},
        {"History", "History_"},
        {"history", "history_"},
        {"tab\there", "tab_here"},
        {"a name of more than thirty-one characters", "a name of more than thirty-one "},
        {std::string(40, 'x') + "'", std::string(31, 'x')},
        {"T (°C) T (°C) T (°C) T (°C) T (°C)", "T (°C) T (°C) T (°C) T (°C) T ("},
    };
    for (const auto& c : cases) {
        const std::string valid = SheetNames::valid(c.wanted);
        EXPECT_EQ(valid, c.valid) << c.wanted;
        EXPECT_LE(characters(valid), longestSheetName) << c.wanted;
    }
}

TEST(SheetNames, AreMadeUniqueWithinThirtyOneCharacters)
{
    SheetNames names;
    EXPECT_EQ(names.unique("run"), "run");
    EXPECT_EQ(names.unique("RUN"), "RUN (2)");
    EXPECT_EQ(names.unique("run"), "run (3)");
    EXPECT_EQ(names.unique("run (2)"), "run (2) (2)");
    const std::string longName(40, 'y');
    EXPECT_EQ(names.unique(longName), std::string(31, 'y'));
    EXPECT_EQ(names.unique(longName), std::string(27, 'y') + " (2)");
    EXPECT_EQ(names.unique("°°°°°°°°°°°°°°°°°°°°°°°°°°°°°°°°°°"),
              "°°°°°°°°°°°°°°°°°°°°°°°°°°°°°°°");
    EXPECT_EQ(names.unique("°°°°°°°°°°°°°°°°°°°°°°°°°°°°°°°°°°"),
              "°°°°°°°°°°°°°°°°°°°°°°°°°°° (2)");
}

TEST(SheetCells, NumbersAsTheGraphReadsThemAndTextOtherwise)
{
    using Kind = SheetCell::Kind;
    const struct {
        std::string field;
        bool decimalCommas;
        Kind kind;
        double number;
    } cases[] = {
        {"12.5", false, Kind::Number, 12.5},
        {" -0.25 ", false, Kind::Number, -0.25},
        {"+3", false, Kind::Number, 3},
        {"1.6e-19", false, Kind::Number, 1.6e-19},
        {"&H1F", false, Kind::Number, 31},
        {"21,5", true, Kind::Number, 21.5},
        {"-0,001", true, Kind::Number, -0.001},
        {"21,5", false, Kind::Text, 0},
        {"1,2,3", true, Kind::Text, 0},
        {"12.5 cm", true, Kind::Text, 0},
        {"=SUM(A1:A3)", false, Kind::Text, 0},
        {"+x", false, Kind::Text, 0},
        {"-x", false, Kind::Text, 0},
        {"@cell", false, Kind::Text, 0},
        {"=1+1", false, Kind::Text, 0},
        {"1e999", false, Kind::Text, 0},
        {"", false, Kind::Empty, 0},
        {"  \t", true, Kind::Empty, 0},
    };
    for (const auto& c : cases) {
        const SheetCell cell = cellOfField(c.field, c.decimalCommas);
        EXPECT_EQ(cell.kind, c.kind) << c.field;
        if (c.kind == Kind::Number) {
            EXPECT_EQ(cell.number, c.number) << c.field;
        }
        if (c.kind == Kind::Text) {
            EXPECT_EQ(cell.text, c.field);
        }
    }
}

class WorkbookFile : public testing::Test {
protected:
    std::filesystem::path file(const std::string& name) const { return directory_.path() / name; }

    // Writes the box and reads the workbook back.
    ReadWorkbook written(const std::string& box, char delimiter = ',', SheetRows fits = {},
                         const SheetLimits& limits = {})
    {
        const std::filesystem::path path = file("lab.xlsx");
        written_ = writeWorkbook(path, workbookContent(box, delimiter, std::move(fits)), {}, limits);
        EXPECT_EQ(written_.failure, "");
        return readWorkbook(path);
    }

    TemporaryDirectory directory_;
    WorkbookWritten written_;
};

std::vector<std::string> sheetNames(const ReadWorkbook& workbook)
{
    std::vector<std::string> names;
    for (const ReadSheet& sheet : workbook.sheets)
        names.push_back(sheet.name);
    return names;
}

void expectText(const ReadSheet& sheet, std::size_t row, std::size_t column, const std::string& text)
{
    const std::optional<ReadCell> cell = sheet.at(row, column);
    ASSERT_TRUE(cell) << sheet.name << " " << row << "," << column;
    EXPECT_EQ(cell->kind, ReadCell::Kind::Text) << text;
    EXPECT_EQ(cell->value, text);
}

void expectNumber(const ReadSheet& sheet, std::size_t row, std::size_t column, double number)
{
    const std::optional<ReadCell> cell = sheet.at(row, column);
    ASSERT_TRUE(cell) << sheet.name << " " << row << "," << column;
    EXPECT_EQ(cell->kind, ReadCell::Kind::Number) << cell->value;
    EXPECT_EQ(std::bit_cast<std::uint64_t>(numberOf(cell->value)), std::bit_cast<std::uint64_t>(number))
        << cell->value << " for " << number;
}

TEST_F(WorkbookFile, HoldsASheetABlockInTheBoxsOrderNamedByItsRun)
{
    const std::string box = "3,4\r\n5,6\r\n\r\n"
                            "L = 0.50 m\r\nt (s),x (m),u(x)\r\n0,1.5,0.1\r\n1,=SUM(A1),-x\r\n"
                            "2,,@a\r\n\r\nL = 0.50 m\r\nt (s),x (m)\r\n0,2\r\n";
    const ReadWorkbook workbook = written(box);
    ASSERT_EQ(workbook.failure, "");
    EXPECT_EQ(sheetNames(workbook),
              (std::vector<std::string>{"lines 1 to 2", "L = 0.50 m", "L = 0.50 m (2)"}));
    // No column names above the block: its rows from the first.
    expectNumber(workbook.sheets[0], 0, 0, 3);
    expectNumber(workbook.sheets[0], 1, 1, 6);
    const ReadSheet& first = workbook.sheets[1];
    expectText(first, 0, 0, "t (s)");
    expectText(first, 0, 2, "u(x)");
    expectNumber(first, 1, 1, 1.5);
    expectNumber(first, 1, 2, 0.1);
    expectText(first, 2, 1, "=SUM(A1)");
    expectText(first, 2, 2, "-x");
    EXPECT_FALSE(first.at(3, 1)) << "an empty field is an empty cell";
    expectText(first, 3, 2, "@a");
    EXPECT_EQ(first.rows(), 4u);
    EXPECT_EQ(written_.sheets, 3u);
    EXPECT_EQ(written_.rows, 6u);
    for (const ReadSheet& sheet : workbook.sheets)
        for (const ReadCell& cell : sheet.cells)
            EXPECT_NE(cell.kind, ReadCell::Kind::Formula) << cell.value;
}

TEST_F(WorkbookFile, AnOnlyBlockWithoutHeadingIsData)
{
    EXPECT_EQ(sheetNames(written("t,x\r\n1,2\r\n")), (std::vector<std::string>{"data"}));
}

// Every number that reads back from at most 16 significant digits is the
// box's bit for bit, whatever its size; one of 17 digits is said.
TEST_F(WorkbookFile, KeepsTheBoxsNumbersBitForBit)
{
    std::mt19937_64 random(12345);
    std::string box = "x,y\r\n";
    std::vector<double> numbers;
    while (numbers.size() < 4000) {
        const double value = std::bit_cast<double>(random());
        if (!std::isfinite(value))
            continue;
        char text[40];
        const int digits = 1 + static_cast<int>(random() % 16);
        const auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::scientific,
                                       digits - 1);
        double number = 0;
        std::from_chars(text, end.ptr, number);
        numbers.push_back(number);
        box.append(text, end.ptr).append(numbers.size() % 2 ? "," : "\r\n");
    }
    const ReadWorkbook workbook = written(box);
    ASSERT_EQ(workbook.sheets.size(), 1u);
    for (std::size_t k = 0; k < numbers.size(); ++k)
        expectNumber(workbook.sheets[0], 1 + k / 2, k % 2, numbers[k]);
    EXPECT_TRUE(written_.notes.empty());

    written("x\r\n0.30000000000000004\r\n0.1\r\n");
    EXPECT_EQ(written_.notes,
              std::vector<std::string>{"1 number needs 17 significant digits; the workbook keeps 16 "
                                       "of them (a change of at most one part in 10^16)"});
}

TEST_F(WorkbookFile, ReadsDecimalCommasWhereTheDelimiterLeavesThem)
{
    const ReadWorkbook semicolons = written("t (s);T (°C)\r\n0;21,5\r\n1;-0,25\r\n", ';');
    expectText(semicolons.sheets[0], 0, 1, "T (°C)");
    expectNumber(semicolons.sheets[0], 1, 1, 21.5);
    expectNumber(semicolons.sheets[0], 2, 1, -0.25);
    const ReadWorkbook tabs = written("t\tT\r\n0\t1,5e3\r\n", '\t');
    expectNumber(tabs.sheets[0], 1, 1, 1500);
}

// The library formats numbers with the C library, which follows the locale:
// a German desktop must still get 21.5, not "21,5".
TEST_F(WorkbookFile, WritesNumbersWhateverTheLocale)
{
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr)
        << "de_DE.UTF-8 is missing: the set-up step generates it with localedef";
    const ReadWorkbook workbook = written("x\r\n21.5\r\n0.001\r\n");
    std::setlocale(LC_ALL, "C");
    expectNumber(workbook.sheets[0], 1, 0, 21.5);
    expectNumber(workbook.sheets[0], 2, 0, 0.001);
}

TEST_F(WorkbookFile, GoesOnInTheNextSheetWhenABlockOutgrowsOne)
{
    std::string box = "L = 1 m\r\na,b,c,d,e\r\n";
    for (int r = 0; r < 7; ++r)
        box += std::to_string(r) + ",1,2,3,4\r\n";
    const ReadWorkbook workbook = written(box, ',', {}, SheetLimits{4, 3});
    EXPECT_EQ(sheetNames(workbook), (std::vector<std::string>{"L = 1 m", "L = 1 m (2)", "L = 1 m (3)",
                                                              "L = 1 m (4)", "L = 1 m (5)",
                                                              "L = 1 m (6)"}));
    // Three rows under the column names a sheet, then the fields after the third.
    expectText(workbook.sheets[1], 0, 0, "a");
    expectNumber(workbook.sheets[1], 1, 0, 3);
    expectNumber(workbook.sheets[2], 1, 0, 6);
    EXPECT_EQ(workbook.sheets[2].rows(), 2u);
    expectText(workbook.sheets[3], 0, 1, "e");
    expectNumber(workbook.sheets[3], 1, 1, 4);
    EXPECT_FALSE(workbook.sheets[3].at(1, 2));
    ASSERT_EQ(written_.notes.size(), 5u);
    EXPECT_EQ(written_.notes[0], "the rows of \"L = 1 m\" go on in the sheet \"L = 1 m (2)\": a "
                                 "sheet holds 3 rows under its column names");
    EXPECT_EQ(written_.notes[2], "the fields of \"L = 1 m\" go on in the sheet \"L = 1 m (4)\": a "
                                 "sheet holds 3 columns");
}

// Excel's limit: 1 048 576 rows a sheet, the column names' row included.
TEST_F(WorkbookFile, AMillionRowsGoOnPastASheetsLimitWithNothingLost)
{
    constexpr std::size_t rows = 1048580;
    std::string box = "n\r\n";
    box.reserve(rows * 10);
    for (std::size_t r = 0; r < rows; ++r)
        box += std::to_string(r) + "\r\n";
    const ReadWorkbook workbook = written(box);
    ASSERT_EQ(sheetNames(workbook), (std::vector<std::string>{"data", "data (2)"}));
    EXPECT_EQ(workbook.sheets[0].rows(), 1048576u);
    EXPECT_EQ(workbook.sheets[1].rows(), 6u);
    expectNumber(workbook.sheets[0], 1048575, 0, 1048574);
    expectText(workbook.sheets[1], 0, 0, "n");
    expectNumber(workbook.sheets[1], 1, 0, 1048575);
    expectNumber(workbook.sheets[1], 5, 0, 1048579);
    EXPECT_EQ(workbookNote(written_, "big.xlsx"),
              "2 sheets, 1 048 580 rows, saved to big.xlsx. The rows of \"data\" go on in the sheet "
              "\"data (2)\": a sheet holds 1 048 575 rows under its column names");
}

TEST_F(WorkbookFile, HoldsTheFitsARowARun)
{
    const std::string box = "L = 0.5 m\r\nt (s),x (m)\r\n0,1\r\n1,3.1\r\n2,4.9\r\n3,7.1\r\n\r\n"
                            "L = 1 m\r\nt (s),x (m)\r\n0,0\r\n1,1\r\n2,2.1\r\n3,2.9\r\n\r\n"
                            "lid on\r\nt (s),x (m)\r\n0,0\r\n";
    GraphChoice choice;
    choice.xColumn = 1;
    choice.yColumn = 2;
    choice.model.kind = ModelKind::Line;
    choice.results = "v = m";
    const GraphPlot plot = plotRuns(readGraphBlocks(box, ','), 0, choice);
    const ReadWorkbook workbook = written(box, ',', fitsSheetRows(plot, ""));
    ASSERT_EQ(workbook.sheets.size(), 4u);
    const ReadSheet& fits = workbook.sheets[3];
    EXPECT_EQ(fits.name, "fits");
    const std::vector<std::string> header = {"run", "L (m)", "model", "points", "m (m/s)", "u(m)",
                                             "b (m)", "u(b)", "R²", "χ²", "P",
                                             "degrees of freedom", "v (m/s)", "u(v)"};
    for (std::size_t k = 0; k < header.size(); ++k)
        expectText(fits, 0, k, header[k]);
    for (std::size_t r = 0; r < 2; ++r) {
        const CurveFit& fit = *plot.runs[r].fit;
        expectText(fits, r + 1, 0, plot.runs[r].name);
        expectNumber(fits, r + 1, 1, r == 0 ? 0.5 : 1);
        expectText(fits, r + 1, 2, "y = m x + b");
        expectNumber(fits, r + 1, 3, 4);
        for (std::size_t k = 0; k < 2; ++k) {
            const double value = numberOf(fits.at(r + 1, 4 + 2 * k)->value);
            EXPECT_NEAR(value, fit.values[k], 1e-15 * std::abs(fit.values[k]) + 1e-300);
            EXPECT_NEAR(numberOf(fits.at(r + 1, 5 + 2 * k)->value), fit.uncertainties[k],
                        1e-15 * fit.uncertainties[k]);
        }
        EXPECT_NEAR(numberOf(fits.at(r + 1, 8)->value), *fit.rSquared, 1e-15);
        EXPECT_FALSE(fits.at(r + 1, 9)) << "no χ² without uncertainties";
        expectNumber(fits, r + 1, 11, 2);
        EXPECT_NEAR(numberOf(fits.at(r + 1, 12)->value), fit.values[0], 1e-15 * fit.values[0]);
    }
    expectText(fits, 3, 0, "lid on");
    EXPECT_EQ(fits.at(3, 2)->value.rfind("no fit: ", 0), 0u) << fits.at(3, 2)->value;
}

TEST_F(WorkbookFile, OfOneBlocksFitIsOneRowNamedByTheBlock)
{
    const std::string box = "t (s),x (m)\r\n0,1\r\n1,3\r\n2,5.5\r\n";
    GraphChoice choice;
    choice.xColumn = 1;
    choice.yColumn = 2;
    choice.model.kind = ModelKind::Proportional;
    const ReadWorkbook workbook =
        written(box, ',', fitsSheetRows(plotGraph(readGraphBlocks(box, ',')[0], choice), "data"));
    ASSERT_EQ(sheetNames(workbook), (std::vector<std::string>{"data", "fits"}));
    expectText(workbook.sheets[1], 1, 0, "data");
    expectText(workbook.sheets[1], 1, 1, "y = A x");
    EXPECT_EQ(workbook.sheets[1].rows(), 2u);
    GraphChoice none;
    EXPECT_TRUE(fitsSheetRows(plotGraph(readGraphBlocks(box, ',')[0], none), "data").empty());
}

TEST_F(WorkbookFile, StoppedOrUnwritableLeavesNothingBehind)
{
    std::string box = "n\r\n";
    for (int r = 0; r < 20000; ++r)
        box += std::to_string(r) + "\r\n";
    const std::filesystem::path path = file("kept.xlsx");
    std::ofstream(path) << "the old file";
    int reports = 0;
    const WorkbookWritten stopped = writeWorkbook(
        path, workbookContent(box, ','), [&](double done) {
            EXPECT_GT(done, 0);
            EXPECT_LE(done, 1);
            return ++reports < 2;
        });
    EXPECT_TRUE(stopped.cancelled);
    EXPECT_EQ(reports, 2);
    std::ifstream kept(path);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "the old file");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(directory_.path()), {}), 1);

    const std::filesystem::path nowhere = file("no folder") / "lab.xlsx";
    const WorkbookWritten refused = writeWorkbook(nowhere, workbookContent(box, ','));
    EXPECT_EQ(refused.failure.rfind("\"" + nowhere.string() + "\" cannot be written: ", 0), 0u)
        << refused.failure;
    const WorkbookWritten onAFolder = writeWorkbook(directory_.path(), workbookContent(box, ','));
    EXPECT_NE(onAFolder.failure, "");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(directory_.path()), {}), 1);
    EXPECT_TRUE(std::filesystem::is_directory(directory_.path()));
}

TEST_F(WorkbookFile, AnEmptyBoxWritesNothing)
{
    for (const std::string box : {"", "\r\n\r\n", "only words\r\nno numbers\r\n"}) {
        const WorkbookWritten nothing = writeWorkbook(file("empty.xlsx"), workbookContent(box, ','));
        EXPECT_TRUE(nothing.nothingToWrite) << box;
        EXPECT_FALSE(std::filesystem::exists(file("empty.xlsx")));
    }
}

BatchResult batch(const std::vector<std::string>& arguments, const std::string& input = "")
{
    std::istringstream stream(input);
    return runBatch(arguments, stream);
}

TEST_F(WorkbookFile, TheBatchExportsTheSameWorkbook)
{
    const std::string data = "t (s);x (m)\r\n0;1,5\r\n1;3.1\r\n2;4.9\r\n3;7\r\n";
    const std::string out = file("batch.xlsx").string();
    const BatchResult done =
        batch({"--delimiter", "semicolon", "--no-decimal-comma", "export", "--xlsx", out, "--model", "line", "--x", "1", "--y", "2"}, data);
    ASSERT_EQ(done.exitStatus, producedOutput) << done.err;
    EXPECT_EQ(done.out, "2 sheets, 4 rows, saved to " + out + "\n");
    const ReadWorkbook workbook = readWorkbook(out);
    ASSERT_EQ(sheetNames(workbook), (std::vector<std::string>{"data", "fits"}));
    expectNumber(workbook.sheets[0], 1, 1, 1.5);
    expectNumber(workbook.sheets[0], 2, 1, 3.1);
    expectText(workbook.sheets[1], 0, 3, "m (m/s)");

    const BatchResult empty = batch({"export", "--xlsx", file("none.xlsx").string()}, "");
    EXPECT_EQ(empty.exitStatus, noOutput);
    EXPECT_NE(empty.err.find("no workbook was written"), std::string::npos) << empty.err;
    EXPECT_FALSE(std::filesystem::exists(file("none.xlsx")));

    const std::string nowhere = file("no folder/x.xlsx").string();
    const BatchResult refused = batch({"--no-decimal-comma", "export", "--xlsx", nowhere}, data);
    EXPECT_EQ(refused.exitStatus, usageError);
    EXPECT_NE(refused.err.find(nowhere), std::string::npos) << refused.err;

    EXPECT_EQ(batch({"export"}, data).exitStatus, usageError);
    EXPECT_NE(batch({"export"}, data).err.find("export needs --xlsx FILE"), std::string::npos);
}

} // namespace
