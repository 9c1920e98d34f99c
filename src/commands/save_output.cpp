#include "commands/save_output.h"

#include "data/durable_file.h"

std::string saveBoxText(const std::filesystem::path& path, const std::string& boxText)
{
    return replaceFileDurably(path, boxText + "\r\n");
}

bool outputAsDelimitedFile(CommandContext& context)
{
    const std::filesystem::path path = context.labDirectory / outputFileName;
    const std::string reason = saveBoxText(path, context.ui.readBox());
    if (!reason.empty())
        context.ui.showMessage("could not save " + path.string() + ": " + reason);
    return reason.empty();
}
