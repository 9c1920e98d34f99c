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
    std::ofstream(path, std::ios::binary) << c.bytes;
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

} // namespace
