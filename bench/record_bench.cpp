// Recording: a line written to a pseudo-terminal (the board) until its point
// is painted in the graph, against 100 ms; a re-plot while recording with
// 1,000,000 rows in the box, against one frame; and the program's memory
// with those rows, against 500 MB.

#include "bench_ratios.h"
#include "in_turns.h"

#include "app/form1.h"
#include "app/graph_widget.h"
#include "app/graph_window.h"
#include "app/linked_devices.h"
#include "app/record_window.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QTemporaryDir>

#include <fstream>
#include <pty.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr double frameAt60Hz = 1000.0 / 60;
constexpr std::size_t manyRows = 1000000;

// The resident memory of this process, in megabytes.
double residentMegabytes()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stod(line.substr(6)) / 1024;
    return -1;
}

// A board on a pseudo-terminal, the window recording from it with the graph open.
struct Recording {
    QTemporaryDir directory;
    Form1 window{directory.path().toStdString()};
    int master = -1, slave = -1;
    GraphWindow* graph = nullptr;
    RecordWindow* record = nullptr;

    Recording()
    {
        useLinkedDevices(linkedDevices()); // the record window looked into by its class
        char name[256];
        openpty(&master, &slave, name, nullptr, nullptr);
        termios raw{};
        tcgetattr(slave, &raw);
        cfmakeraw(&raw);
        tcsetattr(slave, TCSANOW, &raw);
        window.show();
        window.cmd_graph_Click();
        graph = window.findChild<GraphWindow*>();
        window.cmd_record_Click();
        record = window.findChild<RecordWindow*>();
        for (QComboBox* list : record->findChildren<QComboBox*>())
            if (list->accessibleName() == "source")
                list->setEditText(QString::fromLocal8Bit(name));
        record->startOrStop();
        send("0,20.0\n");
        waitForPoints(1);
    }
    ~Recording()
    {
        record->startOrStop();
        ::close(master);
        ::close(slave);
    }
    void send(const std::string& text)
    {
        std::size_t written = 0;
        while (written < text.size()) {
            const ssize_t n = ::write(master, text.data() + written, text.size() - written);
            if (n <= 0)
                break;
            written += static_cast<std::size_t>(n);
        }
    }
    std::size_t points() const { return graph->graph()->plot().points.size(); }
    void waitForPoints(std::size_t count)
    {
        while (points() < count)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
};

void lineToGraph(benchmark::State& state)
{
    Recording recording;
    std::size_t sent = 1;
    for (auto _ : state) {
        const BenchClock::time_point start = BenchClock::now();
        recording.send(std::to_string(sent) + ",20.5\n");
        recording.waitForPoints(++sent);
        state.SetIterationTime(millisecondsSince(start) / 1000);
    }
}

// The box filled with a million rows by the board, as fast as the pseudo-
// terminal takes them.
Recording& millionRows()
{
    static Recording* recording = [] {
        auto* made = new Recording;
        std::thread writer([made] {
            std::string chunk;
            for (std::size_t i = 1; i < manyRows; ++i) {
                chunk += std::to_string(i) + "," + std::to_string(20 + (i % 977) * 0.01) + "\n";
                if (chunk.size() > 60000 || i + 1 == manyRows) {
                    made->send(chunk);
                    chunk.clear();
                }
            }
        });
        while (made->points() < manyRows)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        writer.join();
        return made;
    }();
    return *recording;
}

void replotMillionRows(benchmark::State& state)
{
    Recording& recording = millionRows();
    for (auto _ : state) {
        state.PauseTiming();
        recording.send("1,20.5\n");
        const std::size_t before = recording.points();
        while (recording.window.readBox().size() == 0 || recording.points() == before) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            if (recording.points() > before)
                break;
        }
        state.ResumeTiming();
        recording.graph->refresh();
        recording.graph->graph()->repaint();
    }
}

} // namespace

void registerRecordBenchmarks(Ratios& ratios)
{
    benchmark::RegisterBenchmark("record/line_to_graph", lineToGraph)
        ->Unit(benchmark::kMillisecond)
        ->UseManualTime()
        ->MinTime(0.5);
    ratios.push_back({"record/line_to_graph", "record/line_to_graph", "", 1, 100});
    benchmark::RegisterBenchmark("record/replot_1000000_rows", replotMillionRows)
        ->Unit(benchmark::kMillisecond)
        ->MinTime(0.5);
    ratios.push_back(
        {"record/replot_1000000_rows", "record/replot_1000000_rows", "", 1, frameAt60Hz});
    Ratio memory{"record/memory_1000000_rows", "", "", 1};
    memory.compute = [] {
        millionRows();
        return residentMegabytes() / 500;
    };
    ratios.push_back(memory);
}
