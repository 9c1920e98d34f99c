#include "data/durable_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <system_error>
#include <unistd.h>

namespace {

std::string lastError() { return std::strerror(errno); }

// Writes the text to a file opened with the flags given and flushes it to
// the disk. The reason on failure, else empty; `opened` tells whether the
// file was opened (so, with O_CREAT, whether there is a file to remove).
std::string writeDurably(const std::filesystem::path& path, int flags, const std::string& text,
                         bool& opened)
{
    const int file = ::open(path.c_str(), flags | O_WRONLY | O_CLOEXEC, 0666);
    if (file < 0)
        return lastError();
    opened = true;
    std::string failure;
    for (std::size_t written = 0; written < text.size() && failure.empty();) {
        const ssize_t count = ::write(file, text.data() + written, text.size() - written);
        if (count >= 0)
            written += static_cast<std::size_t>(count);
        else if (errno != EINTR)
            failure = lastError();
    }
    if (failure.empty() && ::fsync(file) != 0)
        failure = lastError();
    if (::close(file) != 0 && failure.empty())
        failure = lastError();
    return failure;
}

// The new name must reach the disk too, or a power cut may bring back the old.
void flushFolder(const std::filesystem::path& folder)
{
    const int directory =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (directory < 0)
        return;
    ::fsync(directory);
    ::close(directory);
}

} // namespace

std::string replaceFileDurably(const std::filesystem::path& path, const std::string& contents)
{
    std::filesystem::path temporary = path;
    temporary += ".saving";
    bool created = false;
    std::string failure = writeDurably(temporary, O_CREAT | O_TRUNC, contents, created);
    std::error_code error;
    if (failure.empty()) {
        std::filesystem::rename(temporary, path, error);
        if (error)
            failure = error.message();
    }
    if (!failure.empty()) {
        if (created)
            std::filesystem::remove(temporary, error);
        return failure;
    }
    flushFolder(path.parent_path());
    return {};
}

std::string appendToFileDurably(const std::filesystem::path& path, const std::string& text)
{
    bool opened = false;
    return writeDurably(path, O_APPEND, text, opened);
}
