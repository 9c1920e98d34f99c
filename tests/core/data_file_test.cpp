#include "data/data_file.h"
#include "data/iconv_decoder.h"

#include "../data_file_cases.h"
#include "scripted_ui.h"

#include <fstream>

namespace {

class DataFileDecoding : public testing::TestWithParam<DataFileCase> {};

TEST_P(DataFileDecoding, GivesTheBoxTextOrRefuses)
{
    const DataFileCase& c = GetParam();
    TemporaryDirectory directory;
    const std::filesystem::path path = directory.path() / "data.txt";
    std::ofstream(path, std::ios::binary) << c.fileBytes();
    const DataFileText file = readDataFile(path, iconvDecode);
    EXPECT_EQ(file.text, c.boxText);
    EXPECT_EQ(file.refusal,
              c.refusal.empty() ? "" : "could not open " + path.string() + ": " + c.refusal);
}

INSTANTIATE_TEST_SUITE_P(Files, DataFileDecoding, testing::ValuesIn(dataFileCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DataFileDecoding, RefusesWhatIsNoReadableFile)
{
    TemporaryDirectory directory;
    const std::filesystem::path missing = directory.path() / "missing.csv";
    EXPECT_EQ(readDataFile(missing, iconvDecode).refusal,
              "could not open " + missing.string() + ": No such file or directory");
    EXPECT_EQ(readDataFile(directory.path(), iconvDecode).refusal,
              "could not open " + directory.path().string() + ": it is a folder, not a file");
}

struct DecimalComma {
    const char* text;
    bool asked;
    const char* converted;
};

const DecimalComma decimalCommas[] = {
    {"t;x\r\n0,1;2,35\r\n0,2;4,5", true, "t;x\r\n0.1;2.35\r\n0.2;4.5"},
    {"0,5\t1,25", true, "0.5\t1.25"},
    {"1,2\r\n3,4", false, "1.2\r\n3.4"},                     // comma-separated: never asked
    {"a;b\r\n1.5;2", false, "a;b\r\n1.5;2"},                 // decimals with points already
    {"x,y;z\r\n1;2", false, "x,y;z\r\n1;2"},                 // no comma between two digits
    {"1;2,5\r\n3\r\n4\r\n5", false, "1;2.5\r\n3\r\n4\r\n5"}, // semicolons in too few lines
};

class DecimalCommaFiles : public testing::TestWithParam<DecimalComma> {};

TEST_P(DecimalCommaFiles, AskOnlyForSemicolonOrTabFiles)
{
    EXPECT_EQ(writesDecimalComma(GetParam().text), GetParam().asked);
    EXPECT_EQ(decimalCommasToPoints(GetParam().text), GetParam().converted);
}

INSTANTIATE_TEST_SUITE_P(Texts, DecimalCommaFiles, testing::ValuesIn(decimalCommas));

struct FileDelimiter {
    const char* text;
    char inForce;
    std::optional<char> found;
};

const FileDelimiter fileDelimiters[] = {
    {"t;x\r\n1;2\r\n3;4", ',', ';'},
    {"t\tx\r\n1\t2", ',', '\t'},
    {"t;x\r\n0,1;2,35\r\n0,2;4,5", ',', ';'}, // its commas are decimal commas
    {"t;x\r\n1,2;3", ';', std::nullopt},      // the delimiter in force stands there
    {"1,2\r\n3,4", ';', ','},
    {"1 2\r\n3\r\n4\r\n5", ',', std::nullopt}, // a space in too few lines
    {"a;b c\r\nd;e f", ',', ';'},              // as many spaces: semicolons win the tie
    {"", ',', std::nullopt},
};

TEST(FileDelimiters, FoundAsTheHintFindsThemWithDecimalCommasNoDelimiter)
{
    for (const FileDelimiter& f : fileDelimiters)
        EXPECT_EQ(delimiterOfFile(f.text, f.inForce), f.found) << f.text;
    EXPECT_EQ(delimiterQuestion(';', ','), "This file separates its values with semicolons; the "
                                           "delimiter is the comma. Make the semicolon the "
                                           "delimiter?");
    EXPECT_EQ(delimiterQuestion('\t', ' '), "This file separates its values with tabs; the "
                                            "delimiter is the space. Make the tab the delimiter?");
}

TEST(LongFiles, SayTheCommandsUseTheFirst1000Lines)
{
    std::string text;
    for (int i = 0; i < 1000; ++i)
        text += std::to_string(i) + "\r\n\r\n"; // empty lines do not count
    EXPECT_EQ(beyondTheCommands(text), std::nullopt);
    text += "1000";
    EXPECT_EQ(beyondTheCommands(text), "This file has 1001 lines; the commands use at most the "
                                       "first 1000.");
}

} // namespace
