#include "data/recovery.h"

#include "data/text_intake.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <csignal>
#include <ctime>
#include <fstream>

namespace {

constexpr std::string_view prefix = ".recovery-";
constexpr std::string_view suffix = ".txt";

// The process of a recovery file's name; 0 for any other name.
long processOf(const std::string& name)
{
    if (name.size() <= prefix.size() + suffix.size() || !name.starts_with(prefix) ||
        !name.ends_with(suffix))
        return 0;
    long id = 0;
    const char* first = name.data() + prefix.size();
    const char* last = name.data() + name.size() - suffix.size();
    const auto [end, error] = std::from_chars(first, last, id);
    return error == std::errc() && end == last && id > 0 ? id : 0;
}

} // namespace

std::filesystem::path recoveryFile(const std::filesystem::path& labDirectory, long processId)
{
    return labDirectory / (std::string(prefix) + std::to_string(processId) + std::string(suffix));
}

std::filesystem::path recoveryChoicesFile(const std::filesystem::path& recoveryFile)
{
    std::filesystem::path choices = recoveryFile;
    return choices.replace_extension(".choices");
}

std::vector<LeftRecovery> leftRecoveries(const std::filesystem::path& labDirectory,
                                         const std::function<bool(long processId)>& runs)
{
    std::vector<LeftRecovery> left;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(labDirectory, error)) {
        const long id = processOf(entry.path().filename().string());
        if (id == 0 || !entry.is_regular_file(error) || runs(id))
            continue;
        const auto written = entry.last_write_time(error);
        if (error)
            continue;
        left.push_back({entry.path(), id, std::chrono::file_clock::to_sys(written)});
    }
    std::sort(left.begin(), left.end(),
              [](const LeftRecovery& a, const LeftRecovery& b) { return a.saved > b.saved; });
    return left;
}

bool processRuns(long processId)
{
    if (::kill(static_cast<pid_t>(processId), 0) != 0 && errno != EPERM)
        return false;
    // A process that has ended but that its parent has not yet reaped (a
    // zombie, state Z, or X as it goes) still answers kill: its state in
    // /proc says it runs no more.
    std::ifstream stat("/proc/" + std::to_string(processId) + "/stat");
    std::string line;
    if (!std::getline(stat, line))
        return true;
    const auto nameEnd = line.rfind(')');
    if (nameEnd == std::string::npos || nameEnd + 2 >= line.size())
        return true;
    const char state = line[nameEnd + 2];
    return state != 'Z' && state != 'X';
}

std::string recoveryQuestion(const std::string& text, std::chrono::system_clock::time_point saved)
{
    const std::time_t seconds = std::chrono::system_clock::to_time_t(saved);
    std::tm local{};
    localtime_r(&seconds, &local);
    char time[8];
    std::strftime(time, sizeof time, "%H:%M", &local);
    const std::size_t lines = nonEmptyLines(text).size();
    return "Bench Tabler was not closed normally. Put back the text it held (" +
           std::to_string(lines) + (lines == 1 ? " line" : " lines") + ", saved at " + time + ")?";
}
