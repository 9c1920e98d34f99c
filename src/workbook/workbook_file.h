#pragma once

#include "graph/graph_table.h"
#include "workbook/fits_sheet.h"
#include "workbook/workbook_plan.h"

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

// What goes into a workbook: the box's blocks, read with its delimiter, and
// the fits sheet's rows (empty for none).
struct WorkbookContent {
    std::vector<GraphTable> blocks;
    char delimiter = ',';
    SheetRows fits;
};

// The box's blocks and the fits of the plot the graph window shows.
WorkbookContent workbookContent(std::string_view boxText, char delimiter, SheetRows fits = {});

struct WorkbookWritten {
    std::string failure; // why nothing was written, in the program's words; empty when it was
    bool nothingToWrite = false; // the failure is an empty box
    bool cancelled = false;
    std::size_t sheets = 0;
    std::size_t rows = 0; // the box's data rows
    std::vector<std::string> notes;
};

// Told how far the writing is (0 to 1) now and then; false stops it.
using WorkbookProgress = std::function<bool(double done)>;

// Writes the content as an .xlsx workbook to `path`, durably: into a
// temporary file beside it, flushed, then renamed. A workbook that is
// stopped or cannot be written leaves no file behind, and an existing file
// at `path` as it was. Numbers are written whatever the user's locale.
WorkbookWritten writeWorkbook(const std::filesystem::path& path, const WorkbookContent& content,
                              const WorkbookProgress& progress = {},
                              const SheetLimits& limits = {});

// "3 sheets, 1 250 rows, saved to PATH", then the notes, a sentence each.
std::string workbookNote(const WorkbookWritten& written, const std::string& path);

// What files of workbooks end with.
inline constexpr const char* workbookExtension = ".xlsx";
