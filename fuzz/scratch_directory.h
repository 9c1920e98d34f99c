#pragma once

#include <filesystem>
#include <string>
#include <system_error>
#include <unistd.h>

// The lab directory of a fuzz target's commands: one for the process, under
// the system's temporary folder, removed when the process ends.
inline const std::filesystem::path& scratchDirectory()
{
    struct Scratch {
        std::filesystem::path path = std::filesystem::temp_directory_path() /
                                     ("benchtabler-fuzz-" + std::to_string(getpid()));
        Scratch() { std::filesystem::create_directories(path); }
        ~Scratch()
        {
            std::error_code ignored;
            std::filesystem::remove_all(path, ignored);
        }
    };
    static const Scratch scratch;
    return scratch.path;
}
