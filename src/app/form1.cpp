#include "app/form1.h"

#include "app/box_edit.h"
#include "app/box_text.h"
#include "app/devices.h"
#include "app/dialogs.h"
#include "app/graph_window.h"
#include "app/lab_directory.h"
#include "app/recovery_keeper.h"
#include "app/report_panel.h"
#include "app/wrapping_button.h"
#include "commands/calculate_column.h"
#include "commands/change_delimiter.h"
#include "commands/clear_box.h"
#include "commands/difference_quotient.h"
#include "commands/experiment_calculations.h"
#include "commands/first_difference.h"
#include "commands/mean_std_dev.h"
#include "commands/random_numbers.h"
#include "commands/rows_to_columns.h"
#include "commands/running_sum.h"
#include "commands/save_output.h"
#include "commands/select_column.h"
#include "data/recovery.h"
#include "graph/graph_table.h"

#include <QCoreApplication>
#include <QDir>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QShortcut>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>
#include <QToolTip>

namespace {

// The layout is given in twips; 15 twips make one logical pixel.
constexpr int twipsPerPixel = 15;
constexpr int rowsWaitMilliseconds = 50; // between two additions of a recording's rows

QRect fromTwips(QRect twips)
{
    return QRect(twips.x() / twipsPerPixel, twips.y() / twipsPerPixel,
                 twips.width() / twipsPerPixel, twips.height() / twipsPerPixel);
}

struct ButtonDefinition {
    const char* name;
    const char* caption;
    QRect twips;                        // left, top, width, height
    void (Form1::*command)() = nullptr; // none for the two buttons that do nothing
};

// In tab order.
// clang-format off
const ButtonDefinition buttonDefinitions[] = {
    {"cmd_std_dev", "Mean and Standard Deviation", {5640, 120, 975, 735},
     &Form1::cmd_std_dev_Click},
    {"cmd_first_difference", "first difference", {5640, 960, 975, 615},
     &Form1::cmd_first_difference_Click},
    {"cmd_first_difference_delimited", "first difference delimited", {6840, 960, 855, 615}},
    {"cmd_mean_std_dev_delimited", "mean and Std Dev Delimited", {6840, 120, 855, 735}},
    {"cmd_difference_quotient", "Difference Quotient", {6840, 1680, 975, 615},
     &Form1::cmd_difference_quotient_Click},
    {"cmd_change_delimiter", "Change Delimiter", {5640, 4080, 975, 615},
     &Form1::cmd_change_delimiter_Click},
    {"cmd_output_as_delimited_file", "Output as delimited file", {6720, 4080, 855, 615},
     &Form1::cmd_output_as_delimited_file_Click},
    {"cmd_genRand", "generate random numbers", {5640, 4800, 975, 615},
     &Form1::cmd_genRand_Click},
    {"cmd_running_sum", "Running Sum", {5640, 1680, 975, 615},
     &Form1::cmd_running_sum_Click},
    {"cmd_clear_box", "Clear Text Box", {5640, 5520, 975, 615},
     &Form1::cmd_clear_box_Click},
    {"cmd_select_column", "Select Column", {5640, 3360, 975, 615},
     &Form1::cmd_select_column_Click},
    {"cmd_change_row_to_column", "change rows to columns", {6720, 3360, 855, 615},
     &Form1::cmd_change_row_to_column_Click},
    {"cmd_experiment_specific_calculations", "experiment-specific calculations",
     {6840, 2400, 975, 615}, &Form1::cmd_experiment_specific_calculations_Click},
    {"cmd_graph", "Graph", {5640, 2400, 975, 615}, &Form1::cmd_graph_Click},
    {"cmd_calculate_column", "calculate column", {6720, 4800, 855, 615},
     &Form1::cmd_calculate_column_Click},
    {"cmd_record", "record data", {6720, 5520, 855, 615}, &Form1::cmd_record_Click},
};
// clang-format on

} // namespace

Form1::Form1(const std::filesystem::path& labDirectory, QWidget* parent)
    : QWidget(parent),
      state_(std::make_unique<WorkingState>()), context_{*this, *state_, labDirectory}
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Form1"));
    layOutControls();
    addShortcuts();
    startUp();
    recovery_ = new RecoveryKeeper(
        recoveryFile(labDirectory, QCoreApplication::applicationPid()),
        [this]() -> std::optional<std::string> {
            const std::string text = readBox();
            if (text.empty() || text == startUpText || text == savedText_)
                return std::nullopt;
            return text;
        },
        this);
    // A recording's rows are handed to it as they are added.
    connect(text1_->document(), &QTextDocument::contentsChanged, recovery_, [this] {
        if (!appendingRecording_)
            recovery_->boxChanged();
    });
    rowsWait_ = new QTimer(this);
    rowsWait_->setSingleShot(true);
    rowsWait_->setInterval(rowsWaitMilliseconds);
    connect(rowsWait_, &QTimer::timeout, this, &Form1::appendWaitingRows);
    // The session's choices beside the recovery file, every two seconds.
    choicesWatch_ = new QTimer(this);
    choicesWatch_->setInterval(2000);
    connect(choicesWatch_, &QTimer::timeout, this, &Form1::keepChoicesForRecovery);
    choicesWatch_->start();
    // Once the window shows: the event loop runs this after the first show.
    QTimer::singleShot(0, this, &Form1::offerRecoveries);
}

Form1::~Form1() = default;

QPushButton* Form1::addButton(const char* name, const QString& caption, QRect twips)
{
    auto* button = new WrappingButton(caption, this);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(fromTwips(twips));
    button->setAutoDefault(false);
    return button;
}

void Form1::layOutControls()
{
    setFixedSize(fromTwips(QRect(0, 0, 7830, 6960)).size());

    text1_ = new BoxEdit(this);
    text1_->takePastesWith([this](const QString& text) { return takePaste(text); });
    text1_->setObjectName(QStringLiteral("Text1"));
    text1_->setGeometry(fromTwips(QRect(360, 120, 4935, 6015)));
    text1_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    text1_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    text1_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    text1_->setAccessibleName(QStringLiteral("Text1"));
    text1_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(text1_, &QWidget::customContextMenuRequested, this, &Form1::showBoxMenu);
    // Files dropped on the box or anywhere in the window are loaded; the box
    // still takes dropped text itself.
    text1_->viewport()->installEventFilter(this);
    setAcceptDrops(true);
    connect(text1_->document(), &QTextDocument::contentsChanged, this, [this] {
        boxText_.reset();
        startUpUntouched_ = false;
        // A recording's lines are handed to the graph as they are added.
        if (graphWindow_ && !appendingRecording_)
            graphWindow_->boxChanged();
    });

    QWidget* previous = text1_;
    for (const ButtonDefinition& definition : buttonDefinitions) {
        QPushButton* button =
            addButton(definition.name, QString::fromUtf8(definition.caption), definition.twips);
        if (definition.command)
            connect(button, &QPushButton::clicked, this, definition.command);
        setTabOrder(previous, button);
        previous = button;
    }
    text1_->setFocus();
}

void Form1::addShortcuts()
{
    const auto onKeys = [this](const QKeySequence& keys, auto* receiver, auto action) {
        connect(new QShortcut(keys, this), &QShortcut::activated, receiver, action);
    };
    // The box has its own undo keys while it has the focus; these make them
    // work from anywhere in the window, e.g. right after a click on a button.
    // Ctrl+Y redoes too, whatever the desktop's own redo key is.
    onKeys(QKeySequence::Undo, text1_, &QPlainTextEdit::undo);
    onKeys(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), text1_, &QPlainTextEdit::redo);
    onKeys(QKeySequence(Qt::CTRL | Qt::Key_Y), text1_, &QPlainTextEdit::redo);
    onKeys(QKeySequence(Qt::CTRL | Qt::Key_O), this, &Form1::openFile);
    onKeys(QKeySequence(Qt::CTRL | Qt::Key_S), this, &Form1::saveSession);
    onKeys(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), this, &Form1::saveTextAs);
    onKeys(QKeySequence(Qt::CTRL | Qt::Key_G), this, &Form1::cmd_graph_Click);
    onKeys(QKeySequence(Qt::CTRL | Qt::Key_K), this, &Form1::cmd_calculate_column_Click);
    onKeys(QKeySequence(Qt::CTRL | Qt::Key_R), this, &Form1::cmd_record_Click);
    // Ctrl+Q closes the window as its close button does, asking about unsaved text.
    onKeys(QKeySequence(Qt::CTRL | Qt::Key_Q), this, &QWidget::close);
}

void Form1::startUp()
{
    text1_->setPlainText(QString::fromLatin1(startUpText));
    // Selected, so that the first typing or paste replaces it.
    text1_->selectAll();
    startUpUntouched_ = true;
    // The directory may exist already or be impossible to make; either way
    // start-up goes on, and the commands that write files cope.
    QDir().mkdir(toQString(context_.labDirectory));
    state_->delimiter = ',';
    state_->delimiterName = "comma";
}

std::string Form1::readBox() const
{
    if (!boxText_)
        boxText_ = toCoreText(text1_->document()->toRawText());
    return *boxText_;
}

void Form1::replaceBox(const std::string& text, std::size_t showFrom)
{
    const std::string current = readBox();
    // One edit block: the change is a single undo step. A command that
    // appends puts in only its new piece, which is the same text for a
    // fraction of the work on a long box.
    QTextCursor cursor(text1_->document());
    int pieceStart = 0;
    cursor.beginEditBlock();
    const bool appending = !current.empty() && text.starts_with(current);
    if (appending) {
        cursor.movePosition(QTextCursor::End);
        pieceStart = cursor.position();
        cursor.insertText(toWidgetText(text.substr(current.size())));
    } else {
        cursor.select(QTextCursor::Document);
        cursor.insertText(toWidgetText(text));
    }
    cursor.endEditBlock();

    if (appending && showFrom == current.size())
        bringIntoView(pieceStart);
    else
        bringIntoView(static_cast<int>(toWidgetText(text.substr(0, showFrom)).size()));
}

void Form1::bringIntoView(int position)
{
    // The line that holds the place goes to the top of the box, as far as the
    // box scrolls: near the end it shows the last lines, the place among
    // them. Setting the scroll bar lays out no more of a long text than the
    // lines in view, where moving the caret there would lay out all of it.
    const QTextBlock block = text1_->document()->findBlock(position);
    text1_->verticalScrollBar()->setValue(block.firstLineNumber());
}

void Form1::showMessage(const std::string& prompt) { showMessageBox(this, toWidgetText(prompt)); }

std::string Form1::askText(const std::string& prompt, const std::string& offered)
{
    return toCoreText(askTextBox(this, toWidgetText(prompt), toWidgetText(offered)));
}

void Form1::cmd_clear_box_Click()
{
    clearBox(context_);
    newDataInBox();
}
void Form1::cmd_first_difference_Click() { firstDifference(context_); }
void Form1::cmd_running_sum_Click() { runningSum(context_); }
void Form1::cmd_difference_quotient_Click() { differenceQuotient(context_); }
void Form1::cmd_select_column_Click() { selectColumn(context_); }
void Form1::cmd_change_row_to_column_Click() { rowsToColumns(context_); }
void Form1::cmd_std_dev_Click() { meanAndStandardDeviation(context_); }
void Form1::cmd_genRand_Click() { generateRandomNumbers(context_); }
void Form1::cmd_change_delimiter_Click()
{
    changeDelimiter(context_);
    if (graphWindow_)
        graphWindow_->boxChanged(); // the lines split elsewhere now
}

void Form1::cmd_graph_Click() { graphWindow()->showAndRaise(); }

GraphWindow* Form1::graphWindow()
{
    // Made on first use, so that starting the program costs nothing for it.
    if (!graphWindow_) {
        graphWindow_ = new GraphWindow(
            [this] {
                return BoxSnapshot{readBox(), state_->delimiter, dataFile_};
            },
            toQString(context_.labDirectory), this);
        graphWindow_->onResultsForBox([this](const std::string& block) { appendBlock(block); });
        graphWindow_->setSessionName(sessionFile_.isEmpty() ? QString()
                                                            : QFileInfo(sessionFile_).fileName());
        if (pendingName_)
            graphWindow_->reportPanel()->setName(QString::fromStdString(*pendingName_));
        if (pendingGraph_) { // a session opened before the graph was
            const GraphSession kept = *pendingGraph_;
            pendingGraph_.reset();
            graphWindow_->restoreSession(kept);
        }
    }
    return graphWindow_;
}

void Form1::appendBlock(const std::string& block)
{
    QTextCursor cursor(text1_->document());
    cursor.beginEditBlock();
    if (startUpUntouched_) {
        cursor.select(QTextCursor::Document);
    } else {
        cursor.movePosition(QTextCursor::End);
        if (const QString box = text1_->toPlainText(); !box.isEmpty())
            cursor.insertText(box.endsWith(QLatin1Char('\n')) ? QStringLiteral("\n")
                                                              : QStringLiteral("\n\n"));
    }
    cursor.insertText(toWidgetText(block));
    cursor.endEditBlock();
    text1_->verticalScrollBar()->setValue(text1_->verticalScrollBar()->maximum());
}
void Form1::cmd_output_as_delimited_file_Click()
{
    if (!saveToOutputFile())
        return;
    // A note that closes by itself, where the student clicked.
    auto* button = findChild<QPushButton*>(QStringLiteral("cmd_output_as_delimited_file"));
    QToolTip::showText(button->mapToGlobal(QPoint(0, button->height())),
                       QStringLiteral("saved to ") + toQString(outputFile()), button, QRect(),
                       4000);
}
void Form1::cmd_experiment_specific_calculations_Click() { experimentCalculations(context_); }
void Form1::cmd_calculate_column_Click() { calculateColumn(context_); }

void Form1::cmd_record_Click()
{
    if (QWidget* window = recordWindow())
        QMetaObject::invokeMethod(window, "showAndRaise");
}

QWidget* Form1::recordWindow()
{
    if (recordWindow_)
        return recordWindow_;
    QString reason;
    const Devices* found = devices(&reason);
    if (!found) {
        showMessage("recording cannot start: " + reason.toStdString());
        return nullptr;
    }
    // The window comes from the devices' module: its signals are joined by
    // name.
    recordWindow_ = found->recordWindow([this] { return state_->delimiter; }, this);
    connect(recordWindow_, SIGNAL(recordingStarted()), this, SLOT(recordingStarted()));
    connect(recordWindow_, SIGNAL(headerReady(QString)), this, SLOT(appendRecorded(QString)));
    connect(recordWindow_, SIGNAL(rowsArrived(QStringList)), this,
            SLOT(appendRecordedRows(QStringList)));
    connect(recordWindow_, SIGNAL(recordingEnded()), this, SLOT(recordingEnded()));
    if (recordChoices_)
        found->setRecordChoices(recordWindow_, *recordChoices_);
    return recordWindow_;
}

RecordChoices Form1::recordChoices() const
{
    QString reason;
    if (recordWindow_)
        if (const Devices* found = devices(&reason))
            return found->recordChoices(recordWindow_);
    return recordChoices_.value_or(RecordChoices{});
}

// The line above a recording's header: the heading typed in the record
// window, else "run N", N counting the box's runs with this one.
QString Form1::recordingHeading() const
{
    const std::string typed = recordChoices().heading;
    if (!typed.empty())
        return QString::fromStdString(typed);
    const std::size_t runs = readGraphBlocks(readBox(), state_->delimiter).size();
    return QStringLiteral("run %1").arg(runs + 1);
}

// A board may send a few rows at each of hundreds of reads a second. The box
// takes them at once when it has taken none for a while, else at most every
// rowsWaitMilliseconds: each addition lays out the lines the box then shows,
// and Qt keeps a line's layout (about 350 bytes) as long as the line exists.
void Form1::appendRecordedRows(const QStringList& rows)
{
    waitingRows_ += rows;
    if (!rowsWait_->isActive())
        appendWaitingRows();
}

void Form1::appendWaitingRows()
{
    if (waitingRows_.isEmpty())
        return;
    const QString text = QLatin1Char('\n') + waitingRows_.join(QLatin1Char('\n'));
    waitingRows_.clear();
    appendRecorded(text);
    rowsWait_->start();
}

// The box takes nothing typed while a recording goes in, and keeps it in the
// recovery file at least once a second.
void Form1::recordingStarted()
{
    recordingInBox_ = false;
    text1_->setReadOnly(true);
    recovery_->setWait(1000);
}

void Form1::recordingEnded()
{
    appendWaitingRows();
    rowsWait_->stop();
    text1_->setReadOnly(false);
    recovery_->setWait(RecoveryKeeper::waitMilliseconds);
    recovery_->keepNow();
    if (graphWindow_)
        graphWindow_->replot();
}

// The recording at the end of the box, after an empty line when the box holds
// text (the start-up text it replaces): all of it one undo step.
void Form1::appendRecorded(const QString& text)
{
    QTextCursor cursor(text1_->document());
    cursor.movePosition(QTextCursor::End);
    const bool onlyAdded = recordingInBox_;
    if (recordingInBox_) {
        cursor.joinPreviousEditBlock();
    } else {
        if (graphWindow_) // the graph shows the new recording as it comes in
            graphWindow_->followNewBlock();
        const QString heading = recordingHeading();
        cursor.beginEditBlock();
        recordingInBox_ = true;
        if (startUpUntouched_) {
            cursor.select(QTextCursor::Document);
        } else if (const QString box = text1_->toPlainText(); !box.isEmpty()) {
            cursor.insertText(box.endsWith(QLatin1Char('\n')) ? QStringLiteral("\n")
                                                              : QStringLiteral("\n\n"));
        }
        // Each recording a run of its own, named in the line above its header.
        cursor.insertText(heading + QLatin1Char('\n'));
    }
    appendingRecording_ = onlyAdded;
    cursor.insertText(text);
    cursor.endEditBlock();
    appendingRecording_ = false;
    if (onlyAdded) {
        const std::string added = toCoreText(text);
        recovery_->boxAppended(added);
        if (graphWindow_)
            graphWindow_->boxAppended(added);
    }
    text1_->verticalScrollBar()->setValue(text1_->verticalScrollBar()->maximum());
}
