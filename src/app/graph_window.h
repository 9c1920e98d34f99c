#pragma once

#include "graph/graph_plot.h"
#include "graph/growing_plot.h"
#include "graph/growing_runs.h"
#include "session/session.h"
#include "workbook/fits_sheet.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <map>
#include <optional>
#include <string>

class FitPanel;
class HistogramPanel;
class ReadingsPanel;
class ReportPanel;
struct LabReport;
class UncertaintyPanel;
class GraphWidget;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// What the graph plots: the box text (CR LF line breaks) and the delimiter in force.
struct BoxSnapshot {
    std::string text;
    char delimiter;
    QString dataFile = {}; // the file last opened into the box; empty when none
};

// The separate, resizable window "Bench Tabler - Graph": the box plotted as
// it is now, re-plotted shortly after every change, with a choice of
// columns, a fitted curve and the graph saved as an image.
class GraphWindow : public QWidget {
    Q_OBJECT

public:
    // How long after a change the graph follows it: typing, a command; and
    // a recording's lines, for which it follows sooner.
    static constexpr int pauseMilliseconds = 100;
    static constexpr int recordingMilliseconds = 40;
    // A spectrum is made whole each time: it follows a recording four times
    // a second.
    static constexpr int spectrumMilliseconds = 250;

    // `labDirectory` is where the image dialog starts.
    GraphWindow(std::function<BoxSnapshot()> box, const QString& labDirectory, QWidget* parent);

    // Shows the window, or raises it when it is open already.
    void showAndRaise();
    // The box or the delimiter changed: re-plot within 100 ms, the box read
    // again.
    void boxChanged();
    // Lines were added at the end of the box (a recording): re-plot within
    // 100 ms, reading only them.
    void boxAppended(const std::string& text);
    // Re-plots at once, the box read again.
    void replot();
    // A recording starts a block at the end of the box: the graph shows it
    // as soon as its first row is there, and follows it as it grows.
    void followNewBlock();
    // The box holds other data now (a file opened, a paste over the whole
    // box, Clear): the graph starts from its defaults (no title, own
    // equation, result formulas or range; the columns by the rule).
    void startFromDefaults();

    // The text under the graph: rows left out, and the fit.
    QString noteText() const;
    GraphWidget* graph() const { return graph_; }
    FitPanel* fitPanel() const { return fitPanel_; }

    // Writes the graph, its titles and the text under it as a PNG or an SVG
    // file, chosen by the extension; the reason when it could not.
    QString saveImage(const QString& path) const;
    // The lab report of what the window shows, without the student's name.
    LabReport labReport() const;
    // The fits sheet of a workbook: the fit shown, or each run's; nothing
    // without a fit.
    SheetRows fitsSheet();
    ReportPanel* reportPanel() const { return reportPanel_; }

    // Re-plots at once, reading the box again only when more than lines at
    // its end changed.
    void refresh();

    // What a session keeps of the window: whether it is open, the block
    // shown and the choices of every block chosen in it.
    GraphSession session();
    // Shows the box as a session left it: each block's choices, the block
    // shown, the window open or not.
    void restoreSession(const GraphSession& session);
    // The session's file name in the window's caption; empty for none.
    void setSessionName(const QString& name);
    // Where "Put the results in the box" puts the block of the runs' fits
    // (CR LF line breaks): at the end of the box, as one undo step.
    void onResultsForBox(std::function<void(const std::string&)> append);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void refreshNow();
    // Re-plots within `milliseconds`.
    void refreshSoon(int milliseconds = pauseMilliseconds);
    void layOutControls();
    void connectControls();
    QSize openingSize() const;
    void copyText();
    void offerColumns(const GraphTable& table);
    void columnsChosen();
    void askAndSaveImage();
    void saveForSpreadsheet();
    void copyImage();
    QImage image() const;
    void offerBlocks(const std::vector<GraphTable>& blocks);
    const GraphTable& table() const;
    void followJoinRule(std::size_t points);
    // Shows the controls of points and a fit, or of a histogram.
    void showPlotKind();
    void readControls();
    void blockChosen(int index);
    void keepChoiceOfBlock();
    void applyChoice(const GraphChoice& choice);
    void putResultsInBox();

    std::function<BoxSnapshot()> box_;
    QString labDirectory_;
    QTimer pause_;
    std::optional<GraphBlockReader> reader_; // the box's blocks as last read
    bool wholeBoxChanged_ = true;
    char delimiter_ = ',';  // the box's as last read
    QString dataFile_;      // likewise
    qint64 lastRefreshMilliseconds_ = 0;
    std::size_t chosen_ = 0; // the block plotted
    // The blocks there were when a recording began, until its block comes.
    std::optional<std::size_t> followFrom_;
    std::size_t plottedBlock_ = 0; // the block growing_ follows
    GrowingPlot growing_;
    GrowingRuns growingRuns_; // for "all runs"
    QString chosenBlock_; // its name
    bool joinChosenByHand_ = false;
    GraphChoice choice_;
    bool columnsChosenByHand_ = false;
    QStringList offeredColumns_; // the names in the column lists now
    QStringList offeredBlocks_;  // the names in the block list now

    QComboBox* plotKind_ = nullptr; // points, histogram or spectrum
    QLabel* windowLabel_ = nullptr;
    QComboBox* window_ = nullptr;   // the spectrum's
    QComboBox* block_ = nullptr;
    QLabel* xLabel_ = nullptr;
    QComboBox* xColumn_ = nullptr;
    QComboBox* yColumn_ = nullptr;
    QCheckBox* joinPoints_ = nullptr;
    QCheckBox* fromZero_ = nullptr;
    QCheckBox* logX_ = nullptr;
    QCheckBox* logY_ = nullptr;
    QLineEdit* title_ = nullptr;
    // The choices of each block chosen before, by its place in the box,
    // kept while its name is the same.
    std::map<std::size_t, BlockChoice> blockChoices_;
    std::function<void(const std::string&)> appendToBox_;
    QPushButton* resultsToBox_ = nullptr;
    FitPanel* fitPanel_ = nullptr;
    UncertaintyPanel* uncertaintyPanel_ = nullptr;
    ReportPanel* reportPanel_ = nullptr;
    HistogramPanel* histogramPanel_ = nullptr;
    ReadingsPanel* readingsPanel_ = nullptr;
    GraphWidget* graph_ = nullptr;
    QLabel* notes_ = nullptr;
    QPushButton* copyImage_ = nullptr;
    QPushButton* copyText_ = nullptr;
};
