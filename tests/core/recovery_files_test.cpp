#include "data/recovery.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

// The state letter /proc gives a process.
char stateOf(pid_t process)
{
    std::ifstream stat("/proc/" + std::to_string(process) + "/stat");
    std::string line;
    std::getline(stat, line);
    const auto nameEnd = line.rfind(')');
    return nameEnd == std::string::npos ? '?' : line[nameEnd + 2];
}

TEST(RecoveryFiles, AProcessThatEndedCountsAsEndedBeforeItIsReaped)
{
    EXPECT_TRUE(processRuns(static_cast<long>(getpid())));
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0)
        _exit(0);
    // Not reaped yet: a zombie until waitpid.
    for (int i = 0; i < 500 && stateOf(child) != 'Z'; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    ASSERT_EQ(stateOf(child), 'Z');
    EXPECT_FALSE(processRuns(child));
    waitpid(child, nullptr, 0);
    EXPECT_FALSE(processRuns(child));
}

TEST(RecoveryFiles, AreLeftOnlyByProgramsThatNoLongerRun)
{
    const std::filesystem::path directory =
        std::filesystem::temp_directory_path() / ("benchtabler-left-" + std::to_string(getpid()));
    std::filesystem::create_directories(directory);
    for (const long id : {11L, 22L, 33L})
        std::ofstream(recoveryFile(directory, id)) << "1,2";
    std::ofstream(directory / ".recovery-x.txt") << "not one of ours";
    const auto left = leftRecoveries(directory, [](long id) { return id == 22; });
    std::vector<long> ids;
    for (const LeftRecovery& recovery : left)
        ids.push_back(recovery.processId);
    std::sort(ids.begin(), ids.end());
    EXPECT_EQ(ids, (std::vector<long>{11, 33}));
    std::filesystem::remove_all(directory);
}

} // namespace
