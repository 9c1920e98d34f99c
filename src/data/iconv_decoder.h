#pragma once

#include "data/data_file.h"

// Decodes with the C library's iconv, for the command line, which has no Qt.
// It gives the same text as the window's Qt converters: a byte that
// Windows-1252 leaves undefined becomes the control character of its code,
// as there.
std::optional<std::string> iconvDecode(std::string_view bytes, SourceEncoding encoding);
