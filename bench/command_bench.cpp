// Each command on the largest input its data model holds, timed in the real
// window from the click to the box showing the result, against the floor for
// the same work: one write of tempFile.txt (for the commands that read the
// box) and one replacement of the whole box by the command's final text
// inside a single edit block. Saving, which leaves the box alone, is held
// against reading the box and replacing the file with its text durably, as
// every save must: a new file flushed to the disk, renamed over the old one,
// and the folder flushed. Dialogs answer at once from a script.

#include "in_turns.h"

#include "app/box_text.h"
#include "app/form1.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>

#include <chrono>
#include <fcntl.h>
#include <fstream>
#include <unistd.h>

namespace {

class ScriptedWindow : public Form1 {
public:
    using Form1::Form1;
    QStringList answers;

    std::string askText(const std::string&, const std::string&) override
    {
        return answers.isEmpty() ? std::string() : answers.takeFirst().toStdString();
    }
    void showMessage(const std::string&) override {}
};

enum class Floor { ReadAndReplace, Replace, WriteFile };

struct CommandRun {
    const char* button;
    QString box;
    QStringList answers;
    Floor floor;
};

QString oneThousandLines()
{
    QString text;
    for (int i = 1; i <= 1000; ++i)
        text += QString::number(i * 1.5) + "\n";
    return text;
}

QString oneThousandLinesOfTwoFields()
{
    QString text;
    for (int i = 1; i <= 1000; ++i)
        text += QString::number(i * 0.5) + "," + QString::number(i * i * 0.125) + "\n";
    return text;
}

// A long recording: 100000 lines of two fields.
QString oneHundredThousandLinesOfTwoFields()
{
    QString text;
    for (int i = 1; i <= 100000; ++i)
        text += QString::number(i * 0.01) + "," + QString::number(20 + (i % 977) * 0.1) + "\n";
    return text;
}

QString oneHundredLinesOfOneHundredFields()
{
    QString text;
    for (int r = 1; r <= 100; ++r) {
        QString line = QString::number(r);
        for (int k = 2; k <= 100; ++k)
            line += "," + QString::number(r * k * 0.25);
        text += line + "\n";
    }
    return text;
}

// A quotient of two measured columns with their uncertainty columns, under
// their header: 1000 lines in all, as many as the commands take.
QString measurementsWithUncertainties()
{
    QString text = "s (m),u(s) (m),t (s),u(t) (s)\n";
    for (int i = 1; i < 1000; ++i)
        text += QString::number(i * 0.05) + ",0.002," + QString::number(0.5 + i * 0.01) + ",0.01\n";
    return text;
}

std::filesystem::path labDirectory()
{
    static QTemporaryDir directory;
    return directory.path().toStdString();
}

struct Bench {
    ScriptedWindow window{labDirectory()};
    QPlainTextEdit* box = window.findChild<QPlainTextEdit*>("Text1");

    Bench() { window.show(); }

    void reset(const CommandRun& run)
    {
        box->setPlainText(run.box);
        window.answers = run.answers;
        QCoreApplication::processEvents();
    }
};

void writeFile(const std::filesystem::path& path, const std::string& text)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << text;
}

void replaceFileDurably(const std::filesystem::path& path, const std::string& text)
{
    const std::filesystem::path temporary = path.string() + ".new";
    const int file = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (::write(file, text.data(), text.size()) < 0 || ::fsync(file) != 0)
        std::perror("floor of saving");
    ::close(file);
    std::filesystem::rename(temporary, path);
    const int folder = ::open(path.parent_path().c_str(), O_RDONLY | O_DIRECTORY);
    ::fsync(folder);
    ::close(folder);
}

// The least the command's work can cost: the box read and written to the
// temporary file, the final text put in with one edit block.
double floorOnce(Bench& bench, const CommandRun& run, const QString& finalText)
{
    const std::filesystem::path tempFile = labDirectory() / "floor.txt";
    bench.reset(run);
    const std::string boxText = toCoreText(bench.box->toPlainText()) + "\r\n";
    const BenchClock::time_point start = BenchClock::now();
    if (run.floor == Floor::WriteFile) {
        replaceFileDurably(tempFile, toCoreText(bench.box->document()->toRawText()) + "\r\n");
        return millisecondsSince(start);
    }
    if (run.floor == Floor::ReadAndReplace)
        writeFile(tempFile, boxText);
    QTextCursor cursor(bench.box->document());
    cursor.beginEditBlock();
    cursor.select(QTextCursor::Document);
    cursor.insertText(finalText);
    cursor.endEditBlock();
    QCoreApplication::processEvents();
    return millisecondsSince(start);
}

double commandOnce(Bench& bench, const CommandRun& run, QPushButton* button)
{
    bench.reset(run);
    const BenchClock::time_point start = BenchClock::now();
    button->click();
    QCoreApplication::processEvents();
    return millisecondsSince(start);
}

void commandAgainstFloor(benchmark::State& state, const CommandRun& run)
{
    Bench bench;
    QPushButton* button = bench.window.findChild<QPushButton*>(run.button);
    bench.reset(run);
    button->click();
    const QString finalText = bench.box->toPlainText();
    measureInTurns(
        state, [&] { return commandOnce(bench, run, button); },
        [&] { return floorOnce(bench, run, finalText); });
}

} // namespace

void registerCommandBenchmarks(Ratios& ratios)
{
    const QString column = oneThousandLines();
    const QString table = oneHundredLinesOfOneHundredFields();
    const std::pair<const char*, CommandRun> runs[] = {
        {"std_dev", {"cmd_std_dev", column, {}, Floor::ReadAndReplace}},
        {"first_difference", {"cmd_first_difference", column, {"1"}, Floor::ReadAndReplace}},
        {"running_sum", {"cmd_running_sum", column, {"1"}, Floor::ReadAndReplace}},
        {"difference_quotient", {"cmd_difference_quotient", table, {"1"}, Floor::ReadAndReplace}},
        {"select_column", {"cmd_select_column", table, {"7"}, Floor::ReadAndReplace}},
        {"change_row_to_column", {"cmd_change_row_to_column", table, {}, Floor::ReadAndReplace}},
        {"genRand", {"cmd_genRand", "", {"0", "1", "1000"}, Floor::Replace}},
        {"experiment_specific_calculations",
         {"cmd_experiment_specific_calculations",
          column,
          {"1", "122.5", "50", "1"},
          Floor::Replace}},
        {"clear_box", {"cmd_clear_box", column, {}, Floor::Replace}},
        {"output_as_delimited_file",
         {"cmd_output_as_delimited_file", column, {}, Floor::WriteFile}},
    };
    // Each repetition about a second of turns: a slow spell of the shared
    // machine (50 to 150 ms) is then a small part of it, not a third.
    const auto measure = [&ratios](const std::string& name, const std::string& ratio,
                                   const CommandRun& run, double target = 1.5,
                                   double minTime = 1.0) {
        registerInTurns(ratios, name, ratio, target, minTime,
                        [run](benchmark::State& state) { commandAgainstFloor(state, run); });
    };
    for (const auto& [name, run] : runs)
        measure(std::string("command/") + name, std::string("command/") + name, run);
    // A column from a formula: one pass over the box, as the commands above.
    measure("command/calculate_column", "calculate_column/1000_lines",
            {"cmd_calculate_column",
             oneThousandLinesOfTwoFields(),
             {"ln(c1) + c2^2/n"},
             Floor::ReadAndReplace});
    // A recording far beyond the commands' 1000 lines, which calculate column
    // takes whole. A run takes about 250 ms: each repetition is given time for
    // several, not one or two, so that one slow spell does not make its figure.
    measure("command/calculate_column_100000_lines", "calculate_column/100000_lines",
            {"cmd_calculate_column",
             oneHundredThousandLinesOfTwoFields(),
             {"ln(c1) + c2^2/n"},
             Floor::ReadAndReplace},
            1.5, 2.0);
    // The same with each value's uncertainty carried through: two columns
    // added, derivatives and the check of the first-order rule for every row.
    measure(
        "command/calculate_column_with_uncertainties",
        "calculate_column/1000_lines_with_uncertainties",
        {"cmd_calculate_column", measurementsWithUncertainties(), {"s/t"}, Floor::ReadAndReplace},
        2);
}
