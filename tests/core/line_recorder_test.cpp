// What a recording takes from the bytes a board sends, however they are cut
// across reads, and what it takes from a phone's replies.
#include "record/line_recorder.h"
#include "record/phyphox.h"

#include <gtest/gtest.h>

namespace {

RecordOptions optionsOf(char delimiter = ',', bool hostTime = false)
{
    RecordOptions options;
    options.delimiter = delimiter;
    options.hostTime = hostTime;
    return options;
}

struct Received {
    const char* name;
    std::string bytes;
    RecordOptions options;
    std::string header;
    std::vector<std::string> rows;
    std::string unread;
};

const Received receptions[] = {
    {"plain numbers, CR LF",
     "0.012,1.234\r\n0.024,1.240\r\n",
     optionsOf(),
     "value 1,value 2",
     {"0.012,1.234", "0.024,1.240"},
     ""},
    {"labels, blanks and semicolons",
     "temp:21.5;hum: 40.1\n\ntemp:21.75;hum:40\n",
     optionsOf(),
     "temp,hum",
     {"21.5,40.1", "21.75,40"},
     ""},
    {"serial plotter style with blanks",
     "a: 1 b: 2\na: 3 b: 4\n",
     optionsOf('\t'),
     "a\tb",
     {"1\t2", "3\t4"},
     ""},
    {"numbers kept as sent",
     "1.50 2e3  -0.0\n",
     optionsOf(),
     "value 1,value 2,value 3",
     {"1.50,2e3,-0.0"},
     ""},
    {"a cut first line dropped without a word",
     "34,2.5\n1.5,2.6\nok then\n1.6,2.7\n",
     optionsOf(),
     "value 1,value 2",
     {"34,2.5", "1.5,2.6", "1.6,2.7"},
     "1 received line could not be read; it is \"ok then\""},
    {"columns never shift",
     "x\n1,2\n3\n4,5,6\n7,8\n",
     optionsOf(),
     "value 1,value 2",
     {"1,2", "7,8"},
     "2 received lines could not be read; the first is \"3\""},
    {"the computer's time first",
     "5,6\n",
     optionsOf(',', true),
     "t (s),value 1,value 2",
     {"2.500,5,6"},
     ""},
    {"a line not yet ended waits", "1,2\n3,", optionsOf(), "value 1,value 2", {"1,2"}, ""},
};

TEST(LineRecorder, TakesEveryReadableLineHoweverTheBytesAreCut)
{
    for (const Received& r : receptions) {
        // Whole, then one byte at a time, then in pieces of seven.
        for (const std::size_t piece : {r.bytes.size(), std::size_t{1}, std::size_t{7}}) {
            LineRecorder recorder(r.options);
            for (std::size_t at = 0; at < r.bytes.size(); at += piece)
                recorder.receive(std::string_view(r.bytes).substr(at, piece), 2.5);
            EXPECT_EQ(recorder.header().value_or(""), r.header) << r.name;
            EXPECT_EQ(recorder.takeRows(), r.rows) << r.name << " in pieces of " << piece;
            EXPECT_EQ(recorder.unreadMessage(), r.unread) << r.name;
        }
    }
}

TEST(LineRecorder, StartsOnTheTriggerKeepingTheRowsBefore)
{
    RecordOptions options;
    options.trigger = RecordTrigger{2, 1.0, 2};
    LineRecorder recorder(options);
    recorder.receive("0,0.1\n1,0.5\n2,0.9\n3,1.0\n4,1.5\n5,0.2\n6,2\n", 0);
    EXPECT_TRUE(recorder.triggered());
    // Rising above 1 at t = 4: the two rows before it, then every row after.
    EXPECT_EQ(recorder.takeRows(),
              (std::vector<std::string>{"2,0.9", "3,1.0", "4,1.5", "5,0.2", "6,2"}));
    RecordOptions waiting;
    waiting.trigger = RecordTrigger{1, 10, 5};
    LineRecorder untriggered(waiting);
    untriggered.receive("1\n2\n3\n", 0);
    EXPECT_FALSE(untriggered.triggered());
    EXPECT_TRUE(untriggered.takeRows().empty());
    EXPECT_EQ(untriggered.rowsTaken(), 0u);
}

TEST(LineRecorder, KeepsUpWithTwoThousandLinesASecondForMinutes)
{
    // Five minutes at 2000 lines a second, in reads of 61 bytes cut anywhere.
    std::string bytes;
    for (int i = 0; i < 600000; ++i)
        bytes += std::to_string(i) + "," + std::to_string(i % 1024) + "\r\n";
    LineRecorder recorder(optionsOf());
    std::size_t rows = 0;
    for (std::size_t at = 0; at < bytes.size(); at += 61) {
        recorder.receive(std::string_view(bytes).substr(at, 61), 0);
        rows += recorder.takeRows().size();
    }
    EXPECT_EQ(rows, 600000u);
    EXPECT_EQ(recorder.unreadLines(), 0);
}

const char* const config = R"j({"crc32": "5d8ee64e", "title": "Acceleration", "buffers": [],
    "export": [{"set": "Accelerometer", "sources": [
        {"label": "Time (s)", "buffer": "acc_time"},
        {"label": "Acceleration x (m/s^2)", "buffer": "accX"}]},
      {"set": "Other", "sources": [{"label": "t", "buffer": "t 2"}]}]})j";

TEST(Phyphox, ReadsTheExportSetsAndAsksForTheNewValuesOnly)
{
    const auto sets = exportSetsOf(config);
    ASSERT_TRUE(sets && sets->size() == 2);
    const ExportSet& set = sets->front();
    EXPECT_EQ(set.name, "Accelerometer");
    EXPECT_EQ(set.labels, (std::vector<std::string>{"Time (s)", "Acceleration x (m/s^2)"}));
    EXPECT_EQ(pollRequest(set, std::nullopt), "/get?acc_time=full&accX=full");
    EXPECT_EQ(pollRequest(set, 0.125), "/get?acc_time=0.125&accX=0.125%7Cacc_time");
    EXPECT_EQ(pollRequest((*sets)[1], 2.5), "/get?t%202=2.5");
    EXPECT_FALSE(exportSetsOf("<html>"));
    EXPECT_FALSE(exportSetsOf(R"({"title": "no export"})"));
}

TEST(Phyphox, TurnsRepliesIntoRows)
{
    const ExportSet set = exportSetsOf(config)->front();
    const auto reply = readPhoneReply(
        R"j({"buffer": {"acc_time": {"size": 0, "updateMode": "partial", "buffer": [0.1, 0.2, 0.30000000000000004]},
                       "accX": {"size": 0, "updateMode": "partial", "buffer": [9.81, null, -0.5]}},
            "status": {"session": "6dd4a0", "measuring": true, "timedRun": false}})j",
        set);
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->session, "6dd4a0");
    EXPECT_TRUE(reply->measuring);
    ASSERT_EQ(reply->rows.size(), 2u); // the row whose x is no number left out
    EXPECT_EQ(phoneRowText(reply->rows[0], ','), "0.1,9.81");
    EXPECT_EQ(phoneRowText(reply->rows[1], ';'), "0.30000000000000004;-0.5");
    EXPECT_FALSE(readPhoneReply(R"({"buffer": {"acc_time": {"buffer": []}}})", set));
    EXPECT_FALSE(readPhoneReply("not json", set));
}

} // namespace
