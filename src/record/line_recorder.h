#pragma once

#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What a recording takes from the lines a board sends (an Arduino printing
// "0.012,1.234" or "temp:21.5,hum:40.1" over USB serial).

// "Start when column K rises above V", keeping the N rows before it.
struct RecordTrigger {
    int column = 1; // as the box counts them, from 1 (the computer's time first, when taken)
    double level = 0;
    int before = 0;
};

struct RecordOptions {
    char delimiter = ',';  // the box's, between the fields written
    bool hostTime = false; // a first column t (s): the seconds since Start
    std::optional<RecordTrigger> trigger;
};

// Reads the bytes as they come, in pieces cut anywhere: a line ends at LF
// (a CR before it is dropped); its fields are separated by commas,
// semicolons, tabs or blanks, and may carry labels ("temp:21.5"). A line
// is taken when every field holds a number and it has as many fields as
// the first line taken; it becomes a row of the box, its numbers as the
// device wrote them, joined by the box's delimiter. Other lines are left
// out and counted; blank lines are skipped, and a first line that cannot
// be read (cut because the port opened in the middle of it) is dropped
// without being counted.
class LineRecorder {
public:
    explicit LineRecorder(RecordOptions options);

    // The bytes received `seconds` after Start.
    void receive(std::string_view bytes, double seconds);

    // The header, once the first line is taken: the labels ("temp,hum"), or
    // "value 1,value 2", after "t (s)" with the computer's time.
    const std::optional<std::string>& header() const { return header_; }
    // The rows taken since the last call, oldest first.
    std::vector<std::string> takeRows();
    std::size_t rowsTaken() const { return rowsTaken_; }
    // Whether the trigger has fired (always, without one).
    bool triggered() const { return triggered_; }

    int unreadLines() const { return unread_; }
    // "3 received lines could not be read; the first is "TEXT"", or empty.
    std::string unreadMessage() const;

private:
    void takeLine(std::string_view line, double seconds);
    void addRow(std::string row, const std::vector<double>& values);

    RecordOptions options_;
    std::string pending_; // a line not yet ended
    bool firstLine_ = true;
    std::optional<std::size_t> fieldCount_;
    std::optional<std::string> header_;
    std::vector<std::string> rows_;
    std::size_t rowsTaken_ = 0;
    bool triggered_ = true;
    std::optional<double> lastTriggerValue_;
    std::deque<std::string> beforeTrigger_;
    int unread_ = 0;
    std::string firstUnread_;
};

// The fields of a received line: their labels (empty where none) and the
// text of their values, trimmed; nothing for a blank line.
struct ReceivedField {
    std::string label;
    std::string value;
};
std::vector<ReceivedField> receivedFields(std::string_view line);
