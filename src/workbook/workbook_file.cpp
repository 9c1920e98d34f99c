#include "workbook/workbook_file.h"

#include "data/durable_file.h"
#include "data/fields.h"
#include "format/report_number.h"

#include <xlsxwriter.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#include <charconv>
#include <clocale>
#include <locale.h>
#include <memory>

namespace {

// The longest text a cell holds.
constexpr std::size_t longestCellText = 32767;
// How many rows are written between two reports of progress.
constexpr std::size_t rowsBetweenReports = 4096;

// The library writes numbers with the C library's formatting, which follows
// the locale: on this thread, for as long as it writes, the locale is "C",
// so that 21.5 is never written "21,5".
class ThreadInCLocale {
public:
    ThreadInCLocale() : c_(newlocale(LC_ALL_MASK, "C", nullptr))
    {
        if (c_)
            previous_ = uselocale(c_);
    }
    ~ThreadInCLocale()
    {
        if (!c_)
            return;
        uselocale(previous_);
        freelocale(c_);
    }
    ThreadInCLocale(const ThreadInCLocale&) = delete;
    ThreadInCLocale& operator=(const ThreadInCLocale&) = delete;

private:
    locale_t c_;
    locale_t previous_ = LC_GLOBAL_LOCALE;
};

struct WorkbookFree {
    void operator()(lxw_workbook* workbook) const { lxw_workbook_free(workbook); }
};

// Whether the number reads back as itself from the 16 significant digits the
// library writes: every number of at most 16 digits does (all that a
// measurement writes); one that needs 17 comes back as its nearest
// 16-digit neighbour. A fit's numbers are not counted: 16 digits are far
// more than their uncertainties leave.
bool keptWhole(double value)
{
    char digits[32];
    const auto written = std::to_chars(digits, digits + sizeof digits, value,
                                       std::chars_format::general, 16);
    double back = 0;
    std::from_chars(digits, written.ptr, back);
    return back == value;
}

// Writes the cells of one workbook, counting what had to be cut.
class SheetWriter {
public:
    SheetWriter(lxw_workbook* workbook, const WorkbookProgress& progress, std::size_t rows)
        : workbook_(workbook), progress_(progress), allRows_(rows)
    {
    }

    lxw_worksheet* addSheet(const std::string& name)
    {
        lxw_worksheet* sheet = workbook_add_worksheet(workbook_, name.c_str());
        if (!sheet)
            failure_ = "the sheet \"" + name + "\" cannot be added";
        return sheet;
    }

    void text(lxw_worksheet* sheet, std::size_t row, std::size_t column, std::string_view text)
    {
        if (text.size() > longestCellText) {
            text = text.substr(0, longestCellText);
            while (!text.empty() && (static_cast<unsigned char>(text.back()) & 0x80))
                text.remove_suffix(1); // never half a character
            ++cutTexts_;
        }
        buffer_.assign(text);
        check(worksheet_write_string(sheet, static_cast<lxw_row_t>(row),
                                     static_cast<lxw_col_t>(column), buffer_.c_str(), nullptr));
    }

    void number(lxw_worksheet* sheet, std::size_t row, std::size_t column, double value)
    {
        check(worksheet_write_number(sheet, static_cast<lxw_row_t>(row),
                                     static_cast<lxw_col_t>(column), value, nullptr));
    }

    template <typename Cell> void cell(lxw_worksheet* sheet, std::size_t row, std::size_t column,
                                       const Cell& cell)
    {
        if (cell.kind == SheetCell::Kind::Number)
            number(sheet, row, column, cell.number);
        else if (cell.kind == SheetCell::Kind::Text)
            text(sheet, row, column, cell.text);
    }

    // A field of the box: a number that needs 17 digits is counted.
    void boxCell(lxw_worksheet* sheet, std::size_t row, std::size_t column, const SheetCell& cell)
    {
        if (cell.kind == SheetCell::Kind::Number)
            roundedNumbers_ += !keptWhole(cell.number);
        this->cell(sheet, row, column, cell);
    }

    // One more of the box's rows written: false when the writing is to stop.
    bool rowDone()
    {
        if (++rowsDone_ % rowsBetweenReports != 0 || !progress_)
            return failure_.empty();
        if (!progress_(static_cast<double>(rowsDone_) / static_cast<double>(allRows_)))
            cancelled_ = true;
        return failure_.empty() && !cancelled_;
    }

    bool goingOn() const { return failure_.empty() && !cancelled_; }
    bool cancelled() const { return cancelled_; }
    const std::string& failure() const { return failure_; }
    std::size_t cutTexts() const { return cutTexts_; }
    std::size_t roundedNumbers() const { return roundedNumbers_; }

private:
    void check(lxw_error error)
    {
        if (error != LXW_NO_ERROR && failure_.empty())
            failure_ = lxw_strerror(error);
    }

    lxw_workbook* workbook_;
    const WorkbookProgress& progress_;
    std::size_t allRows_;
    std::size_t rowsDone_ = 0;
    std::string buffer_;
    std::string failure_;
    bool cancelled_ = false;
    std::size_t cutTexts_ = 0;
    std::size_t roundedNumbers_ = 0;
};

void writePart(SheetWriter& writer, lxw_worksheet* sheet, const GraphTable& block,
               const SheetPart& part, char delimiter)
{
    const bool decimalCommas = delimiter != ',';
    std::size_t row = 0;
    if (part.namesRow) {
        for (std::size_t k = part.firstField; k < part.endField && k < block.columnNames.size(); ++k)
            writer.text(sheet, row, k - part.firstField, block.columnNames[k]);
        worksheet_freeze_panes(sheet, 1, 0);
        ++row;
    }
    for (std::size_t r = part.firstRow; r < part.endRow && writer.goingOn(); ++r, ++row) {
        forEachField(block.lineText(r), delimiter, [&](int k, std::string_view field) {
            const std::size_t index = static_cast<std::size_t>(k - 1);
            if (index >= part.firstField && index < part.endField)
                writer.boxCell(sheet, row, index - part.firstField,
                               cellOfField(field, decimalCommas));
        });
        if (!writer.rowDone())
            return;
    }
}

void writeFits(SheetWriter& writer, lxw_worksheet* sheet, const SheetRows& rows)
{
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (std::size_t k = 0; k < rows[r].size(); ++k)
            writer.cell(sheet, r, k, rows[r][k]);
    worksheet_freeze_panes(sheet, 1, 0);
}

std::string cannotWrite(const std::filesystem::path& path, const std::string& reason)
{
    std::string text = "\"";
    text.append(path.string()).append("\" cannot be written: ").append(reason);
    return text;
}

std::string cutTextsNote(std::size_t count)
{
    return count == 1 ? "1 field is longer than the 32 767 characters a cell holds and is cut"
                      : groupedCount(count) +
                            " fields are longer than the 32 767 characters a cell holds and are cut";
}

std::string makeEmptyFile(const std::filesystem::path& path)
{
    const int file = ::open(path.c_str(), O_CREAT | O_TRUNC | O_WRONLY | O_CLOEXEC, 0666);
    if (file < 0)
        return std::strerror(errno);
    ::close(file);
    return {};
}

// The temporary file goes when the workbook is not written whole.
struct RemovedUnlessKept {
    const std::filesystem::path& path;
    ~RemovedUnlessKept()
    {
        std::error_code ignored;
        std::filesystem::remove(path, ignored); // gone already when it took the file's name
    }
};

std::string roundedNumbersNote(std::size_t count)
{
    return (count == 1 ? std::string("1 number needs") : groupedCount(count) + " numbers need") +
           " 17 significant digits; the workbook keeps 16 of them (a change of at most one part "
           "in 10^16)";
}

} // namespace

WorkbookContent workbookContent(std::string_view boxText, char delimiter, SheetRows fits)
{
    return {readGraphBlocks(boxText, delimiter), delimiter, std::move(fits)};
}

WorkbookWritten writeWorkbook(const std::filesystem::path& path, const WorkbookContent& content,
                              const WorkbookProgress& progress, const SheetLimits& limits)
{
    WorkbookWritten written;
    const WorkbookPlan plan =
        planWorkbook(content.blocks, content.delimiter, !content.fits.empty(), limits);
    if (plan.sheets.empty() && content.fits.empty()) {
        written.failure = "the box holds no rows of data to write";
        written.nothingToWrite = true;
        return written;
    }
    const ThreadInCLocale inCLocale;
    std::filesystem::path temporary = path;
    temporary += ".saving";
    // Made here first, so that a folder that is missing or cannot be written
    // is said in the program's words before any work is done.
    if (const std::string reason = makeEmptyFile(temporary); !reason.empty()) {
        written.failure = cannotWrite(path, reason);
        return written;
    }
    const RemovedUnlessKept removed{temporary};
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    options.use_zip64 = LXW_TRUE;
    std::unique_ptr<lxw_workbook, WorkbookFree> workbook(
        workbook_new_opt(temporary.c_str(), &options));
    if (!workbook) {
        written.failure = cannotWrite(path, "the workbook cannot be made");
        return written;
    }
    SheetWriter writer(workbook.get(), progress, std::max<std::size_t>(plan.rows, 1));
    for (const SheetPart& part : plan.sheets) {
        lxw_worksheet* sheet = writer.addSheet(part.name);
        if (sheet)
            writePart(writer, sheet, content.blocks[part.block], part, content.delimiter);
        if (!writer.goingOn())
            break;
    }
    if (writer.goingOn() && !plan.fitsSheet.empty())
        if (lxw_worksheet* sheet = writer.addSheet(plan.fitsSheet))
            writeFits(writer, sheet, content.fits);
    written.cancelled = writer.cancelled();
    if (!writer.goingOn()) {
        written.failure = written.cancelled ? "the workbook was not saved"
                                            : cannotWrite(path, writer.failure());
        return written; // the library writes the file only when it is closed
    }
    const lxw_error closed = workbook_close(workbook.release());
    std::string failure = closed == LXW_NO_ERROR ? moveIntoPlaceDurably(temporary, path)
                                                 : std::string(lxw_strerror(closed));
    if (!failure.empty()) {
        written.failure = cannotWrite(path, failure);
        return written;
    }
    written.sheets = plan.sheets.size() + (plan.fitsSheet.empty() ? 0 : 1);
    written.rows = plan.rows;
    written.notes = plan.notes;
    if (writer.cutTexts() > 0)
        written.notes.push_back(cutTextsNote(writer.cutTexts()));
    if (writer.roundedNumbers() > 0)
        written.notes.push_back(roundedNumbersNote(writer.roundedNumbers()));
    return written;
}

std::string workbookNote(const WorkbookWritten& written, const std::string& path)
{
    std::string note = groupedCount(written.sheets) + (written.sheets == 1 ? " sheet, " : " sheets, ") +
                       groupedCount(written.rows) + (written.rows == 1 ? " row" : " rows") +
                       ", saved to " + path;
    for (const std::string& more : written.notes)
        note += ". " + std::string(1, static_cast<char>(std::toupper(more[0]))) + more.substr(1);
    return note;
}
