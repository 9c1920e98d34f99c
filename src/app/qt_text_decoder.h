#pragma once

#include "data/data_file.h"

// Decodes with Qt's converters (QStringDecoder); Windows-1252 through ICU,
// or Latin-1 where Qt has no ICU.
std::optional<std::string> qtTextDecode(std::string_view bytes, SourceEncoding encoding);
