#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The phyphox app's remote interface, as its published API describes it: a
// phone serves /config (the experiment: its export sets, each naming
// buffers and their labels), /control?cmd=start|stop, and /get, which
// answers with the buffers asked for and the phone's status. Plain text in,
// plain values out: the requests themselves are the phone source's.

// An export set: the columns it gives, each a label and the buffer behind
// it; its first buffer is the time the others are measured at.
struct ExportSet {
    std::string name;
    std::vector<std::string> labels;
    std::vector<std::string> buffers;
};

// The export sets of a /config reply, in its order; nothing when the reply
// is not such a configuration.
std::optional<std::vector<ExportSet>> exportSetsOf(std::string_view config);

// The /get request for the set: every buffer whole at first ("full"), then
// only the values after the last time taken, by the threshold form on the
// set's first buffer: "/get?t=0.5&x=0.5%7Ct".
std::string pollRequest(const ExportSet& set, std::optional<double> lastTime);

// The /get request for the last value of the set's time buffer
// ("/get?t"): how far the phone's buffers reach before a recording starts.
std::string latestTimeRequest(const ExportSet& set);

// The last time of the set's time buffer in a /get reply; nothing when the
// buffer is empty or the reply is not phyphox's.
std::optional<double> latestTimeOf(std::string_view reply, const ExportSet& set);

// What a /get reply gave: the new rows of the set's columns (as many as its
// first buffer, each value written in the shortest form that reads back
// the same), the phone's session and whether it measures.
struct PhoneReply {
    std::vector<std::vector<double>> rows;
    std::string session;
    bool measuring = false;
};
std::optional<PhoneReply> readPhoneReply(std::string_view reply, const ExportSet& set);

// A row of values joined by the delimiter, each in the shortest form that
// reads back as the same double ("0.125,9.81").
std::string phoneRowText(const std::vector<double>& row, char delimiter);
