// The batch's runs and sessions: fit --runs as the window's table, its JSON
// and its results block; a session file read with its choices as defaults.

#include "batch/batch_run.h"
#include "graph/graph_plot.h"
#include "graph/run_results.h"
#include "session/session.h"

#include "scripted_ui.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

const char* const runs = "L = 0.3 m\r\nt (s),x (cm)\r\n0,1\r\n1,3.1\r\n2,4.9\r\n3,7.1\r\n\r\n"
                         "mass (g)\r\n100\r\n200\r\n\r\n"
                         "L = 0.5 m\r\nt (s),x (cm)\r\n0,2\r\n1,5.1\r\n2,7.9\r\n3,11.1\r\n";

BatchResult run(const std::vector<std::string>& arguments, const std::string& box)
{
    std::istringstream input(box);
    return runBatch(arguments, input);
}

TEST(BatchRuns, PrintTheWindowsTable)
{
    const BatchResult result = run({"fit", "--runs", "--model", "line"}, runs);
    ASSERT_EQ(result.exitStatus, producedOutput) << result.err;
    const std::vector<GraphTable> blocks = readGraphBlocks(runs, ',');
    GraphChoice choice = defaultChoice(blocks[0]);
    choice.model.kind = ModelKind::Line;
    std::string table;
    for (const std::string& line : plotRuns(blocks, 0, choice).runsText)
        table += line + "\n";
    EXPECT_EQ(result.out, table);
    EXPECT_EQ(result.err, "message: the block \"mass (g)\" has other columns and is not drawn\n");
}

TEST(BatchRuns, PrintTheResultsBlockTheWindowPutsInTheBox)
{
    const BatchResult result = run({"fit", "--runs", "--table", "--model", "line"}, runs);
    ASSERT_EQ(result.exitStatus, producedOutput) << result.err;
    // by hand: Sxx = 5, Sxy = 10.05 and 15.05, SSE = 0.027 for both
    EXPECT_EQ(result.out, "Results: m x + b\r\nrun,L (m),m (cm/s),u(m),b (cm),u(b)\r\n"
                          "1,0.3,2.010,0.052,1.010,0.097\r\n3,0.5,3.010,0.052,2.010,0.097\r\n");
}

TEST(BatchRuns, GiveEachRunsFitInJson)
{
    const BatchResult result = run({"fit", "--runs", "--json", "--model", "proportional"}, runs);
    ASSERT_EQ(result.exitStatus, producedOutput) << result.err;
    EXPECT_EQ(result.out.rfind("{\"runs\": [{\"run\": \"L = 0.3 m\", \"values\": {\"L\": 0.3}, "
                               "\"model\": \"y = A x\", \"points\": 4",
                               0),
              0u)
        << result.out;
    EXPECT_NE(result.out.find("}, {\"run\": \"L = 0.5 m\", \"values\": {\"L\": 0.5}, "
                              "\"model\": \"y = A x\""),
              std::string::npos)
        << result.out;
    EXPECT_EQ(result.out.substr(result.out.size() - 3), "]}\n");
}

// A session's box and choices: fit prints the fit text the window showed;
// the options given win over the session's.
TEST(BatchSessions, TakeTheSessionsChoicesAsDefaults)
{
    TemporaryDirectory directory;
    Session session;
    session.box = "t (s),x (cm)\r\n0,1\r\n1,3.1\r\n2,4.9\r\n3,7.1\r\n\r\n"
                  "F (N);s (cm)\r\n1;2\r\n2;4.1\r\n3;5.9\r\n";
    session.delimiter = ';';
    session.graph.block = 1;
    GraphChoice kept;
    kept.xColumn = 1;
    kept.yColumn = 2;
    kept.model.kind = ModelKind::Proportional;
    kept.results = "k = 1/A";
    session.graph.blocks = {{1, "F (N);s (cm)", kept}};
    const std::string path = (directory.path() / "spring.btsession").string();
    std::ofstream(path, std::ios::binary) << writeSession(session);

    const BatchResult fitted = run({"fit", path}, "");
    ASSERT_EQ(fitted.exitStatus, producedOutput) << fitted.err;
    const std::vector<GraphTable> blocks = readGraphBlocks(session.box, ';');
    const GraphPlot shown = plotGraph(blocks[1], kept);
    std::string text = describeFit(*shown.fit) + "\n";
    for (const FitResult& result : shown.results)
        text += describeResult(result) + "\n";
    EXPECT_EQ(fitted.out, text);
    EXPECT_NE(fitted.out.find("k = "), std::string::npos);

    const BatchResult line = run({"fit", "--model", "line", path}, "");
    EXPECT_NE(line.out.find("Straight-line fit"), std::string::npos) << line.out;
    EXPECT_NE(line.out.find("k: \"A\" is not a parameter of this fit; its parameters are m and b"),
              std::string::npos)
        << line.out;

    // The commands read a session's box too.
    const BatchResult summed = run({"--answer", "1", "select-column", path}, "");
    EXPECT_EQ(summed.exitStatus, producedOutput) << summed.err;

    // A session that cannot be read: exit 2, naming it.
    const std::string cut = (directory.path() / "cut.btsession").string();
    std::ofstream(cut, std::ios::binary) << writeSession(session).substr(0, 60);
    const BatchResult refused = run({"fit", cut}, "");
    EXPECT_EQ(refused.exitStatus, usageError);
    EXPECT_NE(refused.err.find("could not open " + cut + ": the session is cut short or damaged"),
              std::string::npos)
        << refused.err;
    EXPECT_EQ(refused.out, "");
}

} // namespace
