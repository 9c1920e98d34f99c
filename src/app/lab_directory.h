#pragma once

#include <filesystem>

// Where the program keeps its files: C:\labfiles on Windows, labfiles in the
// user's home directory elsewhere.
std::filesystem::path labDirectory();

class QString;

// A path as Qt writes it, and back.
QString toQString(const std::filesystem::path& path);
std::filesystem::path toPath(const QString& path);
