#pragma once

#include <filesystem>
#include <string>

// Replaces a file whole and durably: the contents go to a temporary file
// beside it (its name and ".saving"), are flushed to the disk, take the
// file's name, and the folder's entry is flushed too. A power cut at any
// point leaves the old file or the new one, whole. The reason of a failure,
// or empty text when it worked.
std::string replaceFileDurably(const std::filesystem::path& path, const std::string& contents);

// The same for a file another writer has made whole beside it (`written`):
// it is flushed to the disk and takes the file's name, and the folder's entry
// is flushed. `written` is removed when that fails. The reason of a failure,
// or empty text when it worked.
std::string moveIntoPlaceDurably(const std::filesystem::path& written,
                                 const std::filesystem::path& path);

// Adds text to the end of an existing file and flushes it to the disk; the
// file is not created when it is missing. The reason of a failure, or empty
// text when it worked. A power cut during the flush may keep only part of
// the text added.
std::string appendToFileDurably(const std::filesystem::path& path, const std::string& text);
