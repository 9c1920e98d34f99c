#pragma once

#include <filesystem>

// Where the program keeps its files: C:\labfiles on Windows, labfiles in the
// user's home directory elsewhere.
std::filesystem::path labDirectory();
