#include "commands/save_output.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <system_error>

namespace {

struct WriteResult {
    bool created = false; // the file was opened, so a failure leaves it to clean up
    std::string failure;  // empty on success
};

std::string reasonFromErrno(const char* fallback)
{
    return errno ? std::strerror(errno) : fallback;
}

WriteResult writeWhole(const std::filesystem::path& path, const std::string& text)
{
    errno = 0;
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file)
        return {false, reasonFromErrno("the file cannot be created")};
    file.write(text.data(), static_cast<std::streamsize>(text.size()));
    file.close();
    if (file.fail())
        return {true, reasonFromErrno("the file cannot be written")};
    return {true, {}};
}

// Writes the text beside the file under a temporary name, then gives it the
// file's name. The reason on failure, else empty.
std::string saveAtomically(const std::filesystem::path& path, const std::string& text)
{
    std::filesystem::path temporary = path;
    temporary += ".saving";
    WriteResult result = writeWhole(temporary, text);
    std::error_code error;
    if (result.failure.empty()) {
        std::filesystem::rename(temporary, path, error);
        if (error)
            result.failure = error.message();
    }
    if (!result.failure.empty() && result.created)
        std::filesystem::remove(temporary, error);
    return result.failure;
}

} // namespace

void outputAsDelimitedFile(CommandContext& context)
{
    const std::filesystem::path path = context.labDirectory / outputFileName;
    const std::string reason = saveAtomically(path, context.ui.readBox() + "\r\n");
    if (!reason.empty())
        context.ui.showMessage("could not save " + path.string() + ": " + reason);
}
