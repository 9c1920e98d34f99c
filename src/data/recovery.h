#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

// The box's unsaved text kept in the lab directory while a program runs, so
// that a crash or a power cut loses nothing: one file per running program,
// named after its process, ".recovery-PID.txt".

std::filesystem::path recoveryFile(const std::filesystem::path& labDirectory, long processId);

// Beside it, ".recovery-PID.choices": the session's choices (the graph's,
// the record window's) without the box, so that they come back with it.
std::filesystem::path recoveryChoicesFile(const std::filesystem::path& recoveryFile);

// A recovery file whose program no longer runs.
struct LeftRecovery {
    std::filesystem::path path;
    long processId = 0;
    std::chrono::system_clock::time_point saved;
};

// The recovery files of programs that no longer run, newest first; a file
// whose program still runs (another window of the program) is left alone.
std::vector<LeftRecovery> leftRecoveries(const std::filesystem::path& labDirectory,
                                         const std::function<bool(long processId)>& runs);

// Whether a process of that number runs.
bool processRuns(long processId);

// "Bench Tabler was not closed normally. Put back the text it held (N lines,
// saved at HH:MM)?", N counting the text's non-empty lines, the time local.
std::string recoveryQuestion(const std::string& text, std::chrono::system_clock::time_point saved);
