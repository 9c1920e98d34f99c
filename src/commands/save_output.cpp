#include "commands/save_output.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <system_error>

namespace {

// Writes the file under a temporary name; the reason on failure, else empty.
std::string writeWhole(const std::filesystem::path& path, const std::string& text)
{
    errno = 0;
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file)
        return errno ? std::strerror(errno) : "the file cannot be created";
    file.write(text.data(), static_cast<std::streamsize>(text.size()));
    file.close();
    if (file.fail())
        return errno ? std::strerror(errno) : "the file cannot be written";
    return {};
}

std::string saveAtomically(const std::filesystem::path& path, const std::string& text)
{
    std::filesystem::path temporary = path;
    temporary += ".saving";
    std::string reason = writeWhole(temporary, text);
    std::error_code error;
    if (reason.empty()) {
        std::filesystem::rename(temporary, path, error);
        if (error)
            reason = error.message();
    }
    if (!reason.empty())
        std::filesystem::remove(temporary, error);
    return reason;
}

} // namespace

void outputAsDelimitedFile(CommandContext& context)
{
    const std::filesystem::path path = context.labDirectory / outputFileName;
    const std::string reason = saveAtomically(path, context.ui.readBox() + "\r\n");
    if (!reason.empty())
        context.ui.showMessage("could not save " + path.string() + ": " + reason);
}
