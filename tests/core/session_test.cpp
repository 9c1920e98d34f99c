// The session file: every choice back as it was, the box byte for byte, and
// files that are not sessions, newer or cut short refused by name.

#include "session/session.h"

#include <gtest/gtest.h>

namespace {

bool sameUncertainty(const UncertaintyChoice& a, const UncertaintyChoice& b)
{
    return a.kind == b.kind && a.column == b.column && a.value == b.value;
}

void expectSameChoice(const GraphChoice& a, const GraphChoice& b)
{
    EXPECT_EQ(a.xColumn, b.xColumn);
    EXPECT_EQ(a.yColumn, b.yColumn);
    EXPECT_EQ(a.allRuns, b.allRuns);
    EXPECT_EQ(a.histogram, b.histogram);
    EXPECT_EQ(a.fromZero, b.fromZero);
    EXPECT_EQ(a.logX, b.logX);
    EXPECT_EQ(a.logY, b.logY);
    EXPECT_EQ(a.joinPoints, b.joinPoints);
    EXPECT_EQ(a.title, b.title);
    EXPECT_EQ(a.model.kind, b.model.kind);
    EXPECT_EQ(a.model.degree, b.model.degree);
    EXPECT_EQ(a.model.equation, b.model.equation);
    EXPECT_EQ(a.model.starts, b.model.starts);
    EXPECT_EQ(a.fitFrom, b.fitFrom);
    EXPECT_EQ(a.fitTo, b.fitTo);
    EXPECT_EQ(a.residuals, b.residuals);
    EXPECT_TRUE(sameUncertainty(a.xUncertainty, b.xUncertainty));
    EXPECT_TRUE(sameUncertainty(a.yUncertainty, b.yUncertainty));
    EXPECT_EQ(a.extremeLines, b.extremeLines);
    EXPECT_EQ(a.results, b.results);
    EXPECT_EQ(a.bins.rule, b.bins.rule);
    EXPECT_EQ(a.bins.width, b.bins.width);
    EXPECT_EQ(a.normalCurve, b.normalCurve);
    EXPECT_EQ(a.area, b.area);
    EXPECT_EQ(a.tangentAt, b.tangentAt);
    EXPECT_EQ(a.tangentRows, b.tangentRows);
    EXPECT_TRUE(a == b) << "a choice the session does not keep";
}

Session everyChoice(std::string box, char delimiter)
{
    Session session;
    session.box = std::move(box);
    session.delimiter = delimiter;
    session.dataFile = "/home/lab/pendulum.csv";
    session.studentName = "Group 3: Ana & Ben \"the bold\"";
    session.graph.open = true;
    session.graph.block = 1;
    GraphChoice first;
    first.xColumn = 1;
    first.yColumn = 4;
    first.title = "Pendulum: T² against L";
    first.model.kind = ModelKind::Line;
    first.fitFrom = 0.25;
    first.fitTo = 1.0 / 3;
    first.residuals = true;
    first.yUncertainty = {UncertaintyChoice::Kind::Column, 5, 0};
    first.xUncertainty = {UncertaintyChoice::Kind::Percentage, 0, 2.5};
    first.extremeLines = true;
    first.results = "g = 4*pi^2/m; -b/m";
    first.joinPoints = false;
    first.logY = true;
    first.area = true;
    first.tangentAt = 0.375;
    first.tangentRows = 9;
    GraphChoice second;
    second.allRuns = true;
    second.histogram = true;
    second.bins = {BinChoice::Rule::Width, 0.02};
    second.normalCurve = false;
    second.model.kind = ModelKind::OwnEquation;
    second.model.equation = "T0 + A*exp(-k*t)";
    second.model.starts = {{"A", 58}, {"k", 0.0035}, {"T0", -1e-300}};
    second.fromZero = true;
    second.logX = true;
    second.xUncertainty = {UncertaintyChoice::Kind::Fixed, 0, 0.001};
    GraphChoice third;
    third.model.kind = ModelKind::Polynomial;
    third.model.degree = 7;
    third.spectrum = true;
    third.window = SpectrumWindow::Blackman;
    session.graph.blocks = {{0, "L (m),T (s)", first}, {1, "t (s),T (°C)", second},
                            {4, "lines 9 to 12", third}};
    session.record.source = "/dev/ttyACM0";
    session.record.baud = 9600;
    session.record.rate = 22050;
    session.record.phone = "192.168.1.23:8080";
    session.record.hostTime = true;
    session.record.stop = RecordChoices::Stop::Lines;
    session.record.stopAfter = 500;
    session.record.trigger = true;
    session.record.triggerColumn = 2;
    session.record.triggerLevel = 0.5;
    session.record.triggerBefore = 20;
    session.record.heading = "L = 0.70 m";
    return session;
}

void expectSameSession(const Session& a, const Session& b)
{
    EXPECT_EQ(a.box, b.box);
    EXPECT_EQ(a.delimiter, b.delimiter);
    EXPECT_EQ(a.dataFile, b.dataFile);
    EXPECT_EQ(a.studentName, b.studentName);
    EXPECT_EQ(a.isTemplate, b.isTemplate);
    EXPECT_EQ(a.graph.open, b.graph.open);
    EXPECT_EQ(a.graph.block, b.graph.block);
    ASSERT_EQ(a.graph.blocks.size(), b.graph.blocks.size());
    for (std::size_t k = 0; k < a.graph.blocks.size(); ++k) {
        EXPECT_EQ(a.graph.blocks[k].block, b.graph.blocks[k].block);
        EXPECT_EQ(a.graph.blocks[k].name, b.graph.blocks[k].name);
        expectSameChoice(a.graph.blocks[k].choice, b.graph.blocks[k].choice);
    }
    EXPECT_EQ(a.record, b.record);
}

struct BoxCase {
    const char* name;
    std::string box;
    char delimiter;
};

const BoxCase boxes[] = {
    {"crlf_comma", "L (m),T (s)\r\n0.2,0.90\r\n0.4,1.27\r\n", ','},
    {"tab_without_last_break", "t\tx\r\n1\t2", '\t'},
    {"semicolon_lone_cr_and_lf", "a;b\r1;2\n3;4\r\n", ';'},
    {"space_and_nul", std::string("1 2\r\n\0x\r\n", 9), ' '},
    {"empty", "", ','},
    {"looks_like_framing", "box 3\nchoices 2\n{}\nBench Tabler session 9\n", ','},
};

class SessionFiles : public testing::TestWithParam<BoxCase> {};

TEST_P(SessionFiles, HoldEveryChoiceAndTheBoxByteForByte)
{
    const Session saved = everyChoice(GetParam().box, GetParam().delimiter);
    const SessionRead read = readSession(writeSession(saved), "lab.btsession");
    ASSERT_TRUE(read.session) << read.refusal;
    expectSameSession(*read.session, saved);
}

INSTANTIATE_TEST_SUITE_P(Boxes, SessionFiles, testing::ValuesIn(boxes),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SessionFiles, TemplatesSayTheyAreOne)
{
    Session saved = everyChoice("x\r\n", ',');
    saved.isTemplate = true;
    EXPECT_TRUE(readSession(writeSession(saved), "t.btsession").session->isTemplate);
}

struct Refusal {
    const char* name;
    std::string bytes;
    std::string why;
};

TEST(SessionFiles, ThatCannotBeReadAreRefusedByName)
{
    const std::string good = writeSession(everyChoice("1,2\r\n3,4\r\n", ','));
    const std::size_t choicesAt = good.find("choices ");
    std::string newer = good;
    newer.replace(0, good.find('\n'), "Bench Tabler session 2");
    std::string damagedJson = good;
    damagedJson[good.find('{', choicesAt)] = '[';
    const Refusal refusals[] = {
        {"a data file", "t,x\r\n1,2\r\n", "it is not a Bench Tabler session"},
        {"empty", "", "it is not a Bench Tabler session"},
        {"newer", newer,
         "it is a session of version 2, newer than this program reads (1); open it with a newer "
         "Bench Tabler"},
        {"cut in the box", good.substr(0, good.size() - 3), "the session is cut short or damaged"},
        {"cut in the choices", good.substr(0, choicesAt + 40), "the session is cut short or damaged"},
        {"longer than said", good + "5,6\r\n", "the session is cut short or damaged"},
        {"choices damaged", damagedJson, "its choices cannot be read"},
        {"no version", "Bench Tabler session x\n", "it is not a Bench Tabler session"},
    };
    for (const Refusal& c : refusals) {
        const SessionRead read = readSession(c.bytes, "/tmp/lab.btsession");
        EXPECT_FALSE(read.session) << c.name;
        EXPECT_EQ(read.refusal, "could not open /tmp/lab.btsession: " + c.why) << c.name;
    }
}

// Keys this version does not know are left alone; missing ones take the
// defaults.
TEST(SessionFiles, IgnoreKeysTheyDoNotKnow)
{
    const std::string box = "x,y\r\n1,2\r\n";
    const std::string choices = R"({"delimiter": ";", "spectrum": {"window": "hann"},
        "graph": {"open": true, "block": 0, "blocks": [{"block": 0, "name": "x,y",
        "choices": {"title": "T", "colour": "red", "fit": {"kind": "sine", "new": 1}}}]}})";
    const std::string file = "Bench Tabler session 1\nchoices " + std::to_string(choices.size()) +
                             "\n" + choices + "\nbox " + std::to_string(box.size()) + "\n" + box;
    const SessionRead read = readSession(file, "lab.btsession");
    ASSERT_TRUE(read.session) << read.refusal;
    EXPECT_EQ(read.session->delimiter, ';');
    EXPECT_EQ(read.session->box, box);
    ASSERT_EQ(read.session->graph.blocks.size(), 1u);
    EXPECT_EQ(read.session->graph.blocks[0].choice.title, "T");
    EXPECT_EQ(read.session->graph.blocks[0].choice.model.kind, ModelKind::Sine);
    EXPECT_TRUE(read.session->graph.blocks[0].choice.normalCurve);
    EXPECT_EQ(read.session->record.baud, 115200);
    EXPECT_EQ(read.session->record.rate, 44100);
    EXPECT_FALSE(read.session->graph.blocks[0].choice.spectrum);
}

TEST(SessionFiles, HoldAMillionRecordedRows)
{
    std::string box = "t (s),U (V)\r\n";
    for (int i = 0; i < 1000000; ++i)
        box += std::to_string(i) + ",1.0" + std::to_string(i % 10) + "\r\n";
    const Session saved = everyChoice(box, ',');
    const std::string file = writeSession(saved);
    const SessionRead read = readSession(file, "long.btsession");
    ASSERT_TRUE(read.session);
    EXPECT_EQ(read.session->box, box);
}

} // namespace
