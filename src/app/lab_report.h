#pragma once

#include "graph/graph_plot.h"
#include "graph/report_table.h"

#include <QByteArray>
#include <QPageSize>
#include <QString>

class QPagedPaintDevice;

// A lab report on paper: page 1 the title, the student's name, the date and
// time, the graph drawn by the code that paints the window (vector graphics),
// and every line of the window's text; then the table of the rows the graph
// plots, continued on as many pages as it needs with its heads repeated;
// "page 2 of 3" at the foot of each page.
struct LabReport {
    QString title;
    QString name;
    QString when; // "2026-12-08 14:05"
    GraphPlot plot;
    bool joinPoints = true;
    QString text; // the window's text under the graph, line by line
    ReportTable table;
};

// The size of the report's graph on the page, in points: its ticks are
// chosen for it.
inline constexpr int reportGraphWidth = 499;
inline constexpr int reportGraphHeight = 360;

// The report of one block of the box for these choices: the graph plotted
// for the page (the title heads the page, not the graph), the fit's text,
// the table of the rows plotted, the date and time now. The title, the name
// and whether the points are joined are the caller's.
// A table too long for a few pages is shortened, and its note, which follows
// the text, says where the whole data are: `wholeData` ("the box",
// "pendulum.csv").
LabReport makeLabReport(const GraphTable& table, GraphChoice choice, char delimiter,
                        const QString& wholeData = QStringLiteral("the box"));

// The report of the box's block `block`, or, when the choice is all runs,
// of every run with its columns.
LabReport makeLabReport(const std::vector<GraphTable>& blocks, std::size_t block,
                        GraphChoice choice, char delimiter,
                        const QString& wholeData = QStringLiteral("the box"));

// How many pages the report takes on this device.
int reportPages(QPagedPaintDevice& device, const LabReport& report);

// Printing asks first when a report takes more pages than this.
inline constexpr int pagesPrintedWithoutAsking = 20;

// The report's title: the graph's title, else the name of the file the data
// came from, else "Bench Tabler report".
QString reportTitle(const QString& graphTitle, const QString& dataFile);

// Paints the report's pages on a PDF writer or a printer; false when the
// device cannot be painted on.
bool paintReport(QPagedPaintDevice& device, const LabReport& report);

// The report as a PDF on paper of this size, its fonts embedded and its text
// selectable; empty when it could not be made.
QByteArray reportPdf(const LabReport& report, const QPageSize& paper);

// A4, or US Letter where the system's locale measures in inches.
QPageSize localPaper();
