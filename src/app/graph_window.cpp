#include "app/graph_window.h"

#include "app/dialogs.h"
#include "app/fit_panel.h"
#include "app/flow_layout.h"
#include "app/graph_widget.h"
#include "app/histogram_panel.h"
#include "app/readings_panel.h"
#include "app/lab_report.h"
#include "app/report_panel.h"
#include "app/uncertainty_panel.h"
#include "app/workbook_export.h"
#include "data/column_heads.h"
#include "graph/run_results.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QScrollArea>
#include <QSettings>
#include <QShortcut>
#include <QSplitter>
#include <QSvgGenerator>
#include <QToolTip>
#include <QVBoxLayout>

namespace {

const QString sizeSetting = QStringLiteral("graph/size");
const QSize graphSize(800, 600); // of a saved or copied image, above its text
constexpr int textMargin = 12;
constexpr int textFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;

// The text's wrapped lines under the graph, with a line to spare.
int textHeight(const QString& text)
{
    if (text.isEmpty())
        return 0;
    const QFontMetrics metrics(QGuiApplication::font());
    const QRect room(0, 0, graphSize.width() - 2 * textMargin, 1 << 20);
    return metrics.boundingRect(room, textFlags, text).height() + metrics.lineSpacing();
}

// An image as tall as its graph and all of its text.
QSize pageSize(const QString& text) { return graphSize + QSize(0, textHeight(text)); }

// The graph above the text under it, on a white page.
void paintPage(QPainter& painter, const QSize& size, const GraphPlot& plot, bool joinPoints,
               const QString& text)
{
    painter.setFont(QGuiApplication::font());
    painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
    GraphWidget::draw(painter, QRectF(QPointF(0, 0), graphSize), plot, joinPoints);
    painter.setPen(Qt::black);
    painter.drawText(QRect(textMargin, graphSize.height(), size.width() - 2 * textMargin,
                           size.height() - graphSize.height()),
                     textFlags, text);
}

} // namespace

GraphWindow::GraphWindow(std::function<BoxSnapshot()> box, const QString& labDirectory,
                         QWidget* parent)
    : QWidget(parent, Qt::Window), box_(std::move(box)), labDirectory_(labDirectory)
{
    setObjectName(QStringLiteral("GraphWindow"));
    setWindowTitle(QStringLiteral("Bench Tabler - Graph"));
    layOutControls();
    resize(openingSize());
    pause_.setSingleShot(true);
    connect(&pause_, &QTimer::timeout, this, &GraphWindow::refresh);
}

void GraphWindow::layOutControls()
{
    plotKind_ = new QComboBox(this);
    plotKind_->addItems(
        {QStringLiteral("points"), QStringLiteral("histogram"), QStringLiteral("spectrum")});
    plotKind_->setAccessibleName(QStringLiteral("plot"));
    window_ = new QComboBox(this);
    for (SpectrumWindow window : allWindows)
        window_->addItem(QString::fromStdString(windowName(window)));
    window_->setAccessibleName(QStringLiteral("window"));
    windowLabel_ = new QLabel(QStringLiteral("window:"), this);
    windowLabel_->setBuddy(window_);
    windowLabel_->setVisible(false); // with a spectrum only
    window_->setVisible(false);
    block_ = new QComboBox(this);
    block_->setAccessibleName(QStringLiteral("data"));
    xColumn_ = new QComboBox(this);
    yColumn_ = new QComboBox(this);
    // Wide enough for the names of the columns of whatever the box holds now.
    for (QComboBox* list : {block_, xColumn_, yColumn_})
        list->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    joinPoints_ = new QCheckBox(QStringLiteral("join points"), this);
    joinPoints_->setChecked(true);
    fromZero_ = new QCheckBox(QStringLiteral("start axes at zero"), this);
    logX_ = new QCheckBox(QStringLiteral("log x"), this);
    logY_ = new QCheckBox(QStringLiteral("log y"), this);
    title_ = new QLineEdit(this);
    title_->setAccessibleName(QStringLiteral("title"));
    title_->setPlaceholderText(QStringLiteral("a title for the graph"));
    fitPanel_ = new FitPanel(this);
    uncertaintyPanel_ = new UncertaintyPanel(this);
    histogramPanel_ = new HistogramPanel(this);
    histogramPanel_->setVisible(false);
    readingsPanel_ = new ReadingsPanel(this);
    graph_ = new GraphWidget(this);
    notes_ = new QLabel(this);
    notes_->setTextFormat(Qt::PlainText);
    notes_->setWordWrap(true);
    notes_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    notes_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    auto* saveImage = new QPushButton(QStringLiteral("Save image..."), this);
    auto* saveWorkbook = new QPushButton(QStringLiteral("Save for a spreadsheet..."), this);
    copyImage_ = new QPushButton(QStringLiteral("Copy image"), this);
    copyText_ = new QPushButton(QStringLiteral("Copy text"), this);
    resultsToBox_ = new QPushButton(QStringLiteral("Put the results in the box"), this);
    resultsToBox_->setVisible(false);
    reportPanel_ = new ReportPanel([this] { return labReport(); }, labDirectory_, this);

    auto* blockLabel = new QLabel(QStringLiteral("&data:"), this);
    blockLabel->setBuddy(block_);
    auto* plotLabel = new QLabel(QStringLiteral("&plot:"), this);
    plotLabel->setBuddy(plotKind_);
    xLabel_ = new QLabel(QStringLiteral("&x:"), this);
    xLabel_->setBuddy(xColumn_);
    auto* yLabel = new QLabel(QStringLiteral("&y:"), this);
    yLabel->setBuddy(yColumn_);
    auto* titleLabel = new QLabel(QStringLiteral("&title:"), this);
    titleLabel->setBuddy(title_);
    xColumn_->setAccessibleName(QStringLiteral("x"));
    yColumn_->setAccessibleName(QStringLiteral("y"));

    auto* choices = new FlowLayout;
    choices->addGroup({plotLabel, plotKind_});
    choices->addGroup({windowLabel_, window_});
    choices->addGroup({blockLabel, block_});
    choices->addGroup({xLabel_, xColumn_, yLabel, yColumn_});
    for (QWidget* box : {joinPoints_, fromZero_, logX_, logY_})
        choices->addWidget(box);
    auto* titleRow = new QHBoxLayout;
    titleRow->addWidget(titleLabel);
    titleRow->addWidget(title_, 1);

    // The text beside the plot, scrolling when long, by a splitter the
    // student can move; the plot never shrinks for it.
    auto* textArea = new QScrollArea(this);
    textArea->setWidget(notes_);
    textArea->setWidgetResizable(true);
    textArea->setFrameShape(QFrame::NoFrame);
    textArea->setMinimumWidth(160);
    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->addWidget(graph_);
    splitter->addWidget(textArea);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 1);
    splitter->setChildrenCollapsible(false);
    splitter->setSizes({700, 300});

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(reportPanel_, 1);
    for (QPushButton* button : {resultsToBox_, saveWorkbook, saveImage, copyImage_, copyText_})
        buttons->addWidget(button);
    auto* page = new QVBoxLayout(this);
    page->addLayout(choices);
    page->addWidget(fitPanel_);
    page->addWidget(uncertaintyPanel_);
    page->addWidget(histogramPanel_);
    page->addWidget(readingsPanel_);
    page->addLayout(titleRow);
    page->addWidget(splitter, 1);
    page->addLayout(buttons);

    connectControls();
    connect(saveImage, &QPushButton::clicked, this, &GraphWindow::askAndSaveImage);
    connect(saveWorkbook, &QPushButton::clicked, this, &GraphWindow::saveForSpreadsheet);
}

void GraphWindow::connectControls()
{
    connect(block_, &QComboBox::activated, this, &GraphWindow::blockChosen);
    // The rule sets the box with its signals blocked: a toggle is the student's.
    connect(joinPoints_, &QCheckBox::toggled, this, [this] {
        joinChosenByHand_ = true;
        refresh();
    });
    connect(graph_, &GraphWidget::resized, this, [this] { refreshSoon(); });
    connect(xColumn_, &QComboBox::activated, this, &GraphWindow::columnsChosen);
    connect(yColumn_, &QComboBox::activated, this, &GraphWindow::columnsChosen);
    for (QCheckBox* box : {fromZero_, logX_, logY_})
        connect(box, &QCheckBox::toggled, this, &GraphWindow::refresh);
    connect(title_, &QLineEdit::textChanged, this, &GraphWindow::refresh);
    connect(fitPanel_, &FitPanel::changed, this, &GraphWindow::refresh);
    connect(histogramPanel_, &HistogramPanel::changed, this, &GraphWindow::refresh);
    connect(plotKind_, &QComboBox::currentIndexChanged, this, [this] {
        showPlotKind();
        refresh();
    });
    connect(window_, &QComboBox::currentIndexChanged, this, &GraphWindow::refresh);
    connect(uncertaintyPanel_, &UncertaintyPanel::changed, this, &GraphWindow::refresh);
    connect(graph_, &GraphWidget::rangeDragged, fitPanel_, &FitPanel::setRange);
    connect(graph_, &GraphWidget::rangeCleared, fitPanel_, &FitPanel::clearRange);
    connect(readingsPanel_, &ReadingsPanel::selectionCleared, fitPanel_, &FitPanel::clearRange);
    connect(readingsPanel_, &ReadingsPanel::changed, this, &GraphWindow::refresh);
    connect(graph_, &GraphWidget::clickedAt, this, [this](double x) {
        readingsPanel_->setTangentAt(x, graph_->plot().x.step);
    });
    // Ctrl+W closes the graph, as it closes a document's window.
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_W), this), &QShortcut::activated, this,
            &QWidget::close);
    connect(copyImage_, &QPushButton::clicked, this, &GraphWindow::copyImage);
    connect(copyText_, &QPushButton::clicked, this, &GraphWindow::copyText);
    connect(resultsToBox_, &QPushButton::clicked, this, &GraphWindow::putResultsInBox);
}

void GraphWindow::showAndRaise()
{
    replot();
    show();
    raise();
    activateWindow();
}

void GraphWindow::boxChanged()
{
    wholeBoxChanged_ = true;
    refreshSoon();
}

void GraphWindow::boxAppended(const std::string& text)
{
    if (!reader_ || !reader_->add(text))
        wholeBoxChanged_ = true;
    refreshSoon(choice_.spectrum ? spectrumMilliseconds : recordingMilliseconds);
}

void GraphWindow::refreshSoon(int milliseconds)
{
    // Not restarted by later changes: a recording's steady stream of lines
    // re-plots every few tens of milliseconds, not never; and never more
    // often than leaves the window half its time (a re-plot of a million
    // rows takes tens of milliseconds).
    if (isVisible() && !pause_.isActive())
        pause_.start(std::max<int>(milliseconds, 2 * static_cast<int>(lastRefreshMilliseconds_)));
}

void GraphWindow::followNewBlock() { followFrom_ = reader_ ? reader_->blocks().size() : 0; }

void GraphWindow::startFromDefaults()
{
    {
        const QSignalBlocker quiet(title_);
        title_->clear();
    }
    blockChoices_.clear();
    fitPanel_->startFromDefaults();
    columnsChosenByHand_ = false;
    choice_.allRuns = false;
    chosenBlock_.clear();
    replot();
}

void GraphWindow::replot()
{
    wholeBoxChanged_ = true;
    refresh();
}

void GraphWindow::refresh()
{
    QElapsedTimer took;
    took.start();
    refreshNow();
    lastRefreshMilliseconds_ = took.elapsed();
}

void GraphWindow::refreshNow()
{
    pause_.stop();
    if (wholeBoxChanged_ || !reader_) {
        const BoxSnapshot box = box_();
        reader_.emplace(box.delimiter);
        delimiter_ = box.delimiter;
        dataFile_ = box.dataFile;
        reader_->add(box.text);
        wholeBoxChanged_ = false;
        growing_.restart();
        growingRuns_.restart();
    }
    offerBlocks(reader_->blocks());
    if (chosen_ != plottedBlock_) {
        growing_.restart();
        plottedBlock_ = chosen_;
    }
    offerColumns(table());
    readControls();
    // The points already plotted are taken back from the graph, so that a
    // recording's new rows are all that is read, in one run or in all.
    GraphPlot plot;
    if (choice_.allRuns && !choice_.histogram) {
        growing_.restart();
        plot = growingRuns_.plot(reader_->blocks(), chosen_, choice_, graph_->takePlot());
    } else {
        growingRuns_.restart();
        plot = growing_.plot(table(), choice_, graph_->takePlot());
    }
    std::size_t points = plot.points.size();
    for (const RunPlot& run : plot.runs)
        points += run.points.size();
    followJoinRule(points);
    resultsToBox_->setVisible(!plot.runs.empty() && choice_.model.kind != ModelKind::None);
    // The fields' notes first: what the student typed that the graph could not use.
    QStringList notes = choice_.histogram
                            ? histogramPanel_->checkFields()
                            : fitPanel_->checkFields() + uncertaintyPanel_->checkFields() +
                                  readingsPanel_->checkFields();
    if (!choice_.allRuns)
        if (const std::optional<std::string> other = otherBlocksNote(reader_->blocks(), chosen_))
            notes << QString::fromStdString(*other);
    if (const std::string text = plot.text(); !text.empty())
        notes << QString::fromStdString(text);
    notes_->setText(notes.join(QLatin1Char('\n')));
    graph_->setPlot(std::move(plot), joinPoints_->isChecked());
}

// The choice the controls show now, into choice_.
void GraphWindow::readControls()
{
    fitPanel_->setXName(variableNameOfColumn(table(), choice_.xColumn));
    choice_.widthPixels = graph_->width();
    choice_.heightPixels = graph_->height();
    choice_.fromZero = fromZero_->isChecked();
    choice_.logX = logX_->isChecked();
    choice_.logY = logY_->isChecked();
    choice_.title = title_->text().toStdString();
    choice_.histogram = plotKind_->currentIndex() == 1;
    choice_.spectrum = plotKind_->currentIndex() == 2;
    choice_.window = allWindows[std::max(0, window_->currentIndex())];
    choice_.bins = histogramPanel_->bins();
    choice_.normalCurve = histogramPanel_->normalCurve();
    choice_.model = fitPanel_->model();
    choice_.fitFrom = fitPanel_->from();
    choice_.fitTo = fitPanel_->to();
    choice_.residuals = fitPanel_->residuals();
    choice_.results = fitPanel_->results();
    choice_.xUncertainty = uncertaintyPanel_->x();
    choice_.yUncertainty = uncertaintyPanel_->y();
    const bool bars = choice_.xUncertainty.kind != UncertaintyChoice::Kind::None ||
                      choice_.yUncertainty.kind != UncertaintyChoice::Kind::None;
    uncertaintyPanel_->allowExtremeLines(bars && choice_.model.kind == ModelKind::Line);
    choice_.extremeLines = uncertaintyPanel_->extremeLines();
    choice_.area = readingsPanel_->area();
    choice_.tangentAt = readingsPanel_->tangentAt();
    choice_.tangentRows = readingsPanel_->tangentRows();
    choice_.joinPoints =
        joinChosenByHand_ ? std::optional<bool>(joinPoints_->isChecked()) : std::nullopt;
}

// A block of the list chosen, or "all runs" after them.
void GraphWindow::blockChosen(int index)
{
    if (index == static_cast<int>(offeredBlocks_.size())) { // "all runs"
        choice_.allRuns = true;
        refresh();
        return;
    }
    keepChoiceOfBlock();
    chosen_ = static_cast<std::size_t>(index);
    chosenBlock_ = offeredBlocks_.value(index);
    const auto kept = blockChoices_.find(chosen_);
    if (kept != blockChoices_.end() && QString::fromStdString(kept->second.name) == chosenBlock_) {
        applyChoice(kept->second.choice);
        choice_.allRuns = false;
        refresh();
        return;
    }
    // A block not chosen before: its own columns, no title or range; the
    // kind of fit stays.
    choice_.allRuns = false;
    {
        const QSignalBlocker quiet(title_);
        title_->clear();
    }
    columnsChosen();
}

void GraphWindow::keepChoiceOfBlock()
{
    if (!reader_ || chosen_ >= reader_->blocks().size())
        return;
    readControls();
    blockChoices_[chosen_] = {chosen_, reader_->blocks()[chosen_].name, choice_};
}

// Shows a choice made before: every control as it was.
void GraphWindow::applyChoice(const GraphChoice& choice)
{
    {
        const QSignalBlocker quietKind(plotKind_), quietJoin(joinPoints_), quietZero(fromZero_),
            quietLogX(logX_), quietLogY(logY_), quietTitle(title_);
        const QSignalBlocker quietWindow(window_);
        plotKind_->setCurrentIndex(choice.histogram ? 1 : choice.spectrum ? 2 : 0);
        window_->setCurrentIndex(static_cast<int>(
            std::find(std::begin(allWindows), std::end(allWindows), choice.window) -
            std::begin(allWindows)));
        fromZero_->setChecked(choice.fromZero);
        logX_->setChecked(choice.logX);
        logY_->setChecked(choice.logY);
        title_->setText(QString::fromStdString(choice.title));
        joinChosenByHand_ = choice.joinPoints.has_value();
        if (choice.joinPoints)
            joinPoints_->setChecked(*choice.joinPoints);
    }
    showPlotKind();
    choice_.xColumn = choice.xColumn;
    choice_.yColumn = choice.yColumn;
    choice_.allRuns = choice.allRuns;
    columnsChosenByHand_ = true;
    offerColumns(table()); // the uncertainty lists offer this block's columns
    fitPanel_->setChoice(choice.model, choice.fitFrom, choice.fitTo, choice.residuals,
                         choice.results);
    uncertaintyPanel_->setChoice(choice.xUncertainty, choice.yUncertainty, choice.extremeLines);
    histogramPanel_->setChoice(choice.bins, choice.normalCurve);
    readingsPanel_->setChoice(choice.area, choice.tangentAt, choice.tangentRows);
}

GraphSession GraphWindow::session()
{
    GraphSession session;
    session.open = isVisible();
    session.block = chosen_;
    keepChoiceOfBlock();
    for (const auto& [block, choice] : blockChoices_)
        session.blocks.push_back(choice);
    return session;
}

void GraphWindow::restoreSession(const GraphSession& session)
{
    blockChoices_.clear();
    for (const BlockChoice& block : session.blocks)
        blockChoices_[block.block] = block;
    wholeBoxChanged_ = true;
    reader_.reset();
    const BoxSnapshot box = box_();
    reader_.emplace(box.delimiter);
    reader_->add(box.text);
    delimiter_ = box.delimiter;
    dataFile_ = box.dataFile;
    wholeBoxChanged_ = false;
    growing_.restart();
    growingRuns_.restart();
    const std::vector<GraphTable>& blocks = reader_->blocks();
    chosen_ = session.block < blocks.size() ? session.block : 0;
    chosenBlock_ = blocks.empty() ? QString() : QString::fromStdString(blocks[chosen_].name);
    offeredBlocks_.clear();
    offerBlocks(blocks);
    const auto kept = blockChoices_.find(chosen_);
    if (kept != blockChoices_.end() && QString::fromStdString(kept->second.name) == chosenBlock_)
        applyChoice(kept->second.choice);
    if (session.open)
        showAndRaise();
    else
        refresh();
}

void GraphWindow::setSessionName(const QString& name)
{
    setWindowTitle(name.isEmpty() ? QStringLiteral("Bench Tabler - Graph")
                                  : QStringLiteral("Bench Tabler - Graph - ") + name);
}

void GraphWindow::onResultsForBox(std::function<void(const std::string&)> append)
{
    appendToBox_ = std::move(append);
}

// The table of the runs' fits as data at the end of the box: one undo step,
// done by the main window.
void GraphWindow::putResultsInBox()
{
    const std::vector<std::string> lines =
        resultsBlockLines(graph_->plot().runs, choice_.model, delimiter_);
    if (lines.empty() || !appendToBox_)
        return;
    std::string block;
    for (const std::string& line : lines)
        block.append(block.empty() ? "" : "\r\n").append(line);
    appendToBox_(block);
}

// The list of the box's blocks by name; the block chosen stays while there
// is one of its name, else the first is taken.
void GraphWindow::offerBlocks(const std::vector<GraphTable>& blocks)
{
    QStringList names;
    for (const GraphTable& block : blocks)
        names << QString::fromStdString(block.name);
    // The block chosen keeps its place among blocks of the same name (each
    // recording under the same header).
    int chosen = chosen_ < static_cast<std::size_t>(names.size()) &&
                         names[static_cast<qsizetype>(chosen_)] == chosenBlock_
                     ? static_cast<int>(chosen_)
                     : static_cast<int>(names.indexOf(chosenBlock_));
    if (followFrom_ && blocks.size() > *followFrom_) { // a recording's block has come
        chosen = static_cast<int>(names.size()) - 1;
        chosenBlock_ = names.back();
        followFrom_.reset();
    }
    if (chosen < 0)
        chosen = 0;
    const QSignalBlocker quiet(block_);
    if (names != offeredBlocks_) { // a recording re-plots with the same blocks many times
        block_->clear();
        block_->addItems(names);
        if (names.size() > 1)
            block_->addItem(QStringLiteral("all runs"));
        offeredBlocks_ = names;
    }
    if (names.size() < 2)
        choice_.allRuns = false;
    block_->setCurrentIndex(choice_.allRuns ? static_cast<int>(names.size()) : chosen);
    block_->setEnabled(names.size() > 1);
    chosen_ = static_cast<std::size_t>(chosen);
}

const GraphTable& GraphWindow::table() const
{
    static const GraphTable none;
    if (!reader_ || chosen_ >= reader_->blocks().size())
        return none;
    return reader_->blocks()[chosen_];
}

void GraphWindow::showPlotKind()
{
    const bool histogram = plotKind_->currentIndex() == 1;
    const bool spectrum = plotKind_->currentIndex() == 2;
    for (QWidget* control :
         std::initializer_list<QWidget*>{xLabel_, xColumn_, joinPoints_, fromZero_, logX_, logY_})
        control->setVisible(!histogram);
    for (QWidget* control :
         std::initializer_list<QWidget*>{fitPanel_, uncertaintyPanel_, readingsPanel_})
        control->setVisible(!histogram && !spectrum);
    histogramPanel_->setVisible(histogram);
    windowLabel_->setVisible(spectrum);
    window_->setVisible(spectrum);
}

// Joined points start on for a hundred points or fewer and off above,
// until the student sets them.
void GraphWindow::followJoinRule(std::size_t points)
{
    if (joinChosenByHand_)
        return;
    const QSignalBlocker quiet(joinPoints_);
    joinPoints_->setChecked(choice_.spectrum || points <= mostJoinedPoints);
}

// Fills the column lists up to the widest row, keeping the student's choice
// while the columns are there, else the default choice.
void GraphWindow::offerColumns(const GraphTable& table)
{
    const int columns = std::max(table.columns, 1);
    QStringList names;
    for (int k = 1; k <= columns; ++k)
        names << QString::fromStdString(columnTitle(table, k));
    if (names != offeredColumns_) {
        const QSignalBlocker blockX(xColumn_), blockY(yColumn_);
        xColumn_->clear();
        yColumn_->clear();
        xColumn_->addItem(QStringLiteral("line number"));
        xColumn_->addItems(names);
        yColumn_->addItems(names);
        uncertaintyPanel_->offerColumns(names);
        offeredColumns_ = names;
    }
    const bool kept =
        columnsChosenByHand_ && choice_.xColumn <= columns && choice_.yColumn <= columns;
    if (!kept) {
        const GraphChoice defaults = defaultChoice(table);
        choice_.xColumn = defaults.xColumn;
        choice_.yColumn = defaults.yColumn;
        columnsChosenByHand_ = false;
    }
    xColumn_->setCurrentIndex(choice_.xColumn);
    yColumn_->setCurrentIndex(choice_.yColumn - 1);
    const ColumnHeads heads = readColumnHeads(table.columnNames);
    uncertaintyPanel_->suggestColumns(heads.uncertaintyColumnOf(choice_.xColumn - 1) + 1,
                                      heads.uncertaintyColumnOf(choice_.yColumn - 1) + 1);
}

void GraphWindow::columnsChosen()
{
    choice_.xColumn = xColumn_->currentIndex();
    choice_.yColumn = yColumn_->currentIndex() + 1;
    columnsChosenByHand_ = true;
    const QSignalBlocker quiet(fitPanel_); // one re-plot for both changes
    fitPanel_->clearRange();
    refresh();
}

QString GraphWindow::noteText() const { return notes_->text(); }

QImage GraphWindow::image() const
{
    const QSize size = pageSize(notes_->text());
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    paintPage(painter, size, graph_->plot(), joinPoints_->isChecked(), notes_->text());
    return image;
}

QString GraphWindow::saveImage(const QString& path) const
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("svg")) {
        const QSize size = pageSize(notes_->text());
        QSvgGenerator svg;
        svg.setFileName(path);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        svg.setTitle(QStringLiteral("Bench Tabler graph"));
        QPainter painter;
        if (!painter.begin(&svg))
            return QStringLiteral("the file cannot be written");
        paintPage(painter, size, graph_->plot(), joinPoints_->isChecked(), notes_->text());
        return painter.end() ? QString() : QStringLiteral("the file cannot be written");
    }
    if (suffix != QLatin1String("png"))
        return QStringLiteral("an image is saved as .png or .svg");
    return image().save(path, "PNG") ? QString() : QStringLiteral("the file cannot be written");
}

LabReport GraphWindow::labReport() const
{
    const QString wholeData =
        dataFile_.isEmpty() ? QStringLiteral("the box")
                            : QFileInfo(dataFile_).fileName() + QStringLiteral(" and in the box");
    static const std::vector<GraphTable> noBlocks;
    LabReport report =
        makeLabReport(reader_ ? reader_->blocks() : noBlocks, chosen_, choice_, delimiter_, wholeData);
    report.title = reportTitle(title_->text(), dataFile_);
    report.joinPoints = joinPoints_->isChecked();
    report.text = notes_->text(); // the window's text as it stands, its notes included
    if (!report.table.note.empty())
        report.text += QStringLiteral("\n") + QString::fromStdString(report.table.note);
    return report;
}

void GraphWindow::askAndSaveImage()
{
    const QString path = askFileToSave(this, QStringLiteral("Save image"),
                                       labDirectory_ + QStringLiteral("/graph.png"),
                                       QStringLiteral("PNG image (*.png);;SVG image (*.svg)"));
    if (path.isEmpty())
        return;
    const QString reason = saveImage(path);
    if (!reason.isEmpty())
        showMessageBox(this, QStringLiteral("could not save %1: %2").arg(path, reason));
}

SheetRows GraphWindow::fitsSheet()
{
    if (pause_.isActive()) // the plot shown is to follow a change
        refreshNow();
    if (choice_.histogram)
        return {};
    const GraphTable& shown = table();
    return fitsSheetRows(graph_->plot(), shown.heading.empty() ? shown.name : shown.heading);
}

void GraphWindow::saveForSpreadsheet()
{
    ::saveForSpreadsheet(this, box_(), fitsSheet(), labDirectory_);
}

void GraphWindow::copyText()
{
    QGuiApplication::clipboard()->setText(notes_->text());
    QToolTip::showText(copyText_->mapToGlobal(QPoint(0, copyText_->height())),
                       QStringLiteral("copied"), copyText_, QRect(), 3000);
}

// About 1000 × 700 pixels, never larger than the screen; the size the
// student last gave the window, where it fits the screen.
QSize GraphWindow::openingSize() const
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize available = screen ? screen->availableSize() : QSize(1000, 700);
    const QSize remembered = QSettings().value(sizeSetting).toSize();
    const QSize wanted = remembered.isValid() ? remembered : QSize(1000, 700);
    return wanted.boundedTo(available * 0.95);
}

void GraphWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (isVisible())
        QSettings().setValue(sizeSetting, size());
}

void GraphWindow::copyImage()
{
    QGuiApplication::clipboard()->setImage(image());
    // A note that closes by itself, as the fixed save says "saved to".
    QToolTip::showText(copyImage_->mapToGlobal(QPoint(0, copyImage_->height())),
                       QStringLiteral("copied"), copyImage_, QRect(), 3000);
}
