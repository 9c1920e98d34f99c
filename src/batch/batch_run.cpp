#include "batch/batch_run.h"

#include "batch/batch_fit.h"
#include "batch/batch_histogram.h"
#include "batch/batch_export.h"
#include "batch/batch_readings.h"
#include "batch/batch_spectrum.h"
#include "commands/calculate_column.h"
#include "commands/difference_quotient.h"
#include "commands/experiment_calculations.h"
#include "commands/first_difference.h"
#include "commands/mean_std_dev.h"
#include "commands/random_numbers.h"
#include "commands/rows_to_columns.h"
#include "commands/running_sum.h"
#include "commands/select_column.h"
#include "data/data_file.h"
#include "data/data_intake.h"
#include "data/iconv_decoder.h"
#include "data/user_interface.h"

#include <algorithm>
#include <cstdlib>
#include <deque>
#include <fstream>
#include <filesystem>
#include <iterator>
#include <memory>
#include <optional>
#include <sstream>
#include <unistd.h>
#include <variant>

namespace {

constexpr const char* usage =
    "usage: benchtabler-batch [--delimiter comma|tab|semicolon|space|auto] "
    "[--decimal-comma|--no-decimal-comma] "
    "[--answer TEXT]... [--lf] COMMAND [FILE]\n"
    "COMMAND: first-difference, running-sum, difference-quotient, select-column, "
    "rows-to-columns, mean-sd, random-numbers, experiment, calculate-column\n"
    "       benchtabler-batch [--delimiter NAME] fit [--x K] [--y K] (--model NAME | "
    "--equation TEXT) [--start NAME=VALUE]... [--from A] [--to B] [--sigma-x K] [--sigma-y K] "
    "[--result FORMULA]... [--runs] [--json|--table] [FILE]\n"
    "       benchtabler-batch [--delimiter NAME] histogram [--y K] [--bins auto|sturges|WIDTH] "
    "[--json] [FILE]\n"
    "       benchtabler-batch [--delimiter NAME] integral [--x K] [--y K] [--from A] [--to B] "
    "[--sigma-y K] [--json] [FILE]\n"
    "       benchtabler-batch [--delimiter NAME] tangent --at X [--x K] [--y K] [--points N] "
    "[--sigma-y K] [--json] [FILE]\n"
    "       benchtabler-batch [--delimiter NAME] stats [--x K] [--y K] [--from A] [--to B] "
    "[--json] [FILE]\n"
    "       benchtabler-batch [--delimiter NAME] report --pdf FILE [--title TEXT] [--name TEXT] "
    "[--paper a4|letter] [--log-x] [--log-y] [the options of fit] [DATA]\n"
    "       benchtabler-batch [--delimiter NAME] spectrum [--x K] [--y K] [--from F] [--to F] "
    "[--window hann|rect|hamming|blackman] [--json] [FILE]\n"
    "       benchtabler-batch [--delimiter NAME] export --xlsx FILE [the options of fit] "
    "[--runs] [DATA]\n"
    "       benchtabler-batch [--delimiter NAME] record (--port DEVICE [--baud N] | "
    "--phyphox HOST:PORT [--set NAME] | --audio [DEVICE] [--rate R]) (--lines N | --seconds S) "
    "[--host-time] [--trigger K:V [--before N]]\n";

constexpr const char* help =
    "\nRuns one Bench Tabler command on the text of FILE (standard input when FILE is absent\n"
    "or \"-\") and prints the text the box then holds, as \"Output as delimited file\" would\n"
    "save it: CR LF line breaks and one at the end (--lf: LF).\n"
    "  --delimiter NAME  the delimiter in force (comma at start); auto: the one the\n"
    "                    file's lines use, when it is not the comma\n"
    "  --decimal-comma, --no-decimal-comma\n"
    "                    a file of decimal commas (\"0,1;2,35\") gets points, or keeps\n"
    "                    its commas, as the window does when its question is answered\n"
    "                    Yes or No; such a file needs one of them\n"
    "  --answer TEXT     the answer to the next question the command asks; a question\n"
    "                    without an answer left is cancelled\n"
    "  --lf              LF line breaks instead of CR LF\n"
    "  --help, --version\n"
    "Messages go to standard error, one line each. Exit status: 0 when the command wrote\n"
    "its output, 1 when it refused or ended without writing (nothing on standard output),\n"
    "2 for a wrong command line or a file that cannot be read.\n"
    "\n"
    "fit fits a curve to the rows of FILE as the graph window takes them and prints the\n"
    "graph window's fit text (--json: one JSON object for scripts); exit status 1 when\n"
    "there is no fit, its reason on standard error.\n"
    "  --runs             every run (data block) with the first run's columns, each fitted\n"
    "                     on its own: the table of their fits (--json: {\"runs\": [...]};\n"
    "                     --table: the results block the window puts in the box)\n"
    "FILE may be a session (.btsession): its box, and its choices as the defaults of\n"
    "every option; the options given win.\n"
    "  --x K, --y K       the columns (x 0 is the line number); the graph's choice at start\n"
    "  --model NAME       line (or linear), proportional, quadratic, polynomial:N (N 2\n"
    "                     to 10; cubic is polynomial:3), exponential, exponential-offset,\n"
    "                     power, logarithm, sine, gaussian\n"
    "  --equation TEXT    an own equation in x, e.g. \"A*exp(-k*x) + C\"\n"
    "  --start NAME=VALUE a starting value of the own equation (1 when not given)\n"
    "  --from A, --to B   fit only the rows with x from A to B\n"
    "  --sigma-x K, --sigma-y K  the uncertainties of x and y are in column K: the fit\n"
    "                     minimises chi-squared and gives its probability\n"
    "  --result FORMULA   a quantity from the fitted parameters, e.g. \"4*pi^2/m\", with\n"
    "                     its uncertainty from their covariance (repeatable)\n"
    "\n"
    "integral prints the area under y over x by the trapezoid rule on the rows as\n"
    "measured, with its uncertainty: the readings' part (from --sigma-y) and the rule's\n"
    "own error, its difference from Simpson's rule (for any spacing); its unit\n"
    "is the y unit times the x unit. Rows whose x do not increase are refused.\n"
    "tangent prints the slope at X of a least-squares parabola (a line for 3 or 4\n"
    "rows) through the N nearest rows (7 unless --points), weighted with --sigma-y;\n"
    "never outside the rows' x range. stats prints N, the mean with its standard\n"
    "error, s, the least and greatest y of the rows with x from A to B (both ends\n"
    "included). Each exits 1 with a message and nothing printed when the range or\n"
    "point lies outside the data or holds fewer rows than the reading needs.\n"
    "\n"
    "histogram counts the values of column K (the graph's y at start) in bins as the graph\n"
    "window does and prints its text and one line a bin, \"FROM TO COUNT\" (--json: one\n"
    "object); exit status 1 when there are no values.\n"
    "  --bins auto       the Freedman-Diaconis width, Sturges' when the IQR is 0, rounded\n"
    "                    down to 1, 2 or 5 times a power of ten (the default)\n"
    "  --bins sturges    the range over ceil(log2 N) + 1, rounded likewise\n"
    "  --bins WIDTH      bins of this width, whose edges are its multiples\n"
    "\n"
    "report writes the lab report the graph window would write as a PDF: the title, the\n"
    "name and the date, the graph, the fit text and the table of the rows plotted, the\n"
    "model optional. Exit status 1 when there is nothing to plot (no file written), 2\n"
    "when the PDF cannot be written.\n"
    "  --title TEXT       at first the data file's name, else \"Bench Tabler report\"\n"
    "  --name TEXT        the student or group\n"
    "  --paper a4|letter  A4, or US Letter where the system's locale uses it\n"
    "  --log-x, --log-y   logarithmic axes\n"
    "\n"
    "spectrum prints the amplitude spectrum of y against x as the graph window shows it:\n"
    "the mean removed, a Hann window (--window), an FFT; the sample rate, the samples,\n"
    "the resolution and up to five peaks, each between the bins with its uncertainty\n"
    "(--json: one object). --from and --to limit the peaks to those frequencies. Exit\n"
    "status 1 for fewer than 8 samples or x that do not increase. Sound files (WAV,\n"
    "FLAC, Ogg) are read as t (s), left[, right]: --y 3 is the right channel.\n"
    "\n"
    "export writes the box as a workbook for a spreadsheet (.xlsx): a sheet a data block,\n"
    "named by its heading, its column names in the first row, numbers as numbers (decimal\n"
    "commas too where the delimiter is not the comma), other fields as text, never as a\n"
    "formula; with a model (--runs: for every run), a sheet \"fits\". Exit status 1 when\n"
    "the box holds no data (no file written), 2 when FILE cannot be written.\n"
    "\n"
    "record records lines from a board on a serial port or from a phone running phyphox\n"
    "into an empty box, as the record window does, and prints the box; it stops after\n"
    "--lines N rows or --seconds S, on Ctrl+C, or when the device goes away. --audio\n"
    "records a sound input (the system's default, or the one named) as t (s),left rows\n"
    "at --rate R samples a second (44100; 8000 to 48000); --seconds counts the sound's\n"
    "own time, and --trigger 1:V starts when the level rises above V.\n";

const struct {
    const char* name;
    void (*run)(CommandContext&);
} commands[] = {
    {"first-difference", firstDifference},
    {"running-sum", runningSum},
    {"difference-quotient", differenceQuotient},
    {"select-column", selectColumn},
    {"rows-to-columns", rowsToColumns},
    {"mean-sd", meanAndStandardDeviation},
    {"random-numbers", [](CommandContext& c) { generateRandomNumbers(c); }},
    {"experiment", experimentCalculations},
    {"calculate-column", calculateColumn},
};

const struct {
    const char* name;
    char delimiter;
} delimiters[] = {{"comma", ','}, {"tab", '\t'}, {"semicolon", ';'}, {"space", ' '}};

// The screen of a run without a window: the box is a text, questions take
// the answers given, and messages are written down.
class BatchScreen : public UserInterface {
public:
    std::string box;
    std::deque<std::string> answers;
    std::string messages;
    bool boxWritten = false;

    std::string readBox() const override { return box; }
    void replaceBox(const std::string& text, std::size_t) override
    {
        box = text;
        boxWritten = true;
    }
    void showMessage(const std::string& prompt) override
    {
        messages += "message: " + oneLine(inBatchWords(prompt)) + "\n";
    }
    std::string askText(const std::string&, const std::string&) override
    {
        if (answers.empty())
            return {}; // as if Cancel was pressed
        std::string answer = std::move(answers.front());
        answers.pop_front();
        return answer;
    }

private:
    static std::string oneLine(const std::string& text)
    {
        std::string line;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] != '\r' && text[i] != '\n') {
                line += text[i];
                continue;
            }
            line += " / ";
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        }
        return line;
    }
};

struct Options {
    char delimiter = ',';
    BatchInputChoice input;
    std::deque<std::string> answers;
    bool lineFeeds = false;
    void (*command)(CommandContext&) = nullptr;
    std::optional<std::string> file;
};

// The options, or the explanation of what is wrong with them.
std::variant<Options, std::string> parseArguments(const std::vector<std::string>& arguments)
{
    Options options;
    std::vector<std::string> operands;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const bool takesValue = argument == "--delimiter" || argument == "--answer";
        if (takesValue && i + 1 == arguments.size())
            return argument + " needs a value";
        if (argument == "--delimiter") {
            const std::string& name = arguments[++i];
            const std::optional<char> delimiter = delimiterNamed(name);
            if (name == "auto")
                options.input.automaticDelimiter = true;
            else if (!delimiter)
                return "unknown delimiter \"" + name + "\"";
            else
                options.delimiter = *delimiter;
            options.input.delimiterGiven = true;
        } else if (argument == "--answer") {
            options.answers.push_back(arguments[++i]);
        } else if (argument == "--lf") {
            options.lineFeeds = true;
        } else if (argument == "--decimal-comma" || argument == "--no-decimal-comma") {
            options.input.decimalComma = argument == "--decimal-comma";
        } else if (argument.size() > 1 && argument[0] == '-' && argument != "-") {
            return "unknown option \"" + argument + "\"";
        } else {
            operands.push_back(argument);
        }
    }
    if (operands.empty())
        return std::string("no command given");
    if (operands.size() > 2)
        return "too many arguments after the command";
    const auto known = std::find_if(std::begin(commands), std::end(commands),
                                    [&](const auto& c) { return operands[0] == c.name; });
    if (known == std::end(commands))
        return "unknown command \"" + operands[0] + "\"";
    options.command = known->run;
    if (operands.size() == 2 && operands[1] != "-")
        options.file = operands[1];
    return options;
}

std::string delimiterName(char delimiter)
{
    for (const auto& d : delimiters)
        if (d.delimiter == delimiter)
            return d.name;
    return "comma";
}

// A directory of its own for the commands' temporary file, removed after.
class ScratchDirectory {
public:
    ScratchDirectory()
    {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "benchtabler-batch-XXXXXX").string();
        if (mkdtemp(pattern.data()))
            path_ = pattern;
    }
    ~ScratchDirectory()
    {
        std::error_code ignored;
        if (!path_.empty())
            std::filesystem::remove_all(path_, ignored);
    }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

std::string withLineFeeds(std::string text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n'))
            out += text[i];
    return out;
}

} // namespace

std::string commandOf(const std::vector<std::string>& arguments)
{
    static const std::vector<std::string> valued = {"--delimiter", "--answer"};
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (std::find(valued.begin(), valued.end(), arguments[i]) != valued.end())
            ++i;
        else if (arguments[i].empty() || arguments[i][0] != '-')
            return arguments[i];
    }
    return {};
}

BatchResult usageFailure(const std::string& explanation)
{
    return {usageError, {}, "benchtabler-batch: " + explanation + "\n" + usage};
}

std::optional<char> delimiterNamed(const std::string& name)
{
    for (const auto& d : delimiters)
        if (name == d.name)
            return d.delimiter;
    return std::nullopt;
}

namespace {

std::string fileBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

bool fileIsSession(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    char start[32] = {};
    file.read(start, sizeof start);
    return looksLikeSession(std::string_view(start, static_cast<std::size_t>(file.gcount())));
}

// A session's box as it is, its delimiter unless --delimiter named one; a
// session that cannot be read is refused by name.
void readSessionInput(const std::string& name, const std::string& bytes, BatchInput& read,
                      const BatchInputChoice& choice, char& delimiter)
{
    SessionRead session = readSession(bytes, name);
    if (!session.session) {
        read.box.refusal = session.refusal;
        return;
    }
    read.box.text = session.session->box;
    if (!choice.delimiterGiven)
        delimiter = session.session->delimiter;
    read.session = std::move(session.session);
}

} // namespace

BatchInput readBatchInput(const std::optional<std::string>& file, std::istream& input,
                          const BatchInputChoice& choice, char& delimiter)
{
    BatchInput read;
    const bool fromFile = file && *file != "-";
    if (fromFile && fileIsSession(*file)) {
        readSessionInput(*file, fileBytes(*file), read, choice, delimiter);
        return read;
    }
    if (fromFile) {
        read.box = readDataFile(*file, iconvDecode);
    } else {
        const std::string bytes((std::istreambuf_iterator<char>(input)),
                                std::istreambuf_iterator<char>());
        if (looksLikeSession(bytes)) {
            readSessionInput("standard input", bytes, read, choice, delimiter);
            return read;
        }
        read.box = decodeDataFile(bytes, "standard input", iconvDecode);
    }
    if (!read.box.refusal.empty())
        return read;
    const TakenIn taken =
        takeIn(read.box.text, delimiter, IntakeSource::File,
               [&choice](IntakeQuestion kind, const std::string&) -> std::optional<bool> {
                   if (kind == IntakeQuestion::Delimiter)
                       return choice.automaticDelimiter;
                   return choice.decimalComma;
               });
    if (!taken.unanswered.empty()) {
        read.unanswered = "the file asks \"" + taken.unanswered +
                          "\": give --decimal-comma to change its decimal commas to points, or "
                          "--no-decimal-comma to keep them as they are";
        return read;
    }
    read.box.text = taken.text;
    read.notes = taken.notes;
    if (taken.delimiter)
        delimiter = *taken.delimiter;
    return read;
}

std::string inBatchWords(const std::string& message)
{
    std::string words = message;
    const std::string button = "with Change Delimiter";
    for (auto at = words.find(button); at != std::string::npos; at = words.find(button, at))
        words.replace(at, button.size(), "with --delimiter");
    return words;
}

std::optional<BatchResult> inputFailure(const BatchInput& input)
{
    if (!input.box.refusal.empty())
        return usageFailure(input.box.refusal);
    if (!input.unanswered.empty())
        return BatchResult{noOutput, {}, "message: " + input.unanswered + "\n"};
    return std::nullopt;
}

BatchResult runBatch(const std::vector<std::string>& arguments, std::istream& input)
{
    if (std::find(arguments.begin(), arguments.end(), "--help") != arguments.end())
        return {producedOutput, std::string(usage) + help, {}};
    if (std::find(arguments.begin(), arguments.end(), "--version") != arguments.end())
        return {producedOutput, "benchtabler-batch " BENCHTABLER_VERSION "\n", {}};
    if (commandOf(arguments) == "fit")
        return runFit(arguments, input);
    if (commandOf(arguments) == "histogram")
        return runHistogram(arguments, input);
    if (commandOf(arguments) == "integral")
        return runIntegral(arguments, input);
    if (commandOf(arguments) == "tangent")
        return runTangent(arguments, input);
    if (commandOf(arguments) == "stats")
        return runStats(arguments, input);
    if (commandOf(arguments) == "export")
        return runExport(arguments, input);
    if (commandOf(arguments) == "spectrum")
        return runSpectrum(arguments, input);
    const auto parsed = parseArguments(arguments);
    if (const auto* explanation = std::get_if<std::string>(&parsed))
        return usageFailure(*explanation);
    Options options = std::get<Options>(parsed);

    const BatchInput read = readBatchInput(options.file, input, options.input, options.delimiter);
    if (const std::optional<BatchResult> failure = inputFailure(read))
        return *failure;

    BatchScreen screen;
    screen.box = read.box.text;
    for (const std::string& note : read.notes)
        screen.showMessage(note);
    screen.answers = options.answers;
    auto state = std::make_unique<WorkingState>();
    state->delimiter = options.delimiter;
    state->delimiterName = delimiterName(options.delimiter);
    ScratchDirectory scratch;
    CommandContext context{screen, *state, scratch.path()};
    options.command(context);

    if (!screen.boxWritten) // nothing on standard output: it would pass for an answer
        return {noOutput, {}, screen.messages};
    // What "Output as delimited file" would save: the box and a line break.
    const std::string saved = screen.box + "\r\n";
    return {producedOutput, options.lineFeeds ? withLineFeeds(saved) : saved, screen.messages};
}
