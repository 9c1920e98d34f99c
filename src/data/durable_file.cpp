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

// Gives the flushed temporary file the file's name, and flushes the folder;
// removes the temporary file when that fails.
std::string renameIntoPlace(const std::filesystem::path& temporary,
                            const std::filesystem::path& path)
{
    std::error_code error;
    std::filesystem::rename(temporary, path, error);
    if (error) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        return error.message();
    }
    flushFolder(path.parent_path());
    return {};
}

} // namespace

std::string replaceFileDurably(const std::filesystem::path& path, const std::string& contents)
{
    std::filesystem::path temporary = path;
    temporary += ".saving";
    bool created = false;
    const std::string failure = writeDurably(temporary, O_CREAT | O_TRUNC, contents, created);
    if (failure.empty())
        return renameIntoPlace(temporary, path);
    std::error_code error;
    if (created)
        std::filesystem::remove(temporary, error);
    return failure;
}

std::string moveIntoPlaceDurably(const std::filesystem::path& written,
                                 const std::filesystem::path& path)
{
    bool opened = false;
    const std::string failure = writeDurably(written, 0, {}, opened);
    if (failure.empty())
        return renameIntoPlace(written, path);
    std::error_code error;
    std::filesystem::remove(written, error);
    return failure;
}

std::string appendToFileDurably(const std::filesystem::path& path, const std::string& text)
{
    bool opened = false;
    return writeDurably(path, O_APPEND, text, opened);
}
