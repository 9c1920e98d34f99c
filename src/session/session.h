#pragma once

#include "graph/graph_plot.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A lab to come back to: the box exactly as it was, the delimiter, and every
// choice of the graph window and the record window, in one file.

// The choices of one block of the box, kept while its name is the same.
struct BlockChoice {
    std::size_t block = 0; // among the box's blocks
    std::string name;      // the block's name then
    GraphChoice choice;
};

// The graph window: whether it is open, the block shown ("all runs": the
// block whose columns the runs share), and each block's choices.
struct GraphSession {
    bool open = false;
    std::size_t block = 0;
    std::vector<BlockChoice> blocks;
};

// The record window's choices.
struct RecordChoices {
    std::string source; // a port's name or device, "phone (phyphox)" or "microphone: NAME"
    int baud = 115200;
    int rate = 44100; // a sound input's samples a second
    std::string phone; // "192.168.1.23:8080"
    bool hostTime = false;
    enum class Stop { Never, Seconds, Lines };
    Stop stop = Stop::Never;
    double stopAfter = 10;
    bool trigger = false;
    int triggerColumn = 1;
    double triggerLevel = 0;
    int triggerBefore = 0;
    std::string heading; // typed above the next recording's header

    bool operator==(const RecordChoices&) const = default;
};

struct Session {
    std::string box; // byte for byte
    char delimiter = ',';
    std::string dataFile;    // the file last opened into the box, for the report's title
    std::string studentName; // the report's name
    bool isTemplate = false; // opens as a new, unnamed session
    GraphSession graph;
    RecordChoices record;
};

// The version this program writes and reads; a file of a later one is
// refused by name.
inline constexpr int sessionVersion = 1;

// The file: "Bench Tabler session 1", "choices N" and N bytes of JSON (every
// choice), "box N" and the box's N bytes as they are; each framing line ends
// with LF.
std::string writeSession(const Session& session);

// A session read from a file's bytes, or why not, naming the file: not a
// session, a newer version, cut short, choices that cannot be read. Keys it
// does not know are ignored.
struct SessionRead {
    std::optional<Session> session;
    std::string refusal;
};
SessionRead readSession(std::string_view bytes, const std::string& fileName);

// Whether bytes begin as a session file does.
bool looksLikeSession(std::string_view bytes);

// What files of sessions end with: ".btsession".
inline constexpr const char* sessionExtension = ".btsession";
